#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velq {

// The macro line a key dialog edits: a key press ("1 ...") or a key release ("2 ...").
enum class EditKind : uint8_t { kPress = 1, kRelease = 2 };

// The part of a key line after its kind: the key's name, " CODE:", then "82" + usage for a
// press or "02" + usage for a release ("Z CODE:021D").
std::string KeyLineTail(std::string_view key_name, uint8_t usage, EditKind kind);

// The state of the key dialog: the last key pressed, shown by name, and the line tail it makes.
// Every key counts, modifiers too (Shift is "Shift", usage E1), and each replaces the last.
class KeyEntry {
public:
    explicit KeyEntry(EditKind kind) : kind_(kind) {}

    // A key pressed, by its Windows virtual-key code (0: the keyboard's key has none, and is
    // not seen).
    void PressKey(int virtual_key);
    // Clear empties the field only; the tail of the last key stays, and a confirmed empty name
    // means no key.
    void Clear() { field_.clear(); }

    EditKind kind() const { return kind_; }
    const std::string& field() const { return field_; }
    const std::string& tail() const { return tail_; }

private:
    EditKind kind_;
    std::string field_;
    std::string tail_;
};

}  // namespace velq
