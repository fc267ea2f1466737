#include "config/config_json.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "config/config_codec.h"
#include "image/built_in_images.h"

namespace velq {
namespace {

std::string TestName(const FunctionCode& code) {
    return "fn " + CodeText(code);
}

MouseConfig ConfigOf(BuiltInImage which) {
    const ImageTextResult image = LoadBuiltInImage(which);
    EXPECT_TRUE(image) << image.error;
    DataBuf buf{};
    std::copy(image.bytes.begin(), image.bytes.end(), buf.begin());
    SectionCopies copies;
    FillSectionCopies(buf, copies);
    return DecodeConfig(copies);
}

std::vector<ConfigAssignment> Assignments(const std::vector<std::string>& texts) {
    std::vector<ConfigAssignment> assignments;
    for (const std::string& text : texts) {
        ConfigAssignment assignment;
        EXPECT_TRUE(ParseAssignment(text, assignment)) << text;
        assignments.push_back(assignment);
    }
    return assignments;
}

TEST(ConfigJson, ShowsTheModelInItsOwnTerms) {
    const MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    const Json json = ConfigToJson(config, TestName);
    EXPECT_EQ(json["dpi"]["count"], 6);
    EXPECT_EQ(json["dpi"]["current"], 2);  // stored 1: level 2
    EXPECT_EQ(json["dpi"]["levels"].size(), 7u);
    EXPECT_EQ(json["dpi"]["levels"][0]["value"], 800);
    EXPECT_EQ(json["dpi"]["levels"][0]["colour"], "00FF00");
    EXPECT_EQ(json["buttons"]["office"].size(), 9u);
    EXPECT_EQ(json["buttons"]["office"][0]["code"], "010100");
    EXPECT_EQ(json["buttons"]["office"][0]["name"], "fn 010100");
    EXPECT_EQ(json["lighting"]["type"], "flowing");
    EXPECT_EQ(json["lighting"]["modes_offered"].size(), 7u);
    EXPECT_EQ(json["key_mode"], "office");
    EXPECT_EQ(json["fire_slots"].size(), 10u);

    // Stored values with no meaning of their own are shown as they are.
    MouseConfig odd = config;
    odd.dpi.levels[3].value = 0xFF;
    odd.dpi.current = 0xFE;
    odd.key_mode = 1;
    odd.lighting.type = LightType::kBreathing;
    const Json shown = ConfigToJson(odd, TestName);
    EXPECT_TRUE(shown["dpi"]["levels"][3]["value"].is_null());
    EXPECT_EQ(shown["dpi"]["current"], 0xFF);
    EXPECT_EQ(shown["key_mode"], "gaming");
    EXPECT_EQ(shown["lighting"]["type"], "breathing");
    EXPECT_TRUE(shown["aim_dpi"].is_null());  // no button is an aim key
}

// What is shown, given back, changes nothing: on every built-in image, and on values that lie
// outside what an edit may set (they pass because they are what the mouse holds).
TEST(ConfigJson, ShownJsonGivenBackChangesNothing) {
    for (BuiltInImage which : {BuiltInImage::kVELQ55XData_Cfg1, BuiltInImage::kVELQ55XData_Cfg2,
                               BuiltInImage::kVELQ55XData_Cfg3}) {
        MouseConfig config = ConfigOf(which);
        config.dpi.levels[6].value = 0xFF;
        config.lighting.lamps = 2;
        config.dpi.current = 0x7F;
        const MouseConfig before = config;
        const Json shown = ConfigToJson(config, TestName);
        const Json reread = Json::parse(shown.dump(2));
        const ConfigEditResult result = EditConfig(reread, shown, TestName, config);
        ASSERT_TRUE(result) << result.error;
        EXPECT_TRUE(result.changes.empty());
        EXPECT_EQ(config, before);
    }
}

// The same on images of random bytes whose sections were checked (and so repaired where they
// failed): whatever the fields hold, what is shown reads back as it was.
TEST(ConfigJson, ShownJsonOfRandomImagesGivenBackChangesNothing) {
    std::mt19937 random(540);
    for (int i = 0; i < 200; ++i) {
        DataBuf image;
        for (uint8_t& byte : image) {
            byte = static_cast<uint8_t>(random());
        }
        SectionCopies copies;
        FillSectionCopies(image, copies);
        // Unchecked bits of the option bytes and the profile, as the sections may hold them.
        std::copy_n(image.begin(), kParameterASize, copies.parameter_a.begin());
        std::copy_n(image.begin() + kProfileRange.address, kProfileSize, copies.profile.begin());
        MouseConfig config = DecodeConfig(copies);
        const MouseConfig before = config;
        const Json shown = ConfigToJson(config, TestName);
        const ConfigEditResult result =
            EditConfig(Json::parse(shown.dump()), shown, TestName, config);
        ASSERT_TRUE(result) << result.error;
        EXPECT_TRUE(result.changes.empty());
        EXPECT_EQ(config, before);
    }
}

TEST(ConfigJson, EditsChangeTheNamedFieldsOnly) {
    struct Case {
        std::vector<std::string> set;
        std::function<void(MouseConfig&)> expect;  // the edit, applied by hand
        std::vector<std::string> changes;          // "key: before -> after"
    };
    const std::vector<Case> cases = {
        {{"dpi.levels[2].value=1600", "buttons.gaming[4].code=0300CD"},
         [](MouseConfig& c) {
             c.dpi.levels[2].value = 4;
             c.gaming[4] = {0x03, 0x00, 0xCD};
         },
         {"dpi.levels[2].value: 2400 -> 1600", "buttons.gaming[4].code: \"011000\" -> \"0300CD\""}},
        {{"dpi.current=1", "dpi.count=3"},
         [](MouseConfig& c) {
             c.dpi.current = 0;
             c.dpi.count = 3;
         },
         {"dpi.count: 6 -> 3", "dpi.current: 2 -> 1"}},
        {{"dpi.levels[0].colour=a0b1c2"},
         [](MouseConfig& c) {
             c.dpi.levels[0].colour = {0xA0, 0xB1, 0xC2};
         },
         {"dpi.levels[0].colour: \"00FF00\" -> \"A0B1C2\""}},
        {{"lighting.on=false", "lighting.lamps=4", "lighting.modes_offered[6]=false"},
         [](MouseConfig& c) {
             c.lighting.on = false;
             c.lighting.lamps = 4;
             c.lighting.modes_offered[6] = false;
         },
         {"lighting.on: true -> false", "lighting.lamps: 10 -> 4",
          "lighting.modes_offered[6]: true -> false"}},
        {{"key_mode=gaming", "options.sensor_orientation=6", "fire_key.interval=7",
          "fire_slots[9].y_adjust=-3"},
         [](MouseConfig& c) {
             c.key_mode = 1;
             c.options.sensor_orientation = 6;
             c.fire_key.interval = 7;
             c.fire_slots[9].y_adjust = -3;
         },
         {"options.sensor_orientation: 2 -> 6", "key_mode: \"office\" -> \"gaming\"",
          "fire_key.interval: 6 -> 7", "fire_slots[9].y_adjust: 0 -> -3"}},
        // Equal values, the derived and read-only ones included, are accepted and change nothing.
        {{"buttons.office[0].name=fn 010100", "lighting.type=flowing", "dpi.levels[0].value=800"},
         [](MouseConfig&) {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set.front());
        MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
        MouseConfig expected = config;
        c.expect(expected);
        const ConfigEditResult result =
            EditConfig(Assignments(c.set), ConfigToJson(config, TestName), TestName, config);
        ASSERT_TRUE(result) << result.error;
        EXPECT_EQ(config, expected);
        std::vector<std::string> changes;
        for (const ConfigChange& change : result.changes) {
            changes.push_back(change.key + ": " + change.before.dump() + " -> " +
                              change.after.dump());
        }
        EXPECT_EQ(changes, c.changes);
    }
}

// An aim DPI changes the aim keys that hold it, and is refused where no button is one.
TEST(ConfigJson, AimDpiMovesWithTheAimKeys) {
    MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    config.office[3] = {0x0A, 0x01, 0x00};
    config.gaming[5] = {0x0A, 0x01, 0x00};
    config.aim_dpi = 1;
    ConfigEditResult result =
        EditConfig(Assignments({"aim_dpi=3200"}), ConfigToJson(config, TestName), TestName, config);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(config.aim_dpi, 7);
    EXPECT_EQ(config.office[3], (FunctionCode{0x0A, 0x07, 0x00}));
    EXPECT_EQ(config.gaming[5], (FunctionCode{0x0A, 0x07, 0x00}));

    MouseConfig plain = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    Json shown = ConfigToJson(plain, TestName);
    result = EditConfig(Json::parse(R"({"aim_dpi": 800})"), shown, TestName, plain);
    EXPECT_FALSE(result);
}

// Every refusal names the key and leaves the configuration as it was.
TEST(ConfigJson, RefusalsNameTheKeyAndChangeNothing) {
    struct Case {
        const char* what;
        std::vector<std::string> set;  // as `set` gives them, or
        const char* patch;             // as a file gives them
        const char* error;             // how the message starts
    };
    const std::vector<Case> cases = {
        {"unknown key", {"dpi.speed=3"}, nullptr, "dpi.speed: no such key"},
        {"unknown top-level key", {}, R"({"colour": "FF0000"})", "colour: no such key"},
        {"index past the list", {"dpi.levels[7].value=800"}, nullptr, "dpi.levels[7]: no such key"},
        {"index past the list in a file",
         {},
         R"({"buttons": {"office": [{}, {}, {}, {}, {}, {},
         {}, {}, {}, {"code": "010100"}]}})",
         "buttons.office[9]: no such key"},
        {"not a key", {"dpi..count=3"}, nullptr, "dpi..count: not a key"},
        {"a whole group", {"dpi.levels=1"}, nullptr, "dpi.levels: holds several values"},
        {"a list where a value belongs",
         {},
         R"({"dpi": {"count": [3]}})",
         "dpi.count: is not a list"},
        {"DPI not in the list",
         {"dpi.levels[2].value=1700"},
         nullptr,
         "dpi.levels[2].value: 1700 is not a DPI value of 500, 800"},
        {"DPI of the wrong type",
         {},
         R"({"dpi": {"levels": [{"value": "1600"}]}})",
         "dpi.levels[0].value: takes a DPI value"},
        {"level count", {"dpi.count=8"}, nullptr, "dpi.count: 8 is out of range (2 to 7)"},
        {"current level", {"dpi.current=0"}, nullptr, "dpi.current: 0 is out of range (1 to 7)"},
        {"current level beyond the count",
         {"dpi.current=7"},
         nullptr,
         "dpi.current: level 7 is not among the 6 levels in use"},
        {"count below the current level",
         {"dpi.count=2", "dpi.current=3"},
         nullptr,
         "dpi.current: level 3 is not among the 2 levels in use"},
        {"lamps", {"lighting.lamps=14"}, nullptr, "lighting.lamps: 14 is out of range (4 to 13)"},
        {"colour",
         {"dpi.levels[1].colour=12345G"},
         nullptr,
         "dpi.levels[1].colour: takes a colour"},
        {"boolean", {"lighting.on=1"}, nullptr, "lighting.on: takes true or false"},
        {"code in lower case",
         {"buttons.gaming[4].code=0300cd"},
         nullptr,
         "buttons.gaming[4].code: takes a function code"},
        {"no button function",
         {"buttons.gaming[4].code=FF0000"},
         nullptr,
         "buttons.gaming[4].code: FF0000 is not a button function"},
        {"key mode", {"key_mode=2"}, nullptr, "key_mode: takes \"office\" or \"gaming\""},
        {"gaming while the key mode is not remembered",
         {"options.remember_key_mode=false", "key_mode=gaming"},
         nullptr,
         "key_mode: the mouse does not remember its key mode"},
        {"fire repeat", {"fire_key.repeat=255"}, nullptr, "fire_key.repeat: 255 is out of range"},
        {"fire y", {"fire_slots[0].y_adjust=128"}, nullptr, "fire_slots[0].y_adjust: 128 is out"},
        {"read-only light type",
         {"lighting.type=sync"},
         nullptr,
         "lighting.type: is only shown and cannot be changed (the mouse holds \"flowing\""},
        {"read-only device code", {}, R"({"vendor_code": 1})", "vendor_code: is only shown"},
        {"derived name",
         {"buttons.office[0].name=Left"},
         nullptr,
         "buttons.office[0].name: is only shown"},
        {"the last left click",
         {"buttons.office[0].code=010200"},
         nullptr,
         "buttons.office: one button must stay the left click (010100)"},
        {"the last left click in a file",
         {},
         R"({"buttons": {"gaming": [{"code": "0300CD"}]}})",
         "buttons.gaming: one button must stay the left click"},
        {"a valid change before a refusal",
         {"dpi.count=3", "dpi.levels[0].value=1"},
         nullptr,
         "dpi.levels[0].value: 1 is not"},
        {"not an object", {}, "[1, 2]", "the configuration must be a JSON object"},
        // Numbers are read by their JSON type and never wrap into a range.
        {"a number above every signed one",
         {"fire_slots[0].y_adjust=18446744073709551615"},
         nullptr,
         "fire_slots[0].y_adjust: 18446744073709551615 is out of range (-128 to 127)"},
        {"the same in a file",
         {},
         R"({"fire_key": {"interval": 18446744073709551615}})",
         "fire_key.interval: 18446744073709551615 is out of range (0 to 255)"},
        {"a number below every signed one",
         {"dpi.count=-9223372036854775809"},
         nullptr,
         "dpi.count: takes a whole number from 2 to 7"},
        {"a number beyond what JSON holds",
         {"dpi.count=1e400"},
         nullptr,
         "dpi.count: takes a whole"},
        {"a fraction", {"dpi.count=3.5"}, nullptr, "dpi.count: takes a whole number"},
        {"a whole number written as a fraction", {"dpi.count=3.0"}, nullptr, "dpi.count: takes a"},
        {"a DPI above every signed number",
         {"dpi.levels[0].value=18446744073709551615"},
         nullptr,
         "dpi.levels[0].value: 18446744073709551615 is not a DPI value"},
        {"a DPI of unsigned 800 plus 2^64",
         {},
         R"({"aim_dpi": 18446744073709552416})",
         "aim_dpi: takes a DPI value"},
        {"an aim DPI without an aim key",
         {"aim_dpi=800"},
         nullptr,
         "aim_dpi: no button is an aim key"},
        // Text that is not UTF-8.
        {"a text key", {"lighting.type=\xFF"}, nullptr, "lighting.type: the value is not UTF-8"},
        {"a code",
         {"buttons.office[1].code=\xC3\x28"},
         nullptr,
         "buttons.office[1].code: the value is not UTF-8"},
        {"a number key", {"dpi.count=3\xE2\x82"}, nullptr, "dpi.count: the value is not UTF-8"},
        {"an overlong slash", {"key_mode=\xC0\xAF"}, nullptr, "key_mode: the value is not UTF-8"},
        {"a surrogate", {"key_mode=\xED\xA0\x80"}, nullptr, "key_mode: the value is not UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
        const MouseConfig before = config;
        const Json shown = ConfigToJson(config, TestName);
        const ConfigEditResult result =
            c.patch != nullptr ? EditConfig(Json::parse(c.patch), shown, TestName, config)
                               : EditConfig(Assignments(c.set), shown, TestName, config);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error.rfind(c.error, 0), 0u) << result.error;
        EXPECT_EQ(config, before);
    }
}

// The left click may move to another button; only losing the last one is refused.
TEST(ConfigJson, TheLeftClickMayMoveButNotGo) {
    MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    const ConfigEditResult result =
        EditConfig(Assignments({"buttons.office[7].code=010100", "buttons.office[0].code=010200"}),
                   ConfigToJson(config, TestName), TestName, config);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(CodeText(config.office[0]), "010200");
    EXPECT_EQ(CodeText(config.office[7]), "010100");
}

// Text that is UTF-8 is read, whatever its script.
TEST(ConfigJson, UnicodeTextIsReadAsText) {
    MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    const ConfigEditResult result =
        EditConfig(Assignments({"key_mode=\xE5\x8A\x9E\xF0\x9F\x96\xB1"}),
                   ConfigToJson(config, TestName), TestName, config);
    EXPECT_EQ(result.error, "key_mode: takes \"office\" or \"gaming\"");
}

// A new level count makes its top level current, as the pages do; a current level the same
// edit names wins, in whichever order the keys come, and so does one a file names as shown.
TEST(ConfigJson, ANewLevelCountMakesItsTopLevelCurrentUnlessTheEditNamesOne) {
    struct Case {
        std::vector<std::string> set;  // as `set` gives them, or
        const char* patch;             // as a file gives them
        uint8_t count;
        uint8_t current;  // stored, 0 = level 1
        std::vector<std::string> asked;
    };
    // The first image holds 6 levels, level 2 current.
    const std::vector<Case> cases = {
        {{"dpi.count=3"}, nullptr, 3, 2, {"dpi.count"}},
        {{"dpi.count=7"}, nullptr, 7, 6, {"dpi.count"}},
        {{"dpi.count=6"}, nullptr, 6, 1, {}},  // the count it has: nothing moves
        {{"dpi.count=3", "dpi.current=1"}, nullptr, 3, 0, {"dpi.count", "dpi.current"}},
        {{"dpi.current=1", "dpi.count=3"}, nullptr, 3, 0, {"dpi.count", "dpi.current"}},
        {{"dpi.count=3", "dpi.current=2"}, nullptr, 3, 1, {"dpi.count", "dpi.current"}},
        {{}, R"({"dpi": {"count": 4}})", 4, 3, {"dpi.count"}},
        {{}, R"({"dpi": {"current": 2, "count": 4}})", 4, 1, {"dpi.count", "dpi.current"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patch != nullptr ? c.patch : c.set.front());
        MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
        ASSERT_EQ(config.dpi.count, 6);
        ASSERT_EQ(config.dpi.current, 1);
        MouseConfig wanted = config;
        const Json shown = ConfigToJson(config, TestName);
        const ConfigEditResult result =
            c.patch != nullptr ? EditConfig(Json::parse(c.patch), shown, TestName, config)
                               : EditConfig(Assignments(c.set), shown, TestName, config);
        ASSERT_TRUE(result) << result.error;
        wanted.dpi.count = c.count;
        wanted.dpi.current = c.current;
        EXPECT_EQ(config, wanted);
        EXPECT_EQ(result.asked, c.asked);
    }
}

// A key mode that is not remembered leaves the mouse starting in office, as on the pages.
TEST(ConfigJson, AKeyModeNotRememberedIsOffice) {
    MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    config.key_mode = 1;
    const ConfigEditResult result = EditConfig(Assignments({"options.remember_key_mode=false"}),
                                               ConfigToJson(config, TestName), TestName, config);
    ASSERT_TRUE(result) << result.error;
    EXPECT_FALSE(config.options.remember_key_mode);
    EXPECT_EQ(config.key_mode, 0);
    ASSERT_EQ(result.changes.size(), 2u);
    EXPECT_EQ(result.changes[1].key, "key_mode");
    EXPECT_EQ(result.changes[1].after, "office");
}

// A file for apply is read whole; a fault in it names the key where it was met.
TEST(ConfigJson, AFaultInAnApplyFileNamesItsKey) {
    struct Case {
        std::string text;
        const char* error;  // empty: read
    };
    const std::vector<Case> cases = {
        {R"({"dpi": {"count": 3}})", ""},
        {R"({"dpi": {"count": 1e400}})", "dpi.count: number overflow parsing '1e400'"},
        {R"({"dpi": {"levels": [{}, {"value": -1e999}]}})",
         "dpi.levels[1].value: number overflow parsing '-1e999'"},
        {"{\"lighting\": {\"type\": \"\xFF\"}}", "lighting.type: parse error at line 1"},
        {R"({"dpi": {"count": 3},})", "parse error at line 1, column 22"},
        {R"({"dpi": [1, 2,)", "dpi[2]: parse error at line 1"},
        {"", "parse error at line 1, column 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Json patch;
        std::string error;
        const bool read = ParseConfigPatch(c.text, patch, error);
        EXPECT_EQ(read, std::string(c.error).empty());
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        if (!read) {
            EXPECT_TRUE(patch.is_null());
        }
    }
    // A deeply nested file is read, and refused by its keys.
    const std::string deep =
        R"({"dpi": )" + std::string(20000, '[') + std::string(20000, ']') + "}";
    Json patch;
    std::string error;
    ASSERT_TRUE(ParseConfigPatch(deep, patch, error)) << error;
    MouseConfig config = ConfigOf(BuiltInImage::kVELQ55XData_Cfg1);
    const ConfigEditResult result =
        EditConfig(patch, ConfigToJson(config, TestName), TestName, config);
    EXPECT_EQ(result.error.rfind("dpi: is not a list", 0), 0u) << result.error;
}

// What an edit reports is what the mouse will hold: the encoded copies decoded again, with the
// keys the edit moved without naming them.
TEST(ConfigJson, TheEncodedEditListsWhatTheMouseWillHold) {
    const ImageTextResult image = LoadBuiltInImage(BuiltInImage::kVELQ55XData_Cfg1);
    ASSERT_TRUE(image) << image.error;
    DataBuf buf{};
    std::copy(image.bytes.begin(), image.bytes.end(), buf.begin());
    struct Case {
        const char* what;
        std::vector<std::string> set;
        std::vector<std::string> changes;  // "key: before -> after"
    };
    const std::vector<Case> cases = {
        {"a new aim key brings its DPI",
         {"buttons.office[1].code=0A0300"},
         {"buttons.office[1].code: \"010400\" -> \"0A0300\"", "aim_dpi: null -> 1200"}},
        {"a named aim DPI wins over the key's",
         {"aim_dpi=800", "buttons.office[1].code=0A0300"},
         {"buttons.office[1].code: \"010400\" -> \"0A0100\"", "aim_dpi: null -> 800"}},
        {"a new level count moves the current level",
         {"dpi.count=3"},
         {"dpi.count: 6 -> 3", "dpi.current: 2 -> 3"}},
        {"the light off and nothing else", {"lighting.on=false"}, {"lighting.on: true -> false"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SectionCopies copies;
        FillSectionCopies(buf, copies);
        const MouseConfig decoded = DecodeConfig(copies);
        MouseConfig wanted = decoded;
        const ConfigEditResult edited =
            EditConfig(Assignments(c.set), ConfigToJson(decoded, TestName), TestName, wanted);
        ASSERT_TRUE(edited) << edited.error;
        const ConfigEditResult encoded =
            EncodeConfigEdit(wanted, decoded, edited.asked, TestName, copies);
        ASSERT_TRUE(encoded) << encoded.error;
        std::vector<std::string> changes;
        for (const ConfigChange& change : encoded.changes) {
            changes.push_back(change.key + ": " + change.before.dump() + " -> " +
                              change.after.dump());
        }
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(encoded.asked, edited.asked);
    }

    // A seven-colour light keeps no mode: a mode asked of it would not be held, and the edit is
    // refused with the copies left as they were.
    SectionCopies copies;
    FillSectionCopies(buf, copies);
    MouseConfig decoded = DecodeConfig(copies);
    MouseConfig sync = decoded;
    sync.lighting.type = LightType::kSync;
    EncodeConfig(sync, decoded, copies);
    decoded = DecodeConfig(copies);
    MouseConfig wanted = decoded;
    wanted.lighting.mode = 5;
    const SectionCopies before = copies;
    const ConfigEditResult refused =
        EncodeConfigEdit(wanted, decoded, {"lighting.mode"}, TestName, copies);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error,
              "lighting.mode: the mouse would hold 0, not 5 (another key of the "
              "same change decides it)");
    EXPECT_EQ(copies.parameter_a, before.parameter_a);
    EXPECT_EQ(copies.parameter_b, before.parameter_b);
}

TEST(ConfigJson, FindKeyAndParseAssignment) {
    const Json json = ConfigToJson(ConfigOf(BuiltInImage::kVELQ55XData_Cfg1), TestName);
    ASSERT_NE(FindKey(json, "dpi.levels[0].value"), nullptr);
    EXPECT_EQ(*FindKey(json, "dpi.levels[0].value"), 800);
    EXPECT_EQ(FindKey(json, "dpi.levels[9].value"), nullptr);
    EXPECT_EQ(FindKey(json, "dpi.levels[0]x"), nullptr);
    ConfigAssignment assignment;
    EXPECT_FALSE(ParseAssignment("dpi.count", assignment));
    EXPECT_FALSE(ParseAssignment("=3", assignment));
    ASSERT_TRUE(ParseAssignment("buttons.office[1].name=a=b", assignment));
    EXPECT_EQ(assignment.key, "buttons.office[1].name");
    EXPECT_EQ(assignment.text, "a=b");
}

}  // namespace
}  // namespace velq
