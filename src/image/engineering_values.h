#pragma once

#include <cstdint>

namespace velq {

// The lighting type: which of the four radio buttons `rb_MCULED`, `rb_RBLED`, `rb_SyncLED` and
// `rb_BreLED` is selected.
enum class LedType : uint8_t {
    kMCULED,   // flowing LED
    kRBLED,    // two-colour LED
    kSyncLED,  // seven-colour LED, synchronous
    kBreLED,   // seven-colour LED, breathing
};

// The list position of a combo box that shows no entry.
inline constexpr int kNoEntry = -1;

// The values of the engineering page's controls that the parameter image is written from and
// shown in, one field per control, named after it. The window fills this record from its
// controls before Apply (`UIToDataBuf`) and sets its controls from it after the image changed
// (`DataBufToUI`). Lists hold their position (kNoEntry when none is selected), numeric fields
// their number, check boxes whether they are ticked. A radio pair is one flag that is true
// when the button the field is named after is selected and false when its partner is.
struct EngineeringValues {
    // Option bits of byte 0x00.
    bool rb_B4CPIOn = true;   // false: rb_B4CPIOff
    bool rb_FireFnOn = true;  // false: rb_FireFnOff
    bool rb_LCPIOn = true;    // false: rb_LCPIOff
    bool rb_Save = true;      // false: rb_NoSave
    int cb_SensorOri = 0;     // 0..7
    LedType gbLEDType = LedType::kMCULED;

    // Option bits of byte 0x01.
    bool cb_MidPress = false;
    bool cb_CPIPress = false;
    bool cb_GunPress = false;
    bool cb_Smooth = false;

    // DPI levels: count, value index and colour of levels 1..7, current level.
    int cb_CPIStep = 2;  // level count - 2
    int cb_CPI1 = 0;
    int cb_CPI2 = 0;
    int cb_CPI3 = 0;
    int cb_CPI4 = 0;
    int cb_CPI5 = 0;
    int cb_CPI6 = 0;
    int cb_CPI7 = 0;
    int edt_CPI1R = 0, edt_CPI1G = 0, edt_CPI1B = 0;
    int edt_CPI2R = 0, edt_CPI2G = 0, edt_CPI2B = 0;
    int edt_CPI3R = 0, edt_CPI3G = 0, edt_CPI3B = 0;
    int edt_CPI4R = 0, edt_CPI4G = 0, edt_CPI4B = 0;
    int edt_CPI5R = 0, edt_CPI5G = 0, edt_CPI5B = 0;
    int edt_CPI6R = 0, edt_CPI6G = 0, edt_CPI6B = 0;
    int edt_CPI7R = 0, edt_CPI7G = 0, edt_CPI7B = 0;
    int cb_CurrentCPI = 0;  // 0 = level 1

    // Lighting.
    bool rb_MCULED3Control = true;  // false: rb_MCULED6Control (half brightness)
    int edt_MCULEDNum = 13;         // lamps, 4..13
    bool cb_Mode1 = true;
    bool cb_Mode2 = true;
    bool cb_Mode3 = true;
    bool cb_Mode4 = true;
    bool cb_Mode5 = true;
    bool cb_Mode6 = true;
    bool cb_Mode7 = true;
    int cb_MCULEDCurrentMode = 0;  // mode - 1
    int cb_RBLEDCurrentMode = 0;   // mode - 1
    int edt_MCULEDCrtStep = 0;     // 0..7
    bool rb_LEDOn = true;          // false: rb_LEDOff

    // Key mode and the device codes.
    int cb_KeyMode = 0;  // 0 = profile 1 (office), 1 = profile 2 (gaming)
    int edt_VendorID = 255;
    int edt_ProductID = 255;

    // The fire key.
    bool cb_IsFireContinue = false;
    int cb_FireCount = 2;  // clicks - 1
    int edt_FireTime = 100;

    // Fire macro slots: Y adjustment (-128..127) and colour of slots 1..10.
    int edt_YOffset1 = 0, edt_YOffset2 = 0, edt_YOffset3 = 0, edt_YOffset4 = 0;
    int edt_YOffset5 = 0, edt_YOffset6 = 0, edt_YOffset7 = 0, edt_YOffset8 = 0;
    int edt_YOffset9 = 0, edt_YOffset10 = 0;
    int edt_FireMacroColor1R = 0, edt_FireMacroColor1G = 0, edt_FireMacroColor1B = 0;
    int edt_FireMacroColor2R = 0, edt_FireMacroColor2G = 0, edt_FireMacroColor2B = 0;
    int edt_FireMacroColor3R = 0, edt_FireMacroColor3G = 0, edt_FireMacroColor3B = 0;
    int edt_FireMacroColor4R = 0, edt_FireMacroColor4G = 0, edt_FireMacroColor4B = 0;
    int edt_FireMacroColor5R = 0, edt_FireMacroColor5G = 0, edt_FireMacroColor5B = 0;
    int edt_FireMacroColor6R = 0, edt_FireMacroColor6G = 0, edt_FireMacroColor6B = 0;
    int edt_FireMacroColor7R = 0, edt_FireMacroColor7G = 0, edt_FireMacroColor7B = 0;
    int edt_FireMacroColor8R = 0, edt_FireMacroColor8G = 0, edt_FireMacroColor8B = 0;
    int edt_FireMacroColor9R = 0, edt_FireMacroColor9G = 0, edt_FireMacroColor9B = 0;
    int edt_FireMacroColor10R = 0, edt_FireMacroColor10G = 0, edt_FireMacroColor10B = 0;

    bool operator==(const EngineeringValues&) const = default;
};

}  // namespace velq
