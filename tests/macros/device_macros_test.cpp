#include "macros/device_macros.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "macro_test_util.h"
#include "macros/macro_name.h"

namespace velq {
namespace {

using test::DeviceContent;

FunctionCode Code(std::string_view text) {
    return *ParseCodeText(text);
}

// A library record: the name field, then a content of one token whose byte tells the macros
// apart.
MacroSlotBytes Record(std::u16string_view name, uint8_t token, uint8_t flag = kPlayToEndFlag) {
    MacroSlotBytes record{};
    const MacroName field = MakeMacroName(name);
    std::copy(field.begin(), field.end(), record.begin());
    const MacroContent content = DeviceContent({0x10, token}, flag);
    std::copy(content.begin(), content.end(), record.begin() + kMacroNameSize);
    return record;
}

// Slot k holds a macro named names[k - 1] (an empty text: a free slot).
DeviceMacros Holding(std::initializer_list<std::u16string_view> names) {
    DeviceMacros macros;
    std::size_t k = 0;
    for (std::u16string_view name : names) {
        if (!name.empty()) {
            macros.slot_bytes[k] = Record(name, static_cast<uint8_t>(0x80 + k));
        }
        ++k;
    }
    return macros;
}

// Both profiles' eighteen codes: left click everywhere but the given buttons (0-based).
std::vector<FunctionCode> Codes(std::initializer_list<std::pair<std::size_t, const char*>> set) {
    std::vector<FunctionCode> codes(18, Code("010100"));
    for (const auto& [button, text] : set) {
        codes[button] = Code(text);
    }
    return codes;
}

struct AssignCase {
    const char* what;
    DeviceMacros before;
    std::vector<FunctionCode> codes;
    std::size_t button;
    uint8_t flag;
    AssignTarget target;
    int slot;          // 0: refused
    const char* code;  // the button's new code
};

TEST(AssignMacro, ChoosesTheSlotStoresTheMacroAndMarksIt) {
    const AssignCase cases[] = {
        {"first macro", {}, Codes({}), 1, kPlayToEndFlag, AssignTarget::kMainPage, 1, "060121"},
        {"first macro that stops on release",
         {},
         Codes({}),
         1,
         kStopOnReleaseFlag,
         AssignTarget::kMainPage,
         1,
         "0E0121"},
        {"the same name reuses its slot", Holding({u"A", u"New", u"C"}),
         Codes({{0, "060121"}, {2, "060221"}, {11, "0E0321"}}), 5, kPlayToEndFlag,
         AssignTarget::kMainPage, 2, "060221"},
        {"slots 1 and 3: the gap", Holding({u"A", u"", u"C"}),
         Codes({{0, "060121"}, {2, "060321"}}), 4, kPlayToEndFlag, AssignTarget::kMainPage, 2,
         "060221"},
        {"slots 2 and 4: slot 1", Holding({u"", u"B", u"", u"D"}),
         Codes({{0, "060221"}, {2, "060421"}}), 4, kPlayToEndFlag, AssignTarget::kMainPage, 1,
         "060121"},
        {"slot 3 only: slot 1", Holding({u"", u"", u"C"}), Codes({{12, "060321"}}), 4,
         kPlayToEndFlag, AssignTarget::kMainPage, 1, "060121"},
        {"the button's own macro frees its slot", Holding({u"A"}), Codes({{3, "060121"}}), 3,
         kPlayToEndFlag, AssignTarget::kMainPage, 1, "060121"},
        {"four macros: the main page takes slot 5", Holding({u"A", u"B", u"C", u"D"}),
         Codes({{1, "060121"}, {2, "060221"}, {3, "060321"}, {4, "060421"}}), 5, kStopOnReleaseFlag,
         AssignTarget::kMainPage, 5, "0E0621"},
        {"four macros: the engineering page has no room", Holding({u"A", u"B", u"C", u"D"}),
         Codes({{1, "060121"}, {2, "060221"}, {3, "060321"}, {4, "060421"}}), 5, kPlayToEndFlag,
         AssignTarget::kEngineeringPage, 0, nullptr},
        {"all six held by other macros", Holding({u"A", u"B", u"C", u"D", u"E", u"F"}),
         Codes({{1, "060121"},
                {2, "060221"},
                {3, "060321"},
                {4, "060421"},
                {10, "060621"},
                {11, "060721"}}),
         5, kPlayToEndFlag, AssignTarget::kMainPage, 0, nullptr},
    };
    for (const AssignCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceMacros macros = c.before;
        const MacroSlotBytes record = Record(u"New", 0x42, c.flag);
        const MacroAssignment assigned = AssignMacro(macros, c.codes, c.button, record, c.target);
        EXPECT_EQ(assigned.slot, c.slot);
        if (c.slot == 0) {
            EXPECT_FALSE(assigned);
            EXPECT_EQ(assigned.refusal_key, "Str104");
            EXPECT_EQ(macros, c.before);  // nothing stored, nothing marked
            continue;
        }
        ASSERT_TRUE(assigned);
        EXPECT_EQ(CodeText(assigned.code), c.code);
        // The library's macro, name and content, replaces what the slot held (a macro of the
        // same name too: it may have been edited since), and only that slot is marked.
        EXPECT_EQ(macros.slot_bytes[static_cast<std::size_t>(c.slot - 1)], record);
        EXPECT_EQ(macros.changed, 1u << (c.slot - 1));
        EXPECT_EQ(macros.ListName(c.slot), "New");
        for (int k = 1; k <= 6; ++k) {
            if (k != c.slot) {
                EXPECT_EQ(macros.slot_bytes[static_cast<std::size_t>(k - 1)],
                          c.before.slot_bytes[static_cast<std::size_t>(k - 1)])
                    << "slot " << k;
            }
        }
    }
}

TEST(AssignMacro, ApplyWritesTheMarkedSlotsButtonsPlay) {
    struct Case {
        const char* what;
        std::vector<FunctionCode> codes;
        SlotMask changed;
        SlotMask write;
    };
    const Case cases[] = {
        {"nothing given", Codes({{0, "060121"}, {1, "060221"}}), 0, 0},
        {"given and played", Codes({{0, "060121"}, {9, "0E0421"}, {2, "060321"}}), 0b1011, 0b1001},
        {"given, then the button took another function", Codes({{0, "0600F0"}}), 0b0001, 0},
        {"slot 6 of the gaming profile", Codes({{17, "0E0721"}}), 0b100000, 0b100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SlotsToWrite(c.codes, c.changed), c.write);
    }
}

TEST(AssignMacro, TheCopyOfAnImageTakesTheSlotsAndEmptiesBadContents) {
    std::vector<uint8_t> image(2048, 0xFF);  // an erased memory: every slot free
    const MacroSlotBytes first = Record(u"Burst", 0x21);
    const MacroSlotBytes fifth = Record(u"Spray", 0x22);
    std::copy(first.begin(), first.end(), image.begin() + 0x100);
    std::copy(fifth.begin(), fifth.end(), image.begin() + 0x600);
    MacroSlotBytes bad = Record(u"Bad", 0x23);
    bad[kMacroNameSize + 4] ^= 0x01;  // its checksum no longer matches
    std::copy(bad.begin(), bad.end(), image.begin() + 0x300);
    image[0x200] = 0x00;  // a name starting 00 00 is free
    image[0x201] = 0x00;

    const DeviceMacros macros = MacrosOfImage(image);
    EXPECT_EQ(macros.changed, 0u);
    EXPECT_EQ(macros.slot_bytes[0], first);
    EXPECT_EQ(macros.slot_bytes[4], fifth);
    const std::array<std::string, 6> names = {"Burst", "", "Bad", "", "Spray", ""};
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(macros.ListName(k), names[static_cast<std::size_t>(k - 1)]) << k;
    }
    // The damaged content is emptied; its name stays.
    EXPECT_TRUE(std::all_of(macros.slot_bytes[2].begin() + kMacroNameSize,
                            macros.slot_bytes[2].end(), [](uint8_t b) { return b == 0; }));
}

TEST(FollowLibraryMacro, TheSlotsOfTheMacrosNameTakeItsNewRecordAndTheirButtonsItsRelease) {
    struct Case {
        const char* what;
        std::u16string_view name;  // the macro's name before the change
        MacroSlotBytes record;     // the library's record now
        SlotMask followed;
    };
    const Case cases[] = {
        {"new events", u"B", Record(u"B", 0x11), 0b000010},
        {"unchanged", u"B", Record(u"B", 0x81), 0},
        {"a name no slot holds", u"Z", Record(u"Z", 0x11), 0},
        {"renamed: the slot takes the new name", u"B", Record(u"Bee", 0x81), 0b000010},
        {"the same name in two slots", u"D", Record(u"D", 0x12), 0b101000},
        {"a free name names nothing", u"", Record(u"", 0x12), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceMacros macros = Holding({u"A", u"B", u"", u"D", u"", u"D"});
        macros.changed = 0b000001;
        const DeviceMacros before = macros;
        EXPECT_EQ(FollowLibraryMacro(macros, MakeMacroName(c.name), c.record), c.followed);
        EXPECT_EQ(macros.changed, before.changed | c.followed);
        for (std::size_t s = 0; s < kMacroSlotCount; ++s) {
            EXPECT_EQ(macros.slot_bytes[s],
                      (c.followed >> s) & 1u ? c.record : before.slot_bytes[s])
                << s;
        }
    }

    // Slot 2 now stops on release: the buttons playing it hold, the others keep their codes.
    DeviceMacros macros = Holding({u"A", u"B"});
    ASSERT_EQ(
        FollowLibraryMacro(macros, MakeMacroName(u"B"), Record(u"B", 0x81, kStopOnReleaseFlag)),
        0b10);
    std::vector<FunctionCode> codes = Codes({{1, "060221"}, {2, "060121"}, {10, "060221"}});
    MatchSlotCodes(codes, macros, 0b10);
    EXPECT_EQ(codes, Codes({{1, "0E0221"}, {2, "060121"}, {10, "0E0221"}}));
}

}  // namespace
}  // namespace velq
