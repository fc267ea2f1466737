#include "macros/macro_library.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>

namespace velq {
namespace {

constexpr detail::LibraryShape kDeviceShape{ContentForm::kDevice, kMacroLibraryFileName,
                                            kMacroLibraryEntries, kMacroLibraryEntries,
                                            kMacroImportOneLimit};
constexpr detail::LibraryShape kUtilityShape{ContentForm::kUtility, kDriverMacroLibraryFileName, 0,
                                             kDriverMacroLibraryMaxRecords,
                                             kDriverMacroImportOneLimit};

MacroName NameOf(std::span<const uint8_t> record) {
    MacroName name{};
    std::copy_n(record.begin(), kMacroNameSize, name.begin());
    return name;
}

// A library record is free only when its name's first two bytes are zero. A name starting
// FF FF marks a free slot in the mouse, not in a file: such a record read from a file is kept
// as it stands (the user's data), though the library never makes one itself.
bool IsFreeRecord(std::span<const uint8_t> record) {
    return record[0] == 0 && record[1] == 0;
}

// A name that would mark a free slot once the macro is given to a button (see IsFreeMacroName):
// no new, renamed or imported macro takes one.
bool HasSlotFreeName(std::span<const uint8_t> record) {
    return IsFreeMacroName(std::span<const uint8_t, kMacroNameSize>(record.first(kMacroNameSize)));
}

LibraryResult Status(LibraryStatus status, std::string error = {}) {
    LibraryResult result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

// The folder of the library file may not exist yet (a per-user data folder on first start); a
// folder that cannot be made shows as the failed write that follows.
void MakeFolder(const std::filesystem::path& folder) {
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
}

}  // namespace

std::optional<std::string_view> LibraryMessageKey(LibraryStatus status) {
    switch (status) {
        case LibraryStatus::kDuplicateName:
            return "Str106";
        case LibraryStatus::kUnfitMacro:
            return "Str103";
        default:
            return std::nullopt;
    }
}

std::filesystem::path ExportFileName(const std::filesystem::path& chosen) {
    std::string extension = chosen.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bin") {
        return chosen;
    }
    std::filesystem::path file = chosen;
    file += ".bin";
    return file;
}

bool IsStorableContent(std::span<const uint8_t> content, ContentForm form) {
    if (content.size() != ContentSize(form)) {
        return false;
    }
    const std::size_t length = StoredLength(content, form);
    if (length == 0) {
        return std::all_of(content.begin(), content.end(), [](uint8_t b) { return b == 0; });
    }
    const std::size_t tokens = length - 1;
    if (tokens > TokenRoom(form)) {
        return false;
    }
    return content[TokenStart(form) + tokens] == MacroChecksum(content, form, tokens);
}

namespace detail {

RecordLibrary::RecordLibrary(const LibraryShape& shape, std::filesystem::path folder)
    : shape_(shape), folder_(std::move(folder)) {}

std::vector<std::u16string> RecordLibrary::Names() const {
    std::vector<std::u16string> names;
    names.reserve(records_.size());
    for (const auto& record : records_) {
        names.push_back(MacroNameText(NameOf(record)));
    }
    return names;
}

MacroName RecordLibrary::NameField(std::size_t index) const {
    return NameOf(records_.at(index));
}

std::vector<uint8_t> RecordLibrary::FileBytes() const {
    const std::size_t count = std::max(shape_.fixed_records, records_.size());
    std::vector<uint8_t> bytes(count * RecordSize(), 0);
    for (std::size_t i = 0; i < records_.size(); ++i) {
        std::copy(records_[i].begin(), records_[i].end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(i * RecordSize()));
    }
    return bytes;
}

RecordLibrary::Records RecordLibrary::ParseFile(std::span<const uint8_t> bytes,
                                                std::vector<uint8_t> base, bool& compacted) const {
    // A fixed-size file is read over what the library holds, so a short one leaves the rest
    // as it was; a list file holds whole records only.
    std::vector<uint8_t> image = std::move(base);
    if (shape_.fixed_records > 0) {
        image.resize(shape_.fixed_records * RecordSize(), 0);
        std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    } else {
        image.assign(bytes.begin(),
                     bytes.begin() +
                         static_cast<std::ptrdiff_t>(bytes.size() / RecordSize() * RecordSize()));
    }
    // A free record below one in use (a hand-made or damaged file) would put a name beyond
    // the end of the list; the macros in use close up instead, in their order.
    Records records;
    compacted = false;
    bool gap = false;
    for (std::size_t at = 0; at + RecordSize() <= image.size(); at += RecordSize()) {
        const auto record = std::span<const uint8_t>(image).subspan(at, RecordSize());
        if (IsFreeRecord(record)) {
            gap = true;
            continue;
        }
        compacted = compacted || gap;
        records.emplace_back(record.begin(), record.end());
    }
    return records;
}

LibraryResult RecordLibrary::LoadFile(std::span<const uint8_t> defaults) {
    records_.clear();
    unreadable_.reset();
    const std::filesystem::path file = File();
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(file, ec);
    // A folder that is missing, or a file where a folder should be, holds no library yet.
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
        unreadable_ = file.string() + ": " + ec.message();
        return Status(LibraryStatus::kLibraryUnreadable, *unreadable_);
    }
    if (!std::filesystem::exists(status)) {
        if (shape_.fixed_records == 0) {
            return Status(LibraryStatus::kDone);
        }
        bool compacted = false;
        records_ = ParseFile(defaults, {}, compacted);
        MakeFolder(folder_);
        const FileResult created = CreateFileAtomically(file, FileBytes());
        if (!created) {
            return Status(LibraryStatus::kSaveFailed, created.error);
        }
        LibraryResult result;
        result.created = true;
        return result;
    }
    std::vector<uint8_t> bytes;
    const FileResult read = ReadWholeFile(file, bytes, shape_.max_records * RecordSize());
    if (!read) {
        unreadable_ = read.error;
        return Status(LibraryStatus::kLibraryUnreadable, read.error);
    }
    LibraryResult result;
    records_ = ParseFile(bytes, {}, result.compacted);
    return result;
}

bool RecordLibrary::NameInUse(const MacroName& name) const {
    return std::any_of(records_.begin(), records_.end(), [&](const std::vector<uint8_t>& record) {
        return std::equal(name.begin(), name.end(), record.begin());
    });
}

LibraryResult RecordLibrary::Commit(Records before, int select) {
    if (unreadable_) {
        records_ = std::move(before);
        return Status(LibraryStatus::kLibraryUnreadable, *unreadable_);
    }
    MakeFolder(folder_);
    const FileResult saved = WriteFileAtomically(File(), FileBytes());
    if (!saved) {
        // Memory keeps matching the file: what the lists show is what the next start finds.
        records_ = std::move(before);
        return Status(LibraryStatus::kSaveFailed, saved.error);
    }
    LibraryResult result;
    result.select = select;
    return result;
}

LibraryResult RecordLibrary::New(std::u16string_view name) {
    const MacroName field = MakeMacroName(name);
    if (name.empty() || IsFreeMacroName(field)) {
        return Status(LibraryStatus::kEmptyName);
    }
    if (!CanAddNew()) {
        return Status(LibraryStatus::kLibraryFull);
    }
    if (NameInUse(field)) {
        return Status(LibraryStatus::kDuplicateName);
    }
    Records before = records_;
    std::vector<uint8_t> record(RecordSize(), 0);
    std::copy(field.begin(), field.end(), record.begin());
    records_.push_back(std::move(record));
    return Commit(std::move(before), static_cast<int>(records_.size() - 1));
}

LibraryResult RecordLibrary::Rename(std::size_t index, std::u16string_view name) {
    if (index >= records_.size()) {
        return Status(LibraryStatus::kNoSuchMacro);
    }
    const MacroName field = MakeMacroName(name);
    if (name.empty() || IsFreeMacroName(field)) {
        return Status(LibraryStatus::kEmptyName);
    }
    if (NameInUse(field)) {
        return Status(LibraryStatus::kDuplicateName);
    }
    Records before = records_;
    std::copy(field.begin(), field.end(), records_[index].begin());
    return Commit(std::move(before), static_cast<int>(index));
}

LibraryResult RecordLibrary::Delete(std::size_t index) {
    if (index >= records_.size()) {
        return Status(LibraryStatus::kNoSuchMacro);
    }
    Records before = records_;
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    const int select = records_.empty() ? -1 : static_cast<int>(index == 0 ? 0 : index - 1);
    return Commit(std::move(before), select);
}

LibraryResult RecordLibrary::ReplaceContent(std::size_t index, std::span<const uint8_t> content) {
    if (index >= records_.size()) {
        return Status(LibraryStatus::kNoSuchMacro);
    }
    Records before = records_;
    std::copy(content.begin(), content.end(), records_[index].begin() + kMacroNameSize);
    return Commit(std::move(before), static_cast<int>(index));
}

LibraryResult RecordLibrary::ImportOne(const std::filesystem::path& file) {
    if (!CanImportOne()) {
        return Status(LibraryStatus::kLibraryFull);
    }
    std::vector<uint8_t> bytes;
    const FileResult read = ReadWholeFile(file, bytes, RecordSize());
    if (!read) {
        return Status(LibraryStatus::kFileFailed, read.error);
    }
    // A short file leaves the rest of the record zero.
    std::vector<uint8_t> record(RecordSize(), 0);
    std::copy(bytes.begin(), bytes.end(), record.begin());
    // The file is whatever the user chose: a macro the page could not show, or one the mouse
    // would reject, never enters the library.
    if (HasSlotFreeName(record) ||
        !IsStorableContent(std::span<const uint8_t>(record).subspan(kMacroNameSize), shape_.form)) {
        return Status(LibraryStatus::kUnfitMacro);
    }
    if (NameInUse(NameOf(record))) {
        return Status(LibraryStatus::kDuplicateName);
    }
    Records before = records_;
    records_.push_back(std::move(record));
    return Commit(std::move(before), static_cast<int>(records_.size() - 1));
}

LibraryResult RecordLibrary::ImportAll(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes;
    const FileResult read = ReadWholeFile(file, bytes, shape_.max_records * RecordSize());
    if (!read) {
        return Status(LibraryStatus::kFileFailed, read.error);
    }
    bool compacted = false;
    Records records = ParseFile(bytes, FileBytes(), compacted);
    Records before = std::exchange(records_, std::move(records));
    LibraryResult result = Commit(std::move(before), -1);
    result.compacted = compacted && result;
    return result;
}

LibraryResult RecordLibrary::ExportOne(std::size_t index,
                                       const std::filesystem::path& chosen) const {
    if (index >= records_.size()) {
        return Status(LibraryStatus::kNoSuchMacro);
    }
    const FileResult written = WriteFileAtomically(ExportFileName(chosen), records_[index]);
    return written ? Status(LibraryStatus::kDone)
                   : Status(LibraryStatus::kFileFailed, written.error);
}

LibraryResult RecordLibrary::ExportAll(const std::filesystem::path& chosen) const {
    const FileResult written = WriteFileAtomically(ExportFileName(chosen), FileBytes());
    return written ? Status(LibraryStatus::kDone)
                   : Status(LibraryStatus::kFileFailed, written.error);
}

}  // namespace detail

MacroLibrary::MacroLibrary(std::filesystem::path folder)
    : RecordLibrary(kDeviceShape, std::move(folder)) {}

std::span<const uint8_t, kMacroContentSize> MacroLibrary::Content(std::size_t index) const {
    return std::span<const uint8_t, kMacroContentSize>(Record(index).subspan(kMacroNameSize));
}

DriverMacroLibrary::DriverMacroLibrary(std::filesystem::path folder)
    : RecordLibrary(kUtilityShape, std::move(folder)) {}

std::span<const uint8_t, kDriverMacroContentSize> DriverMacroLibrary::Content(
    std::size_t index) const {
    return std::span<const uint8_t, kDriverMacroContentSize>(Record(index).subspan(kMacroNameSize));
}

}  // namespace velq
