#include "macros/macro_slot_choice.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace velq {
namespace {

using Slots = std::array<MacroSlotBytes, kMacroSlotCount>;

SlotMask Mask(std::initializer_list<int> slots) {
    SlotMask mask = 0;
    for (int slot : slots) {
        mask |= 1u << (slot - 1);
    }
    return mask;
}

// Slots holding macros of the given names (slot k from index k - 1; empty text = free slot).
Slots SlotsNamed(const std::array<std::u16string_view, kMacroSlotCount>& names) {
    Slots slots{};
    for (std::size_t k = 0; k < kMacroSlotCount; ++k) {
        if (!names[k].empty()) {
            const MacroName name = MakeMacroName(names[k]);
            std::copy(name.begin(), name.end(), slots[k].begin());
            slots[k][kMacroNameSize + 1] = static_cast<uint8_t>(k + 1);
        }
    }
    return slots;
}

struct ChoiceCase {
    const char* what;
    SlotMask in_use;
    std::array<std::u16string_view, kMacroSlotCount> names;  // names the slots hold
    int six;                                                 // FindBaseMacroCount, 0: none
    int four;                                                // FindBaseMacroIndex, 0: none
};

// The macro being given is named "New".
const ChoiceCase kChoiceCases[] = {
    {"nothing in use", Mask({}), {}, 1, 1},
    {"slot 1", Mask({1}), {u"A"}, 2, 2},
    {"slots 1-3, the same macro in slot 2", Mask({1, 2, 3}), {u"A", u"New", u"C"}, 2, 2},
    {"slots 1-2, the same macro in free slot 5",
     Mask({1, 2}),
     {u"A", u"B", u"", u"", u"New"},
     5,
     3},
    {"the same name in two slots counts as none", Mask({1, 2}), {u"New", u"B", u"", u"New"}, 3, 3},
    {"slots 1-4", Mask({1, 2, 3, 4}), {u"A", u"B", u"C", u"D"}, 5, 0},
    {"slots 1-4, the same macro in slot 3", Mask({1, 2, 3, 4}), {u"A", u"B", u"New", u"D"}, 3, 3},
    {"all six", Mask({1, 2, 3, 4, 5, 6}), {u"A", u"B", u"C", u"D", u"E", u"F"}, 0, 0},
    {"all six, the same macro in slot 4",
     Mask({1, 2, 3, 4, 5, 6}),
     {u"A", u"B", u"C", u"New", u"E", u"F"},
     4,
     4},
    // Gaps: the gap rules, and otherwise the number of slots in use.
    {"slots 1 and 3", Mask({1, 3}), {}, 2, 2},
    {"slots 2 and 4", Mask({2, 4}), {}, 1, 1},
    {"slot 3 only", Mask({3}), {}, 1, 4},
    {"slots 1, 2 and 4", Mask({1, 2, 4}), {}, 3, 3},
    {"slots 1-3 and 5", Mask({1, 2, 3, 5}), {}, 4, 4},
    {"slots 1-4 and 6", Mask({1, 2, 3, 4, 6}), {}, 5, 0},
    {"slots 2-6", Mask({2, 3, 4, 5, 6}), {}, 1, 1},
    {"slots 5 and 6 only", Mask({5, 6}), {}, 2, 1},
    {"a gap beats the same name", Mask({1, 3}), {u"A", u"", u"New"}, 2, 2},
    // The three patterns whose count names a slot in use: the lowest free slot instead.
    {"slots 3-5", Mask({3, 4, 5}), {}, 1, 2},
    {"slots 3-6", Mask({3, 4, 5, 6}), {}, 1, 2},
    {"slots 1 and 4-6", Mask({1, 4, 5, 6}), {}, 2, 2},
};

TEST(MacroSlotChoice, SixSlotsAndTheEngineeringPagesFour) {
    const MacroName name = MakeMacroName(u"New");
    for (const ChoiceCase& c : kChoiceCases) {
        SCOPED_TRACE(c.what);
        const Slots slots = SlotsNamed(c.names);
        const SlotChoice six = FindBaseMacroCount(c.in_use, slots, name);
        const SlotChoice four = FindBaseMacroIndex(c.in_use, slots, name);
        EXPECT_EQ(six.slot, c.six);
        EXPECT_EQ(four.slot, c.four);
        EXPECT_EQ(six.caption_key, c.six == 0 ? "Str104" : "");
        EXPECT_EQ(four.caption_key, c.four == 0 ? "Str104" : "");
    }
}

TEST(MacroSlotChoice, EveryPatternWithARoomGivesAFreeSlotOrTheSameMacro) {
    const MacroName name = MakeMacroName(u"New");
    const Slots others = SlotsNamed({u"A", u"B", u"C", u"D", u"E", u"F"});
    for (SlotMask mask = 0; mask < 64; ++mask) {
        SCOPED_TRACE(mask);
        const SlotChoice six = FindBaseMacroCount(mask, others, name);
        if (mask == 63) {
            EXPECT_FALSE(six);
        } else {
            ASSERT_TRUE(six);
            EXPECT_EQ((mask >> (six.slot - 1)) & 1u, 0u) << "slot " << six.slot;
        }
        const SlotChoice four = FindBaseMacroIndex(mask, others, name);
        if ((mask & 15u) == 15u) {
            EXPECT_FALSE(four);
        } else {
            ASSERT_TRUE(four);
            EXPECT_LE(four.slot, 4);
            EXPECT_EQ((mask >> (four.slot - 1)) & 1u, 0u) << "slot " << four.slot;
        }
    }
}

FunctionCode Code(uint8_t type, uint16_t parameter) {
    return {type, static_cast<uint8_t>(parameter >> 8), static_cast<uint8_t>(parameter & 0xFF)};
}

TEST(MacroSlotChoice, SlotsInUseAreThoseTheMacroCodesPlay) {
    const std::vector<FunctionCode> codes = {
        Code(0x06, 0x0121), Code(0x0E, 0x0321), Code(0x06, 0x00F0),  // fire key: no slot
        Code(0x01, 0x0100), Code(0x03, 0x0721),                      // not a macro code
        Code(0x06, 0x0120),                                          // a driver locator
        Code(0x0E, 0x0721), Code(0x06, 0x0121),
    };
    EXPECT_EQ(SlotsInUse(codes, codes.size()), Mask({1, 3, 6}));
    EXPECT_EQ(SlotsInUse(codes, 1), Mask({1, 6}));
    // Slot 1 is played by two buttons: leaving one out keeps it in use.
    EXPECT_EQ(SlotsInUse(codes, 0), Mask({1, 3, 6}));
}

TEST(MacroSlotChoice, AButtonsOwnMacroDoesNotHoldASlotAndTheEngineeringPageStopsAtFour) {
    const MacroName name = MakeMacroName(u"New");
    const Slots slots = SlotsNamed({u"A", u"B", u"C", u"D", u"E"});
    std::vector<FunctionCode> codes(18, Code(0x01, 0x0100));
    codes[0] = Code(0x06, 0x0121);
    // Reassigning the button that holds the only macro of slot 1 frees slot 1.
    EXPECT_EQ(ChooseMacroSlot(codes, 0, slots, name, AssignTarget::kMainPage).slot, 1);
    EXPECT_EQ(ChooseMacroSlot(codes, 5, slots, name, AssignTarget::kMainPage).slot, 2);

    codes[9] = Code(0x0E, 0x0221);
    codes[10] = Code(0x06, 0x0321);
    codes[11] = Code(0x06, 0x0421);
    // Four different macros in slots 1-4: the main page goes on to slot 5, the engineering
    // page has no room.
    EXPECT_EQ(ChooseMacroSlot(codes, 5, slots, name, AssignTarget::kMainPage).slot, 5);
    const SlotChoice engineering =
        ChooseMacroSlot(codes, 5, slots, name, AssignTarget::kEngineeringPage);
    EXPECT_FALSE(engineering);
    EXPECT_EQ(engineering.caption_key, "Str104");
    // Given from a button that itself plays slot 4, the engineering page takes slot 4.
    EXPECT_EQ(ChooseMacroSlot(codes, 11, slots, name, AssignTarget::kEngineeringPage).slot, 4);
    // Slots 1, 2 and 4 in use: the gap, on either page.
    codes[10] = Code(0x01, 0x0100);
    EXPECT_EQ(ChooseMacroSlot(codes, 5, slots, name, AssignTarget::kEngineeringPage).slot, 3);
}

TEST(MacroSlotChoice, TheButtonsCodeNamesTheSlotAndTheReleaseRule) {
    EXPECT_EQ(CodeText(MacroSlotCode(1, 0x00)), "060121");
    EXPECT_EQ(CodeText(MacroSlotCode(1, 0x01)), "0E0121");
    EXPECT_EQ(CodeText(MacroSlotCode(2, 0x00)), "060221");
    EXPECT_EQ(CodeText(MacroSlotCode(5, 0x01)), "0E0621");
    EXPECT_EQ(CodeText(MacroSlotCode(6, 0x00)), "060721");
}

TEST(MacroSlotChoice, ApplyWritesOnlyPlayedSlotsGivenAMacroSinceTheLastRead) {
    struct Case {
        const char* what;
        std::vector<FunctionCode> codes;
        SlotMask changed;
        SlotMask write;
    };
    const Case cases[] = {
        {"nothing changed", {Code(0x06, 0x0121), Code(0x06, 0x0221)}, 0, 0},
        {"changed slots that buttons play",
         {Code(0x06, 0x0121), Code(0x0E, 0x0421), Code(0x06, 0x0321)},
         Mask({1, 2, 4}),
         Mask({1, 4})},
        {"changed slots no button plays", {Code(0x06, 0x00F0)}, Mask({1, 2, 4}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SlotsToWrite(c.codes, c.changed), c.write);
    }
}

}  // namespace
}  // namespace velq
