#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velq {

// How a caption key's text reaches its control.
enum class CaptionUse : uint8_t {
    kCaption,    // the control's caption is the text
    kMenuEntry,  // a function menu entry: a blank, the bullet (Str200), a blank, then the text
    kListItem,   // item `item` of a list control
};

// One control (or list item) that takes its caption from a caption key.
struct CaptionTarget {
    std::string_view key;
    std::string_view control;
    CaptionUse use;
    uint8_t item = 0;  // position in the list, for kListItem only
};

// Every caption the main window takes from the current caption table, with the four copies of
// the frame buttons and page tabs written out. Keys that are in the tables but no control shows
// (Str003, Str436, Str437, Str446, Str447, Str522, Str610 .. Str614) are not listed; nor are the
// kept texts and the dialog captions below.
inline constexpr auto kCaptionTargets = std::to_array<CaptionTarget>({
    // Frame buttons and page tabs, four copies each (one on each of the pages 1 to 4).
    {"Str000", "Btn_Confirm_1", CaptionUse::kCaption},
    {"Str000", "Btn_Confirm_2", CaptionUse::kCaption},
    {"Str000", "Btn_Confirm_3", CaptionUse::kCaption},
    {"Str000", "Btn_Confirm_4", CaptionUse::kCaption},
    {"Str001", "Btn_Apply_1", CaptionUse::kCaption},
    {"Str001", "Btn_Apply_2", CaptionUse::kCaption},
    {"Str001", "Btn_Apply_3", CaptionUse::kCaption},
    {"Str001", "Btn_Apply_4", CaptionUse::kCaption},
    {"Str017", "Btn_Read_1", CaptionUse::kCaption},
    {"Str017", "Btn_Read_2", CaptionUse::kCaption},
    {"Str017", "Btn_Read_3", CaptionUse::kCaption},
    {"Str017", "Btn_Read_4", CaptionUse::kCaption},
    {"Str002", "Btn_Confirm1_1", CaptionUse::kCaption},
    {"Str002", "Btn_Confirm1_2", CaptionUse::kCaption},
    {"Str002", "Btn_Confirm1_3", CaptionUse::kCaption},
    {"Str002", "Btn_Confirm1_4", CaptionUse::kCaption},
    {"Str015", "Btn_Confirm2_1", CaptionUse::kCaption},
    {"Str015", "Btn_Confirm2_2", CaptionUse::kCaption},
    {"Str015", "Btn_Confirm2_3", CaptionUse::kCaption},
    {"Str015", "Btn_Confirm2_4", CaptionUse::kCaption},
    {"Str016", "Btn_Confirm3_1", CaptionUse::kCaption},
    {"Str016", "Btn_Confirm3_2", CaptionUse::kCaption},
    {"Str016", "Btn_Confirm3_3", CaptionUse::kCaption},
    {"Str016", "Btn_Confirm3_4", CaptionUse::kCaption},
    {"Str004", "Btn_Main_1", CaptionUse::kCaption},
    {"Str004", "Btn_Main_2", CaptionUse::kCaption},
    {"Str004", "Btn_Main_3", CaptionUse::kCaption},
    {"Str004", "Btn_Main_4", CaptionUse::kCaption},
    {"Str005", "Btn_Second_1", CaptionUse::kCaption},
    {"Str005", "Btn_Second_2", CaptionUse::kCaption},
    {"Str005", "Btn_Second_3", CaptionUse::kCaption},
    {"Str005", "Btn_Second_4", CaptionUse::kCaption},
    {"Str007", "Btn_Adv_1", CaptionUse::kCaption},
    {"Str007", "Btn_Adv_2", CaptionUse::kCaption},
    {"Str007", "Btn_Adv_3", CaptionUse::kCaption},
    {"Str007", "Btn_Adv_4", CaptionUse::kCaption},
    {"Str008", "Btn_Breath_1", CaptionUse::kCaption},
    {"Str008", "Btn_Breath_2", CaptionUse::kCaption},
    {"Str008", "Btn_Breath_3", CaptionUse::kCaption},
    {"Str008", "Btn_Breath_4", CaptionUse::kCaption},
    {"Str009", "Btn_Save_1", CaptionUse::kCaption},
    {"Str009", "Btn_Save_2", CaptionUse::kCaption},
    {"Str009", "Btn_Save_3", CaptionUse::kCaption},
    {"Str009", "Btn_Save_4", CaptionUse::kCaption},
    {"Str010", "Btn_Load_1", CaptionUse::kCaption},
    {"Str010", "Btn_Load_2", CaptionUse::kCaption},
    {"Str010", "Btn_Load_3", CaptionUse::kCaption},
    {"Str010", "Btn_Load_4", CaptionUse::kCaption},
    {"Str011", "Btn_Lang1_1", CaptionUse::kCaption},
    {"Str011", "Btn_Lang1_2", CaptionUse::kCaption},
    {"Str011", "Btn_Lang1_3", CaptionUse::kCaption},
    {"Str011", "Btn_Lang1_4", CaptionUse::kCaption},
    {"Str012", "Btn_Lang2_1", CaptionUse::kCaption},
    {"Str012", "Btn_Lang2_2", CaptionUse::kCaption},
    {"Str012", "Btn_Lang2_3", CaptionUse::kCaption},
    {"Str012", "Btn_Lang2_4", CaptionUse::kCaption},
    {"Str013", "Btn_Lang3_1", CaptionUse::kCaption},
    {"Str013", "Btn_Lang3_2", CaptionUse::kCaption},
    {"Str013", "Btn_Lang3_3", CaptionUse::kCaption},
    {"Str013", "Btn_Lang3_4", CaptionUse::kCaption},
    {"Str014", "Btn_Macro_1", CaptionUse::kCaption},
    {"Str014", "Btn_Macro_2", CaptionUse::kCaption},
    {"Str014", "Btn_Macro_3", CaptionUse::kCaption},
    {"Str014", "Btn_Macro_4", CaptionUse::kCaption},
    // Function menu: the group entries, then the function entries.
    {"Str201", "Key_Standard", CaptionUse::kMenuEntry},
    {"Str202", "Key_Special", CaptionUse::kMenuEntry},
    {"Str203", "Key_Media", CaptionUse::kMenuEntry},
    {"Str204", "Key_WWW", CaptionUse::kMenuEntry},
    {"Str205", "Key_Assembly", CaptionUse::kMenuEntry},
    {"Str206", "Key_Macro", CaptionUse::kMenuEntry},
    {"Str207", "Key_MyPC", CaptionUse::kMenuEntry},
    {"Str208", "Key_FireMacro", CaptionUse::kMenuEntry},
    {"Str208", "Key_TLFireMacro", CaptionUse::kMenuEntry},
    {"Str210", "Key_Left", CaptionUse::kMenuEntry},
    {"Str211", "Key_Right", CaptionUse::kMenuEntry},
    {"Str212", "Key_Middle", CaptionUse::kMenuEntry},
    {"Str213", "Key_B4", CaptionUse::kMenuEntry},
    {"Str214", "Key_B5", CaptionUse::kMenuEntry},
    {"Str220", "Key_Fire", CaptionUse::kMenuEntry},
    {"Str221", "Key_LEDSwitch", CaptionUse::kMenuEntry},
    {"Str222", "Key_AIMKey", CaptionUse::kMenuEntry},
    {"Str223", "Key_FnFire", CaptionUse::kMenuEntry},
    {"Str224", "Key_KeyOff", CaptionUse::kMenuEntry},
    {"Str225", "Key_KeyMode", CaptionUse::kMenuEntry},
    {"Str226", "Key_LEDMode", CaptionUse::kMenuEntry},
    {"Str230", "Key_CPIKey", CaptionUse::kMenuEntry},
    {"Str231", "Key_CPI", CaptionUse::kMenuEntry},
    {"Str232", "Key_CPII", CaptionUse::kMenuEntry},
    {"Str233", "Key_CPID", CaptionUse::kMenuEntry},
    {"Str240", "Key_Computer", CaptionUse::kMenuEntry},
    {"Str241", "Key_Calculator", CaptionUse::kMenuEntry},
    {"Str242", "Key_EMail", CaptionUse::kMenuEntry},
    {"Str243", "Key_Desktop", CaptionUse::kMenuEntry},
    {"Str250", "Key_PlayPause", CaptionUse::kMenuEntry},
    {"Str251", "Key_Stop", CaptionUse::kMenuEntry},
    {"Str252", "Key_PreviousTrack", CaptionUse::kMenuEntry},
    {"Str253", "Key_NextTrack", CaptionUse::kMenuEntry},
    {"Str254", "Key_VolumePlus", CaptionUse::kMenuEntry},
    {"Str255", "Key_VolumeMinus", CaptionUse::kMenuEntry},
    {"Str256", "Key_Mute", CaptionUse::kMenuEntry},
    {"Str260", "Key_WWWHome", CaptionUse::kMenuEntry},
    {"Str261", "Key_WWWSearch", CaptionUse::kMenuEntry},
    {"Str262", "Key_WWWBack", CaptionUse::kMenuEntry},
    {"Str263", "Key_WWWForward", CaptionUse::kMenuEntry},
    {"Str264", "Key_WWWStop", CaptionUse::kMenuEntry},
    {"Str265", "Key_WWWRefresh", CaptionUse::kMenuEntry},
    {"Str266", "Key_WWWFavorites", CaptionUse::kMenuEntry},
    // Macro page buttons, options and insert box labels.
    {"Str400", "Btn_Start", CaptionUse::kCaption},
    {"Str400", "Btn_InsertStart", CaptionUse::kCaption},
    {"Str402", "Btn_NewName", CaptionUse::kCaption},
    {"Str404", "Btn_ExportOne", CaptionUse::kCaption},
    {"Str405", "Btn_Export", CaptionUse::kCaption},
    {"Str406", "Btn_ImportOne", CaptionUse::kCaption},
    {"Str407", "Btn_Import", CaptionUse::kCaption},
    {"Str408", "Btn_Del", CaptionUse::kCaption},
    {"Str409", "Btn_Insert", CaptionUse::kCaption},
    {"Str432", "Btn_New", CaptionUse::kCaption},
    {"Str432", "Btn_NewMacro", CaptionUse::kCaption},
    {"Str433", "Btn_DelPCMacro", CaptionUse::kCaption},
    {"Str435", "Btn_Edit", CaptionUse::kCaption},
    {"Str414", "IB_InsertRecDelay", CaptionUse::kCaption},
    {"Str415", "IB_InsertDelayTime", CaptionUse::kCaption},
    {"Str416", "IB_InsertNoDelay", CaptionUse::kCaption},
    {"Str417", "lbl_Delay", CaptionUse::kCaption},
    {"Str418", "lbl_s_A", CaptionUse::kCaption},
    {"Str444", "lbl_XAxisValue", CaptionUse::kCaption},
    {"Str445", "lbl_YAxisValue", CaptionUse::kCaption},
    {"Str448", "lbl_Repeat", CaptionUse::kCaption},
    {"Str420", "Btn_OK", CaptionUse::kCaption},
    {"Str422", "Btn_Cancel", CaptionUse::kCaption},
    // The eight items of the insert list, in list order.
    {"Str410", "CB_Insert", CaptionUse::kListItem, 0},
    {"Str411", "CB_Insert", CaptionUse::kListItem, 1},
    {"Str412", "CB_Insert", CaptionUse::kListItem, 2},
    {"Str413", "CB_Insert", CaptionUse::kListItem, 3},
    {"Str440", "CB_Insert", CaptionUse::kListItem, 4},
    {"Str441", "CB_Insert", CaptionUse::kListItem, 5},
    {"Str442", "CB_Insert", CaptionUse::kListItem, 6},
    {"Str443", "CB_Insert", CaptionUse::kListItem, 7},
    // Fire macro editor buttons and the combo-key options.
    {"Str620", "Btn_FireConfirm", CaptionUse::kCaption},
    {"Str621", "Btn_FireExit", CaptionUse::kCaption},
    {"Str700", "IB_ComboKey1", CaptionUse::kCaption},
    {"Str701", "IB_ComboKey2", CaptionUse::kCaption},
    {"Str702", "IB_ComboKey3", CaptionUse::kCaption},
    // Page labels and options of the advanced, lighting, macro and fire pages.
    {"Str800", "lbl_FireKey", CaptionUse::kCaption},
    {"Str801", "lbl_Fire_Count", CaptionUse::kCaption},
    {"Str802", "lbl_Fire_Time", CaptionUse::kCaption},
    {"Str803", "lbl_Fire_Continue", CaptionUse::kCaption},
    {"Str804", "lbl_Mouse_Speed", CaptionUse::kCaption},
    {"Str805", "lbl_Is_Control", CaptionUse::kCaption},
    {"Str806", "lbl_Double_Click", CaptionUse::kCaption},
    {"Str807", "lbl_Roller_Speed", CaptionUse::kCaption},
    {"Str808", "lbl_Roll_All_Screen", CaptionUse::kCaption},
    {"Str809", "lbl_DPI_Setting", CaptionUse::kCaption},
    {"Str810", "lbl_DPI_Value", CaptionUse::kCaption},
    {"Str811", "lbl_DPI_Note", CaptionUse::kCaption},
    {"Str812", "lbl_LED_Status", CaptionUse::kCaption},
    {"Str813", "lbl_LEDOn", CaptionUse::kCaption},
    {"Str813", "lbl_LCPIOn", CaptionUse::kCaption},
    {"Str813", "lbl_B4CPIOn", CaptionUse::kCaption},
    {"Str814", "lbl_LEDOff", CaptionUse::kCaption},
    {"Str814", "lbl_LCPIOff", CaptionUse::kCaption},
    {"Str814", "lbl_B4CPIOff", CaptionUse::kCaption},
    {"Str815", "lbl_LLED_Status", CaptionUse::kCaption},
    {"Str816", "lbl_MCPI_Status", CaptionUse::kCaption},
    {"Str817", "lbl_Led_Light", CaptionUse::kCaption},
    {"Str818", "lbl_SaveKeyMode", CaptionUse::kCaption},
    {"Str819", "lbl_NoSaveKeyMode", CaptionUse::kCaption},
    // "All" and "half" caption the brightness pair too, whose own labels have no caption of
    // their own: the key-mode labels that carry them lie out of sight in the shipped layout.
    {"Str818", "lbl_MCULED3Control", CaptionUse::kCaption},
    {"Str819", "lbl_MCULED6Control", CaptionUse::kCaption},
    {"Str820", "lbl_Led_Mode", CaptionUse::kCaption},
    {"Str821", "lbl_MCULEDMode1", CaptionUse::kCaption},
    {"Str822", "lbl_MCULEDMode2", CaptionUse::kCaption},
    {"Str823", "lbl_MCULEDMode3", CaptionUse::kCaption},
    {"Str824", "lbl_MCULEDMode4", CaptionUse::kCaption},
    {"Str825", "lbl_MCULEDMode5", CaptionUse::kCaption},
    {"Str826", "lbl_MCULEDMode6", CaptionUse::kCaption},
    {"Str827", "lbl_MCULEDMode7", CaptionUse::kCaption},
    {"Str828", "lbl_RBLEDMode1", CaptionUse::kCaption},
    {"Str829", "lbl_RBLEDMode2", CaptionUse::kCaption},
    {"Str830", "lbl_RBLEDMode3", CaptionUse::kCaption},
    {"Str831", "lbl_RBLEDMode4", CaptionUse::kCaption},
    {"Str832", "lbl_RBLEDMode5", CaptionUse::kCaption},
    {"Str833", "lbl_RBLEDMode6", CaptionUse::kCaption},
    {"Str834", "lbl_RBLEDMode7", CaptionUse::kCaption},
    {"Str835", "lbl_Marco_List", CaptionUse::kCaption},
    {"Str836", "lbl_Marco_Content", CaptionUse::kCaption},
    {"Str862", "lbl_Marco_Options", CaptionUse::kCaption},
    {"Str837", "IB_RecDelay", CaptionUse::kCaption},
    {"Str838", "IB_DelayTime", CaptionUse::kCaption},
    {"Str839", "IB_NoDelay", CaptionUse::kCaption},
    {"Str840", "lbl_MS", CaptionUse::kCaption},
    {"Str841", "IB_ReleaseStop", CaptionUse::kCaption},
    {"Str842", "IB_ReleaseContiue", CaptionUse::kCaption},
    {"Str843", "lbl_Fire_Marco_Stop_Release", CaptionUse::kCaption},
    {"Str844", "lbl_Fire_Marco_Count", CaptionUse::kCaption},
    {"Str863", "lbl_Fire_Marco_X", CaptionUse::kCaption},
    {"Str208", "lbl_Fire_Guns", CaptionUse::kCaption},
    {"Str845", "lbl_Fire_Marco_Y", CaptionUse::kCaption},
    {"Str846", "lbl_Fire_Marco_Y_Offset", CaptionUse::kCaption},
    {"Str847", "lbl_Fire_Marco_Delay", CaptionUse::kCaption},
    {"Str848", "lbl_Fire_Marco_Color", CaptionUse::kCaption},
    {"Str849", "lbl_DPI1", CaptionUse::kCaption},
    {"Str850", "lbl_DPI2", CaptionUse::kCaption},
    {"Str851", "lbl_DPI3", CaptionUse::kCaption},
    {"Str852", "lbl_DPI4", CaptionUse::kCaption},
    {"Str853", "lbl_DPI5", CaptionUse::kCaption},
    {"Str854", "lbl_DPI6", CaptionUse::kCaption},
    {"Str855", "lbl_DPI7", CaptionUse::kCaption},
    {"Str856", "lbl_LED_Effect_Setting", CaptionUse::kCaption},
    {"Str857", "lbl_LED_Effect_Slow", CaptionUse::kCaption},
    {"Str858", "lbl_LED_Effect_Fast", CaptionUse::kCaption},
    {"Str859", "IB_CircleTimes", CaptionUse::kCaption},
    {"Str860", "Btn_Delete", CaptionUse::kCaption},
    {"Str861", "IB_CircleAll", CaptionUse::kCaption},
});

// The key whose text is put before every function menu entry.
inline constexpr std::string_view kMenuBulletKey = "Str200";

// Texts the main window keeps when it applies a table, for later messages and comparisons:
// messages, the left-click, fire key and aim key names, the DPI value names, the record and stop
// texts, the insert box's OK captions, Str430, and the gun names. Str105 is in this range but in
// no table, so it is kept as an empty text.
inline constexpr auto kKeptCaptionKeys = std::to_array<std::string_view>({
    "Str020", "Str100", "Str101", "Str102", "Str103", "Str104", "Str105", "Str106",
    "Str107", "Str108", "Str109", "Str210", "Str220", "Str222", "Str300", "Str301",
    "Str302", "Str303", "Str304", "Str305", "Str306", "Str307", "Str308", "Str309",
    "Str310", "Str311", "Str400", "Str401", "Str420", "Str421", "Str430", "Str600",
    "Str601", "Str602", "Str603", "Str604", "Str605", "Str606",
});

// The captions the five editor dialogs read from the same table themselves.
struct DialogCaptionKeys {
    std::string_view dialog;
    std::string_view title_label;
    std::string_view title_key;
    std::string_view confirm_key;  // caption of IB_Confirm
    std::string_view clear_key;    // caption of IB_Cancel (it clears the input)
};

inline constexpr auto kDialogCaptionKeys = std::to_array<DialogCaptionKeys>({
    {"TForm2", "lbl_Assembly", "Str500", "Str501", "Str502"},
    {"TForm3", "lbl_MacroName", "Str510", "Str511", "Str512"},
    {"TForm5", "lbl_EditKey", "Str520", "Str511", "Str512"},
    {"TForm6", "lbl_EditTime", "Str521", "Str511", "Str512"},
    {"TForm7", "lbl_EditTime", "Str523", "Str511", "Str512"},
});

}  // namespace velq
