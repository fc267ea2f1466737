#include "macros/driver_macro_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "macros/macro_test_util.h"

namespace velq {
namespace {

using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::u16string>;

FunctionCode Code(uint8_t type, uint16_t parameter) {
    return {type, static_cast<uint8_t>(parameter >> 8), static_cast<uint8_t>(parameter & 0xFF)};
}

const FunctionCode kLeft = Code(0x01, 0x0100);

// A driver record: the name, then a utility-form content of `tokens`.
Bytes DriverRecord(std::u16string_view name, const std::vector<uint8_t>& tokens, uint8_t flag = 0) {
    Bytes record(kDriverMacroRecordSize, 0);
    const MacroName field = MakeMacroName(name);
    std::copy(field.begin(), field.end(), record.begin());
    const DriverMacroContent content = test::UtilityContent(tokens, flag);
    std::copy(content.begin(), content.end(), record.begin() + kMacroNameSize);
    return record;
}

TEST(DriverMacroList, AReadFetchesTheRecordsUpToTheHighestOneAButtonPlays) {
    struct Case {
        const char* what;
        std::vector<FunctionCode> codes;
        std::size_t records;
    };
    const Case cases[] = {
        {"no macro", {kLeft, Code(0x02, 0x0004)}, 0},
        {"record 0", {kLeft, Code(0x06, 0x0120)}, 1},
        {"records 0 and 1, either release rule", {Code(0x0E, 0x0920), Code(0x06, 0x0120)}, 2},
        {"the fire key, either release rule", {Code(0x06, 0x00F0), Code(0x0E, 0x00F0)}, 0},
        {"a slot locator of the mouse names no record", {Code(0x06, 0x0121)}, 0},
        {"not a macro code", {Code(0x03, 0x0920)}, 0},
        {"record 18, the last that fits", {Code(0x06, 0x9120)}, 19},
        {"record 19 lies beyond the driver's image", {Code(0x06, 0x9920)}, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DriverMacroList::RecordsToRead(c.codes), c.records);
    }
    EXPECT_EQ(kDriverMacroListCapacity, 19u);
}

TEST(DriverMacroList, TakesWholeRecordsAndNamesThem) {
    Bytes free_name = DriverRecord(u"x", {0xA1});
    free_name[0] = 0xFF;
    free_name[1] = 0xFF;
    const Bytes a = DriverRecord(u"A", {0xA1, 0x21});
    Bytes read = a;
    read.insert(read.end(), free_name.begin(), free_name.end());
    read.insert(read.end(), 100, 0x55);  // a cut record
    DriverMacroList list;
    list.TakeRead(read);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Names(), (Names{u"A", u""}));
    EXPECT_EQ(list.Bytes(), Bytes(read.begin(), read.end() - 100));
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(list.Bytes().empty());
}

TEST(DriverMacroList, AMacroKeepsOneRecordAndItsLocatorFollowsThePosition) {
    DriverMacroList list;
    std::vector<FunctionCode> codes(18, kLeft);
    const Bytes jump = DriverRecord(u"Jump", {0xA1, 0x21});
    const Bytes hold = DriverRecord(u"Hold", {0xA2, 0x22}, 1);

    const DriverMacroAssignment first = ChangeProfile1StringForDriverMode(list, jump, codes, 1);
    ASSERT_TRUE(first);
    EXPECT_EQ(CodeText(first.code), "060120");
    codes[1] = first.code;
    const DriverMacroAssignment again = ChangeProfile1StringForDriverMode(list, jump, codes, 2);
    EXPECT_EQ(CodeText(again.code), "060120");
    codes[2] = again.code;
    const DriverMacroAssignment second = ChangeProfile1StringForDriverMode(list, hold, codes, 10);
    EXPECT_EQ(CodeText(second.code), "0E0920");
    EXPECT_EQ(second.record, 1u);
    EXPECT_EQ(list.Names(), (Names{u"Jump", u"Hold"}));
    Bytes both = jump;
    both.insert(both.end(), hold.begin(), hold.end());
    EXPECT_EQ(list.Bytes(), both);
}

TEST(DriverMacroList, AFullListReusesARecordNoButtonPlaysOrRefuses) {
    DriverMacroList list;
    std::vector<FunctionCode> codes(18, kLeft);
    for (int i = 0; i < 19; ++i) {
        const Bytes record =
            DriverRecord(u"M" + std::u16string(1, static_cast<char16_t>(u'a' + i)), {0xA1});
        const DriverMacroAssignment placed = ChangeProfile1StringForDriverMode(list, record, {}, 0);
        ASSERT_TRUE(placed);
        EXPECT_EQ(placed.record, static_cast<std::size_t>(i));
    }
    // Each button plays the record of its number (records 0..17); record 18 lost its button.
    for (std::size_t n = 0; n < codes.size(); ++n) {
        codes[n] = Code(0x06, *DriverMacroLocator(n));
    }
    const Bytes extra = DriverRecord(u"Extra", {0xA4});

    // Given to button 5, the first record no other button plays takes the copy: its own.
    const DriverMacroAssignment reused = ChangeProfile1StringForDriverMode(list, extra, codes, 5);
    ASSERT_TRUE(reused);
    EXPECT_EQ(reused.record, 5u);
    EXPECT_EQ(CodeText(reused.code), "062920");
    EXPECT_EQ(list.Names()[5], u"Extra");
    EXPECT_EQ(list.Count(), 19u);
    codes[5] = reused.code;

    // Only with every record played by another button (more buttons than a profile pair
    // has) is there no room; the list stays as it was.
    codes.push_back(Code(0x06, *DriverMacroLocator(18)));
    codes.push_back(kLeft);
    const Bytes before = list.Bytes();
    const Bytes more = DriverRecord(u"More", {0xA8});
    const DriverMacroAssignment refused =
        ChangeProfile1StringForDriverMode(list, more, codes, codes.size() - 1);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.caption_key, "Str104");
    EXPECT_EQ(list.Bytes(), before);
}

TEST(DriverMacroList, EverySaveOfTheLibraryRefreshesRecordsOfTheSameName) {
    const auto folder = std::filesystem::path(::testing::TempDir()) /
                        ("driver_macro_list_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    DriverMacroLibrary library(folder);
    ASSERT_TRUE(library.Load());
    ASSERT_TRUE(library.New(u"Jump"));
    const DriverMacroContent edited = test::UtilityContent({0xA4, 0xFE, 0x10, 0x24}, 1);
    ASSERT_TRUE(library.SetContent(0, edited));

    DriverMacroList list;
    const Bytes old_jump = DriverRecord(u"Jump", {0xA1, 0x21});
    const Bytes other = DriverRecord(u"Other", {0xA2, 0x22});
    Bytes read = other;
    read.insert(read.end(), old_jump.begin(), old_jump.end());
    list.TakeRead(read);
    list.RefreshFromLibrary(library);

    EXPECT_TRUE(std::equal(other.begin(), other.end(), list.Record(0).begin()));
    const auto jump = list.Record(1);
    EXPECT_TRUE(std::equal(old_jump.begin(), old_jump.begin() + kMacroNameSize, jump.begin()));
    EXPECT_TRUE(std::equal(edited.begin(), edited.end(), jump.begin() + kMacroNameSize));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velq
