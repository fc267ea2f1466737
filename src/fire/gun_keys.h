#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"
#include "fire/fire_codes.h"

namespace velq {

// The seven guns of the fire page: the slots each one uses and the caption key of its name.
struct GunInfo {
    int first_slot;
    int rows;  // slots shown on the page, from first_slot on
    std::string_view name_key;
};

inline constexpr int kGunCount = 7;
inline constexpr std::array<GunInfo, kGunCount> kGuns{{
    {1, 1, "Str600"},  // AKM
    {2, 1, "Str601"},  // M16
    {3, 1, "Str602"},  // M4
    {4, 1, "Str603"},  // UMP9
    {5, 1, "Str604"},  // SCAR-L
    {6, 2, "Str605"},  // 5.56 mm fire, slots 6-7
    {8, 3, "Str606"},  // 7.62 mm fire, slots 8-10
}};

using GunKeyCode = std::array<uint8_t, 3>;  // 0x0C, first slot, last slot

// The gun key code a confirm on the fire page puts on the button: gun 6 ends at slot 6 or 7
// by gun6_slots (1..2), gun 7 at slot 8, 9 or 10 by gun7_slots (1..3). A slot count outside
// its range is limited to it, so a gun never reaches into another gun's slots. None for a gun
// outside 1..7.
std::optional<GunKeyCode> GunKeyCodeOf(int gun, int gun6_slots, int gun7_slots);

inline constexpr std::string_view kGunKeyFileName = "VELQ540B Fire Macro.bin";
inline constexpr int kGunKeyEntryCount = 10;
inline constexpr std::size_t kGunKeyFileSize = 30;

enum class GunKeyStatus {
    kSaved,        // the list changed and the file was written
    kListFull,     // ten names already: nothing changed
    kInvalidSlot,  // a slot outside 1..10: nothing changed
    kNoSuchName,   // no name at that list position: nothing changed
    kWriteFailed,  // the file could not be written: the list is as it was, `error` names the file
    kUnreadable,   // the file could not be read at load: the list is empty and every change is
                   // refused, so the file is never replaced unseen; `error` says why
};

struct GunKeyResult {
    GunKeyStatus status = GunKeyStatus::kSaved;
    std::string error;
    int select = -1;  // list position to select afterwards, -1 when the list is empty
    explicit operator bool() const { return status == GunKeyStatus::kSaved; }
};

// The further gun function codes of the engineering page: ten entries of 0x0C, first slot,
// last slot, 00 00 00 when free, kept in a 30-byte file without header or checksum. Entry i
// (1..10) is named "Fire Macro<i>"; free entries have no name and are left out of the lists
// but keep the numbering of the others.
class GunKeyList {
public:
    // Reads the file. A missing file is no error: the list stays empty and FilePresent() is
    // false. A file that is not exactly 30 bytes, is not a regular file or cannot be read
    // leaves the list empty and is reported; a larger one is refused before it is read. Such a
    // file holds what the user had (a longer one perhaps the list and more), so the list then
    // refuses every change (kUnreadable) until a later load reads a file.
    [[nodiscard]] FileResult Load(const std::filesystem::path& file);
    [[nodiscard]] FileResult Save(const std::filesystem::path& file) const;

    // Whether the file existed when the list was loaded; button names follow the list only
    // then.
    bool FilePresent() const { return file_present_; }

    const GunKeyCode& Entry(int number) const;  // 1..10
    std::string EntryText(int number) const;    // six upper-case hex digits
    std::vector<int> ListedEntries() const;     // numbers of the named entries, in order
    std::vector<std::string> Names() const;     // "Fire Macro<n>" of each listed entry
    static std::string NameOfEntry(int number);

    // The name a button with this code text shows: the last entry holding the code wins.
    // Empty when no entry holds it or the file was not present at load.
    std::string NameOfCode(std::string_view code_text) const;

    // Adds 0C first last (no order check between the two) as the next entry and writes the
    // file. The new entry takes the first free number, which with the list kept without gaps
    // is the one after the last name; a gap in a hand-made file is filled rather than a named
    // entry overwritten. `select` is the new name's list position.
    [[nodiscard]] GunKeyResult Add(int first_slot, int last_slot,
                                   const std::filesystem::path& file);

    // Removes the name at list position p (from 0), moves the later entries down by one and
    // writes the file. `select` is position p-1, or 0 when p was 0, if any name remains.
    [[nodiscard]] GunKeyResult Delete(int list_position, const std::filesystem::path& file);

private:
    // Load's reading, without its record of a failure.
    [[nodiscard]] FileResult ReadEntries(const std::filesystem::path& file);
    [[nodiscard]] GunKeyResult Commit(const std::array<GunKeyCode, kGunKeyEntryCount>& before,
                                      const std::filesystem::path& file, int select);

    std::array<GunKeyCode, kGunKeyEntryCount> entries_{};
    bool file_present_ = false;
    // Why the file could not be read at load; changes are refused while it is set.
    std::optional<std::string> unreadable_;
};

}  // namespace velq
