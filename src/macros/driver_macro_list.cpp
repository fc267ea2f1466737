#include "macros/driver_macro_list.h"

#include <algorithm>

#include "buttons/macro_locator.h"
#include "macros/macro_slot_choice.h"

namespace velq {
namespace {

bool IsMacroCode(const FunctionCode& code) {
    return code.type == static_cast<uint8_t>(CodeType::kMacroRun) ||
           code.type == static_cast<uint8_t>(CodeType::kMacroHold);
}

bool SameName(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    return std::equal(a.begin(), a.begin() + kMacroNameSize, b.begin());
}

}  // namespace

std::size_t DriverMacroList::RecordsToRead(std::span<const FunctionCode> codes) {
    std::size_t count = 0;
    for (const FunctionCode& code : codes) {
        if (!IsMacroCode(code)) {
            continue;
        }
        if (const auto n = DriverMacroIndexOfLocator(code.Parameter())) {
            count = std::max(count, *n + 1);
        }
    }
    return std::min(count, kDriverMacroListCapacity);
}

void DriverMacroList::TakeRead(std::span<const uint8_t> bytes) {
    records_.clear();
    for (std::size_t at = 0; at + kDriverMacroRecordSize <= bytes.size();
         at += kDriverMacroRecordSize) {
        const auto record = bytes.subspan(at, kDriverMacroRecordSize);
        records_.emplace_back(record.begin(), record.end());
    }
}

std::vector<std::u16string> DriverMacroList::Names() const {
    std::vector<std::u16string> names;
    for (const auto& record : records_) {
        const auto name = std::span<const uint8_t, kMacroNameSize>(record.data(), kMacroNameSize);
        names.push_back(IsFreeMacroName(name) ? std::u16string() : MacroNameText(name));
    }
    return names;
}

std::vector<uint8_t> DriverMacroList::Bytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(records_.size() * kDriverMacroRecordSize);
    for (const auto& record : records_) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

void DriverMacroList::RefreshFromLibrary(const DriverMacroLibrary& library) {
    for (auto& record : records_) {
        for (std::size_t i = 0; i < library.Count(); ++i) {
            const auto from = library.Record(i);
            if (SameName(from, record)) {
                std::copy(from.begin() + kMacroNameSize, from.end(),
                          record.begin() + kMacroNameSize);
                break;
            }
        }
    }
}

std::optional<std::size_t> DriverMacroList::Place(std::span<const uint8_t> library_record,
                                                  std::span<const FunctionCode> codes,
                                                  std::size_t button) {
    for (std::size_t n = 0; n < records_.size(); ++n) {
        if (SameName(records_[n], library_record)) {
            return n;
        }
    }
    const std::vector<uint8_t> copy(library_record.begin(), library_record.end());
    if (records_.size() < kDriverMacroListCapacity) {
        records_.push_back(copy);
        return records_.size() - 1;
    }
    // The driver's image has no room for another record: one that no button plays any more
    // (its button was given something else since) makes room without taking a macro away.
    std::vector<bool> played(records_.size(), false);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i == button || !IsMacroCode(codes[i])) {
            continue;
        }
        if (const auto n = DriverMacroIndexOfLocator(codes[i].Parameter());
            n && *n < played.size()) {
            played[*n] = true;
        }
    }
    const auto free = std::find(played.begin(), played.end(), false);
    if (free == played.end()) {
        return std::nullopt;
    }
    const auto n = static_cast<std::size_t>(free - played.begin());
    records_[n] = copy;
    return n;
}

DriverMacroAssignment ChangeProfile1StringForDriverMode(DriverMacroList& list,
                                                        std::span<const uint8_t> library_record,
                                                        std::span<const FunctionCode> codes,
                                                        std::size_t button) {
    DriverMacroAssignment result;
    if (library_record.size() != kDriverMacroRecordSize) {
        result.caption_key = kNoFreeSlotCaptionKey;
        return result;
    }
    const auto n = list.Place(library_record, codes, button);
    const auto locator = n ? DriverMacroLocator(*n) : std::nullopt;
    if (!locator) {
        result.caption_key = kNoFreeSlotCaptionKey;
        return result;
    }
    const CodeType type = library_record[kMacroNameSize] == kStopOnReleaseFlag
                              ? CodeType::kMacroHold
                              : CodeType::kMacroRun;
    result.code = FunctionCode{static_cast<uint8_t>(type), static_cast<uint8_t>(*locator >> 8),
                               static_cast<uint8_t>(*locator & 0xFF)};
    result.record = *n;
    return result;
}

}  // namespace velq
