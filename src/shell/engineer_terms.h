#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/user_dirs.h"

namespace velq {

// The language of the engineering page, chosen once at start-up from the user's locale and
// independent of the caption tables. The values are the columns of the terms table.
enum class EngineerLanguage : uint8_t {
    kEnglish = 0,
    kSimplifiedChinese = 2,
};

// One row of the engineering terms: the page's captions, group titles and list items are looked
// up by code. The column between English and Chinese is empty in every row and not kept.
struct EngineerTerm {
    uint8_t code;
    std::string_view english;
    std::string_view chinese;
};

// The 143 engineering terms, codes 0x00 .. 0x8E, in their stored order (by code, except that
// 0x23 and 0x24 follow 0x38). The orientation terms 0x41 .. 0x44 carry a degree sign. The last
// four came after the first 139: the fire area's default set buttons and the button test's
// hint.
inline constexpr auto kEngineerTerms = std::to_array<EngineerTerm>({
    {0x00, "Office Mode", "办公模式"},
    {0x01, "Gaming Mode", "游戏模式"},
    {0x02, "Advanced", "高级设置"},
    {0x03, "Breathing Light", "呼吸灯"},
    {0x04, "Macro", "宏"},
    {0x05, "Engineer Mode", "工程模式"},
    {0x06, "Load", "载入"},
    {0x07, "Save", "保存"},
    {0x08, "Test Keys Position", "测试按键位置"},
    {0x09, "Default", "默认值"},
    {0x0A, "Apply", "应用"},
    {0x0B, "Import Base Macro", "导入基础宏"},
    {0x0C, "Import Fire Macro", "导入压枪宏"},
    {0x0D, "Operation", "操作"},
    {0x0E, "Engineer", "工程"},
    {0x0F, "LED Type", "灯光类型"},
    {0x10, "MCU LED", "流光灯"},
    {0x11, "RB LED", "RB双色灯"},
    {0x12, "Sync LED", "七彩同步灯"},
    {0x13, "Breath LED", "七彩呼吸灯"},
    {0x14, "LED Status", "灯光状态"},
    {0x15, "On", "开"},
    {0x16, "Off", "关"},
    {0x17, "LED Switch(M+CPI)", "灯光开关(中键+CPI)"},
    {0x18, "Fire Function", "火力功能"},
    {0x19, "Fn+Left Key", "Fn+左键"},
    {0x1A, "Left Key", "左键"},
    {0x1B, "Fire Mode", "火力模式"},
    {0x1C, "Fire Count:", "连发次数:"},
    {0x1D, "Fire Time:", "连发间隔:"},
    {0x1E, "LED Mode(L+CPI)", "灯光模式(左键+CPI)"},
    {0x1F, "MCU LED Ligth Mode", "流光灯亮度模式"},
    {0x20, "All Ligth", "全亮"},
    {0x21, "Half Ligth", "半亮"},
    {0x22, "MCU LED CPI Color Setting", "流光灯CPI颜色设置"},
    {0x25, "MCU LED Setting", "流光灯设置"},
    {0x26, "LED Number:", "灯珠数量:"},
    {0x27, "Current Mode:", "当前模式:"},
    {0x28, "Mode 1", "模式1"},
    {0x29, "Mode 2", "模式2"},
    {0x2A, "Mode 3", "模式3"},
    {0x2B, "Mode 4", "模式4"},
    {0x2C, "Mode 5", "模式5"},
    {0x2D, "Mode 6", "模式6"},
    {0x2E, "Mode 7", "模式7"},
    {0x2F, "LED Step:", "灯效步进:"},
    {0x30, "RB LED Mode", "双色灯模式"},
    {0x31, "Current Mode:", "当前模式:"},
    {0x32, "Colors Breath Fast", "多彩呼吸快"},
    {0x33, "Colors Breath Middle", "多彩呼吸中"},
    {0x34, "Colors Breath Slow", "多彩呼吸慢"},
    {0x35, "CPI Breath Fast", "CPI呼吸快"},
    {0x36, "CPI Breath Middle", "CPI呼吸中"},
    {0x37, "CPI Breath Slow", "CPI呼吸慢"},
    {0x38, "OFF", "关闭"},
    {0x23, "Vendor ID:", "厂商编码:"},
    {0x24, "Product ID:", "产品编码:"},
    {0x39, "Switch Key Mode", "按键模式切换"},
    {0x3A, "Press Middle Key", "按中键"},
    {0x3B, "Press CPI Key", "按CPI键"},
    {0x3C, "Press Gun Key", "按枪械键"},
    {0x3D, "Is Save Key Mode", "是否保存按键模式"},
    {0x3E, "Save", "保存"},
    {0x3F, "No Save", "不保存"},
    {0x40, "Sensor Ori:", "传感器方向:"},
    {0x41, "0\u00B0", "0\u00B0"},
    {0x42, "90\u00B0", "90\u00B0"},
    {0x43, "180\u00B0", "180\u00B0"},
    {0x44, "270\u00B0", "270\u00B0"},
    {0x45, "X Reverse", "X反向"},
    {0x46, "Y Reverse", "Y反向"},
    {0x47, "XY Swap XY Reverse", "XY交换 XY反向"},
    {0x48, "XY Swap XY NoReverse", "XY交换 XY不反向"},
    {0x49, "Keys Number", "按键数量"},
    {0x4A, "6-Keys", "6键"},
    {0x4B, "9-Keys", "9键"},
    {0x4C, "CPI", "CPI"},
    {0x4D, "CPI Steps:", "CPI档数:"},
    {0x4E, "Current CPI:", "当前CPI:"},
    {0x4F, "CPI 1:", "CPI 1:"},
    {0x50, "CPI 2:", "CPI 2:"},
    {0x51, "CPI 3:", "CPI 3:"},
    {0x52, "CPI 4:", "CPI 4:"},
    {0x53, "CPI 5:", "CPI 5:"},
    {0x54, "CPI 6:", "CPI 6:"},
    {0x55, "CPI 7:", "CPI 7:"},
    {0x56, "AIM Key:", "狙击键:"},
    {0x57, "Key Mode:", "按键模式:"},
    {0x58, "Key Mode1", "按键模式1"},
    {0x59, "Key Mode2", "按键模式2"},
    {0x5A, "Gun Parameter Setting", "枪械参数设置"},
    {0x5B, "Gun Start Index:", "枪械起始序号:"},
    {0x5C, "Gun Stop Index:", "枪械结束序号:"},
    {0x5D, "Add Gun", "添加枪械"},
    {0x5E, "Delect Gun", "删除枪械"},
    {0x5F, "MCU LED Mode Select", "流光灯模式选择"},
    {0x60, "Fire Macro Color Setting", "压枪宏颜色设置"},
    {0x61, "Macro1 R:", "宏1 R:"},
    {0x62, "Macro1 G:", "宏1 G:"},
    {0x63, "Macro1 B:", "宏1 B:"},
    {0x64, "Macro2 R:", "宏2 R:"},
    {0x65, "Macro2 G:", "宏2 G:"},
    {0x66, "Macro2 B:", "宏2 B:"},
    {0x67, "Macro3 R:", "宏3 R:"},
    {0x68, "Macro3 G:", "宏3 G:"},
    {0x69, "Macro3 B:", "宏3 B:"},
    {0x6A, "Macro4 R:", "宏4 R:"},
    {0x6B, "Macro4 G:", "宏4 G:"},
    {0x6C, "Macro4 B:", "宏4 B:"},
    {0x6D, "Macro5 R:", "宏5 R:"},
    {0x6E, "Macro5 G:", "宏5 G:"},
    {0x6F, "Macro5 B:", "宏5 B:"},
    {0x70, "Macro6 R:", "宏6 R:"},
    {0x71, "Macro6 G:", "宏6 G:"},
    {0x72, "Macro6 B:", "宏6 B:"},
    {0x73, "Macro7 R:", "宏7 R:"},
    {0x74, "Macro7 G:", "宏7 G:"},
    {0x75, "Macro7 B:", "宏7 B:"},
    {0x76, "Macro8 R:", "宏8 R:"},
    {0x77, "Macro8 G:", "宏8 G:"},
    {0x78, "Macro8 B:", "宏8 B:"},
    {0x79, "Macro9 R:", "宏9 R:"},
    {0x7A, "Macro9 G:", "宏9 G:"},
    {0x7B, "Macro9 B:", "宏9 B:"},
    {0x7C, "Macro10 R:", "宏10 R:"},
    {0x7D, "Macro10 G:", "宏10 G:"},
    {0x7E, "Macro10 B:", "宏10 B:"},
    {0x7F, "Fire Macro Y Offset", "压枪宏Y偏移"},
    {0x80, "Macro1 Y Offset:", "宏1 Y偏移:"},
    {0x81, "Macro2 Y Offset:", "宏2 Y偏移:"},
    {0x82, "Macro3 Y Offset:", "宏3 Y偏移:"},
    {0x83, "Macro4 Y Offset:", "宏4 Y偏移:"},
    {0x84, "Macro5 Y Offset:", "宏5 Y偏移:"},
    {0x85, "Macro6 Y Offset:", "宏6 Y偏移:"},
    {0x86, "Macro7 Y Offset:", "宏7 Y偏移:"},
    {0x87, "Macro8 Y Offset:", "宏8 Y偏移:"},
    {0x88, "Macro9 Y Offset:", "宏9 Y偏移:"},
    {0x89, "Macro10 Y Offset:", "宏10 Y偏移:"},
    {0x8A, "Notes: ", "备注: "},
    {0x8B, "Delete Fire Macro", "删除压枪宏"},
    {0x8C, "Import PC Fire Macro", "导入端游压枪宏"},
    {0x8D, "Import Mobile Fire Macro", "导入手游压枪宏"},
    {0x8E, "Press any button of the mouse within 5 seconds: its button on the screen blinks.",
     "请在5秒内按下鼠标的任意按键，屏幕上对应的按键会闪烁。"},
});

// The text of `code` in `language`; nullopt for a code the table does not hold.
[[nodiscard]] std::optional<std::string_view> EngineerText(uint8_t code, EngineerLanguage language);

// Simplified Chinese when the locale name is Chinese (PRC), "zh_CN" with or without an encoding
// or modifier ("zh_CN.UTF-8", "zh_CN@pinyin", also "zh-CN"); English for anything else, other
// Chinese locales (zh_TW, zh_HK, zh_SG) included.
[[nodiscard]] EngineerLanguage EngineerLanguageFromLocale(std::string_view locale_name);

// The locale that names the user's message language, by the usual precedence: LC_ALL, then
// LC_MESSAGES, then LANG; the first that is set and not empty. `get_variable` returns an
// environment variable's value (nullopt when unset), so callers can pass std::getenv or a stub.
[[nodiscard]] std::string MessagesLocaleName(const EnvironmentLookup& get_variable);

// EngineerLanguageFromLocale of this process's environment (LC_ALL, LC_MESSAGES, LANG).
[[nodiscard]] EngineerLanguage EngineerLanguageOfEnvironment();

}  // namespace velq
