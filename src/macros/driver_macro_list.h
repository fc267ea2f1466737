#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "buttons/function_code.h"
#include "macros/macro_content.h"
#include "macros/macro_library.h"
#include "macros/macro_slots.h"

namespace velq {

// With macros kept by the driver, buttons play records of the driver's macro list: record n
// (from 0) lies at offset 0x100 + 0x800 x n of the driver's image and is named by the locator
// 0x0120 + 0x800 x n. The image is 40960 bytes, so records 0..18 fit after its 256 bytes of
// settings.
inline constexpr std::size_t kDriverImageSize = 40960;
inline constexpr std::size_t kDriverMacroListCapacity =
    (kDriverImageSize - kDriverMacroImageOffset) / kDriverMacroRecordSize;

// The driver's macro list as the utility holds it between a read of the driver and an Apply.
class DriverMacroList {
public:
    // Emptied at every identification of the driver.
    void Clear() { records_.clear(); }

    std::size_t Count() const { return records_.size(); }
    std::span<const uint8_t> Record(std::size_t index) const { return records_.at(index); }

    // How many records a read fetches: up to the highest record a button plays, none when no
    // button plays one. The fire key (locator 0x00F0) names no record.
    static std::size_t RecordsToRead(std::span<const FunctionCode> codes);

    // Takes the records of `bytes` read from offset 0x100 of the driver's image, whole records
    // only, in place of the list.
    void TakeRead(std::span<const uint8_t> bytes);

    // The names buttons are shown by (`LB_MacroName`): one per record, empty for a free name.
    std::vector<std::u16string> Names() const;

    // What an Apply writes from offset 0x100 of the driver's image: every record in order.
    std::vector<uint8_t> Bytes() const;

    // After every save of the library: each record takes the content of the first library
    // macro of the same name, so the driver plays the macro as it was last edited.
    void RefreshFromLibrary(const DriverMacroLibrary& library);

    // The record for a library macro given to a button: the first record of the same name, or
    // a copy added at the end. With the list full, the first record no other button plays
    // (`codes` without `button`) takes the copy instead; none when every record is played.
    // Returns the record's position.
    [[nodiscard]] std::optional<std::size_t> Place(std::span<const uint8_t> library_record,
                                                   std::span<const FunctionCode> codes,
                                                   std::size_t button);

private:
    std::vector<std::vector<uint8_t>> records_;
};

struct DriverMacroAssignment {
    FunctionCode code{};           // the button's new code
    std::size_t record = 0;        // the list position that holds the macro
    std::string_view caption_key;  // "Str104" when the driver has no room left
    explicit operator bool() const { return caption_key.empty(); }
};

// A library macro given to main-page button `button` of `codes` (both profiles' codes) in
// driver mode: the record that holds it (DriverMacroList::Place), and the code playing it, type
// 0E for a macro that stops when the button is released, 06 otherwise ("060920" for record 1).
// The list is unchanged when refused.
[[nodiscard]] DriverMacroAssignment ChangeProfile1StringForDriverMode(
    DriverMacroList& list, std::span<const uint8_t> library_record,
    std::span<const FunctionCode> codes, std::size_t button);

}  // namespace velq
