#include "fire/gun_keys.h"

#include <algorithm>
#include <system_error>

namespace velq {
namespace {

constexpr GunKeyCode kFreeEntry{0, 0, 0};

std::string HexText(const GunKeyCode& code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : code) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

}  // namespace

std::optional<GunKeyCode> GunKeyCodeOf(int gun, int gun6_slots, int gun7_slots) {
    if (gun < 1 || gun > kGunCount) {
        return std::nullopt;
    }
    const GunInfo& info = kGuns[static_cast<std::size_t>(gun - 1)];
    int slots = 1;
    if (gun == 6) {
        slots = std::clamp(gun6_slots, 1, 2);
    } else if (gun == 7) {
        slots = std::clamp(gun7_slots, 1, 3);
    }
    return GunKeyCode{static_cast<uint8_t>(FireCodeType::kGunKey),
                      static_cast<uint8_t>(info.first_slot),
                      static_cast<uint8_t>(info.first_slot + slots - 1)};
}

FileResult GunKeyList::Load(const std::filesystem::path& file) {
    entries_.fill(kFreeEntry);
    unreadable_.reset();
    const FileResult read = ReadEntries(file);
    if (!read) {
        unreadable_ = read.error;
    }
    return read;
}

FileResult GunKeyList::ReadEntries(const std::filesystem::path& file) {
    std::error_code ec;
    file_present_ = std::filesystem::exists(file, ec);
    if (ec) {
        return {false, file.string() + ": " + ec.message()};
    }
    if (!file_present_) {
        return {true, {}};
    }
    // The list is 30 bytes: a larger file, a device or a FIFO is none, and is refused before
    // anything of it is read.
    std::vector<uint8_t> bytes;
    FileResult read = ReadWholeFile(file, bytes, kGunKeyFileSize);
    if (!read) {
        return read;
    }
    if (bytes.size() < kGunKeyFileSize) {
        return {false, file.string() + ": holds " + std::to_string(bytes.size()) + " bytes, not " +
                           std::to_string(kGunKeyFileSize)};
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(3 * i), 3, entries_[i].begin());
    }
    return {true, {}};
}

FileResult GunKeyList::Save(const std::filesystem::path& file) const {
    std::array<uint8_t, kGunKeyFileSize> bytes{};
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::copy(entries_[i].begin(), entries_[i].end(), bytes.begin() + 3 * i);
    }
    return WriteFileAtomically(file, bytes);
}

const GunKeyCode& GunKeyList::Entry(int number) const {
    return entries_.at(static_cast<std::size_t>(number - 1));
}

std::string GunKeyList::EntryText(int number) const {
    return HexText(Entry(number));
}

std::vector<int> GunKeyList::ListedEntries() const {
    std::vector<int> numbers;
    for (int n = 1; n <= kGunKeyEntryCount; ++n) {
        if (Entry(n) != kFreeEntry) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

std::vector<std::string> GunKeyList::Names() const {
    std::vector<std::string> names;
    for (int n : ListedEntries()) {
        names.push_back(NameOfEntry(n));
    }
    return names;
}

std::string GunKeyList::NameOfEntry(int number) {
    return "Fire Macro" + std::to_string(number);
}

std::string GunKeyList::NameOfCode(std::string_view code_text) const {
    if (!file_present_) {
        return {};
    }
    std::string name;
    for (int n : ListedEntries()) {
        if (EntryText(n) == code_text) {
            name = NameOfEntry(n);
        }
    }
    return name;
}

GunKeyResult GunKeyList::Add(int first_slot, int last_slot, const std::filesystem::path& file) {
    if (unreadable_) {
        return {GunKeyStatus::kUnreadable, *unreadable_, -1};
    }
    if (!IsFireSlot(first_slot) || !IsFireSlot(last_slot)) {
        return {GunKeyStatus::kInvalidSlot, {}, -1};
    }
    const auto free = std::find(entries_.begin(), entries_.end(), kFreeEntry);
    if (free == entries_.end()) {
        return {GunKeyStatus::kListFull, {}, -1};
    }
    const auto before = entries_;
    *free = {static_cast<uint8_t>(FireCodeType::kGunKey), static_cast<uint8_t>(first_slot),
             static_cast<uint8_t>(last_slot)};
    const int number = static_cast<int>(free - entries_.begin()) + 1;
    const std::vector<int> listed = ListedEntries();
    const auto at = std::find(listed.begin(), listed.end(), number) - listed.begin();
    return Commit(before, file, static_cast<int>(at));
}

GunKeyResult GunKeyList::Delete(int list_position, const std::filesystem::path& file) {
    if (unreadable_) {
        return {GunKeyStatus::kUnreadable, *unreadable_, -1};
    }
    const std::vector<int> listed = ListedEntries();
    if (list_position < 0 || list_position >= static_cast<int>(listed.size())) {
        return {GunKeyStatus::kNoSuchName, {}, -1};
    }
    const auto before = entries_;
    const auto removed = entries_.begin() + (listed[static_cast<std::size_t>(list_position)] - 1);
    std::move(removed + 1, entries_.end(), removed);
    entries_.back() = kFreeEntry;
    const int remaining = static_cast<int>(listed.size()) - 1;
    const int select = remaining == 0 ? -1 : std::max(list_position - 1, 0);
    return Commit(before, file, select);
}

GunKeyResult GunKeyList::Commit(const std::array<GunKeyCode, kGunKeyEntryCount>& before,
                                const std::filesystem::path& file, int select) {
    FileResult saved = Save(file);
    if (!saved) {
        // Memory keeps matching the file, so what the lists show is what the next start finds.
        entries_ = before;
        return {GunKeyStatus::kWriteFailed, saved.error, -1};
    }
    return {GunKeyStatus::kSaved, {}, select};
}

}  // namespace velq
