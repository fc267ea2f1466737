#include "buttons/key_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velq {
namespace {

TEST(KeyEntryTest, TheLastKeyPressedGivesNameAndTail) {
    struct Case {
        EditKind kind;
        std::vector<int> keys;  // virtual keys, in the order pressed
        std::string field;
        std::string tail;
    };
    const std::vector<Case> cases = {
        {EditKind::kRelease, {0x5A}, "Z", "Z CODE:021D"},
        {EditKind::kPress, {0x5A}, "Z", "Z CODE:821D"},
        {EditKind::kPress, {0x41, 0x42}, "B", "B CODE:8205"},  // a new key replaces the last
        {EditKind::kPress, {0x41, 0x41}, "A", "A CODE:8204"},  // auto-repeat keeps it
        {EditKind::kPress, {0x10}, "Shift", "Shift CODE:82E1"},
        {EditKind::kRelease, {0x5B}, "Left Windows", "Left Windows CODE:02E3"},
        {EditKind::kPress, {0x70}, "F1", "F1 CODE:823A"},
        {EditKind::kPress, {0x41, 0}, "A", "A CODE:8204"},  // a key without a code is not seen
        {EditKind::kPress, {}, "", ""},
    };
    for (const Case& c : cases) {
        KeyEntry entry(c.kind);
        for (const int key : c.keys) {
            entry.PressKey(key);
        }
        EXPECT_EQ(entry.field(), c.field) << c.tail;
        EXPECT_EQ(entry.tail(), c.tail) << c.field;
    }
}

TEST(KeyEntryTest, ClearEmptiesTheFieldOnly) {
    KeyEntry entry(EditKind::kRelease);
    entry.PressKey(0x5A);
    entry.Clear();
    EXPECT_EQ(entry.field(), "");
    EXPECT_EQ(entry.tail(), "Z CODE:021D");
    entry.PressKey(0x41);
    EXPECT_EQ(entry.field(), "A");
    EXPECT_EQ(entry.tail(), "A CODE:0204");
}

}  // namespace
}  // namespace velq
