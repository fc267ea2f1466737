#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velq {

// When a predefined code is named: before the aim-key prefix test or after it. The two groups
// never overlap with the "0A" prefix, but the naming keeps the order the menu code always used.
enum class NameTest : uint8_t { kBeforeAimKey, kAfterAimKey };

// One entry of the assignment menu: the label's numeric tag selects the code.
struct PredefinedFunction {
    int tag;
    std::string_view entry;     // the menu label ("Key_Left")
    std::string_view code;      // six-digit code text; empty for the aim key (built at run time)
    std::string_view name_key;  // caption key of the code's display name
    NameTest test;
};

inline constexpr int kAimKeyTag = 1002;

inline constexpr std::array<PredefinedFunction, 33> kPredefinedFunctions{{
    {900, "Key_Left", "010100", "Str210", NameTest::kBeforeAimKey},
    {901, "Key_Right", "010200", "Str211", NameTest::kBeforeAimKey},
    {902, "Key_Middle", "010400", "Str212", NameTest::kBeforeAimKey},
    {903, "Key_B4", "010800", "Str213", NameTest::kBeforeAimKey},
    {904, "Key_B5", "011000", "Str214", NameTest::kBeforeAimKey},
    {1000, "Key_Fire", "0600F0", "Str220", NameTest::kBeforeAimKey},
    {1001, "Key_LEDSwitch", "090000", "Str221", NameTest::kBeforeAimKey},
    {kAimKeyTag, "Key_AIMKey", "", "Str222", NameTest::kBeforeAimKey},
    {1003, "Key_FnFire", "0D0000", "Str223", NameTest::kAfterAimKey},
    {1004, "Key_KeyOff", "000000", "Str224", NameTest::kAfterAimKey},
    {1005, "Key_KeyMode", "0F0000", "Str225", NameTest::kAfterAimKey},
    {1006, "Key_LEDMode", "100000", "Str226", NameTest::kAfterAimKey},
    {1100, "Key_Computer", "030194", "Str240", NameTest::kAfterAimKey},
    {1101, "Key_Calculator", "030192", "Str241", NameTest::kAfterAimKey},
    {1102, "Key_EMail", "03018A", "Str242", NameTest::kAfterAimKey},
    {1103, "Key_Desktop", "020807", "Str243", NameTest::kAfterAimKey},
    {1300, "Key_PlayPause", "0300CD", "Str250", NameTest::kAfterAimKey},
    {1301, "Key_Stop", "0300B7", "Str251", NameTest::kAfterAimKey},
    {1302, "Key_PreviousTrack", "0300B6", "Str252", NameTest::kAfterAimKey},
    {1303, "Key_NextTrack", "0300B5", "Str253", NameTest::kAfterAimKey},
    {1304, "Key_VolumePlus", "0300E9", "Str254", NameTest::kAfterAimKey},
    {1305, "Key_VolumeMinus", "0300EA", "Str255", NameTest::kAfterAimKey},
    {1306, "Key_Mute", "0300E2", "Str256", NameTest::kAfterAimKey},
    {1400, "Key_WWWHome", "030223", "Str260", NameTest::kAfterAimKey},
    {1401, "Key_WWWSearch", "030221", "Str261", NameTest::kAfterAimKey},
    {1402, "Key_WWWBack", "030224", "Str262", NameTest::kAfterAimKey},
    {1403, "Key_WWWForward", "030225", "Str263", NameTest::kAfterAimKey},
    {1404, "Key_WWWStop", "030226", "Str264", NameTest::kAfterAimKey},
    {1405, "Key_WWWRefresh", "030227", "Str265", NameTest::kAfterAimKey},
    {1406, "Key_WWWFavorites", "03022A", "Str266", NameTest::kAfterAimKey},
    {2000, "Key_CPI", "050000", "Str231", NameTest::kAfterAimKey},
    {2001, "Key_CPII", "070000", "Str232", NameTest::kAfterAimKey},
    {2002, "Key_CPID", "080000", "Str233", NameTest::kAfterAimKey},
}};

// The caption keys of the fixed names of predefined codes.
inline constexpr std::string_view kLeftClickNameKey = "Str210";
inline constexpr std::string_view kFireKeyNameKey = "Str220";
inline constexpr std::string_view kAimKeyNameKey = "Str222";

// The seven predefined guns: gun key code text -> name key.
struct GunName {
    std::string_view code;
    std::string_view name_key;
};

inline constexpr std::array<GunName, 10> kGunNames{{
    {"0C0101", "Str600"},
    {"0C0202", "Str601"},
    {"0C0303", "Str602"},
    {"0C0404", "Str603"},
    {"0C0505", "Str604"},
    {"0C0606", "Str605"},
    {"0C0607", "Str605"},
    {"0C0808", "Str606"},
    {"0C0809", "Str606"},
    {"0C080A", "Str606"},
}};

// The code text of a menu entry; for the aim key "0A" + `aim_index` + "00". Any other tag gives
// the empty text.
std::string MenuCode(int tag, uint8_t aim_index);

// The name key of a predefined code that is named in the given test, or none.
std::optional<std::string_view> PredefinedNameKey(std::string_view code_text, NameTest test);

// The name key of a predefined gun code, or none.
std::optional<std::string_view> GunNameKey(std::string_view code_text);

}  // namespace velq
