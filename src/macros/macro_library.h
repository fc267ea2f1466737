#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"
#include "macros/macro_content.h"
#include "macros/macro_name.h"

namespace velq {

// The user's macros live in a library on disk; the macro page lists it and changes one entry at
// a time, and every change is written to the library file at once, so nothing is lost when
// the program ends.
//
// With macros kept in the mouse the library is "Macro.bin": 100 records of 256 bytes (32-byte
// name, 224-byte device-form content), free records zero. With macros kept by the driver it is
// "Driver_Macro.bin": one 2048-byte record (32-byte name, 2016-byte utility-form content) per
// macro. Neither file has a header; each content carries its own checksum.
//
// The macros in use always form the records 0 .. Count() - 1, so a list position is a library
// index.

inline constexpr std::string_view kMacroLibraryFileName = "Macro.bin";
inline constexpr std::string_view kDriverMacroLibraryFileName = "Driver_Macro.bin";
inline constexpr std::size_t kMacroLibraryEntries = 100;
inline constexpr std::size_t kMacroLibraryFileSize = kMacroLibraryEntries * kMacroSlotSize;

// New refuses a 101st name in either library. Import One stops one earlier in the device-form
// library (at 99 names, so it never fills the last entry) and at 9999 in the other, which is
// also the most records a driver library file may hold.
inline constexpr std::size_t kMacroNameLimit = 100;
inline constexpr std::size_t kMacroImportOneLimit = 99;
inline constexpr std::size_t kDriverMacroImportOneLimit = 9999;
inline constexpr std::size_t kDriverMacroLibraryMaxRecords = 9999;

enum class LibraryStatus {
    kDone,              // the library changed (or was loaded) and its file holds it
    kEmptyName,         // no name (or one that would mark a free slot in the mouse): nothing
                        // changed
    kDuplicateName,     // a macro of this name exists: nothing changed
    kLibraryFull,       // no room for another macro: nothing changed
    kNoSuchMacro,       // no macro at that list position: nothing changed
    kUnfitMacro,        // an imported macro with a free name, a content that fails its
                        // checksum or one that does not fit its form: nothing changed
    kFileFailed,        // a chosen file could not be read or written, or was refused for its
                        // kind or size; `error` names it
    kSaveFailed,        // the library file could not be written: the library is as it was
                        // and `error` names the file
    kLibraryUnreadable  // the library file could not be read at load: the library is empty,
                        // and every change is refused so the file is never replaced unseen
};

// The caption key of the message the page shows for a status, if it has one of its own.
std::optional<std::string_view> LibraryMessageKey(LibraryStatus status);

struct LibraryResult {
    LibraryStatus status = LibraryStatus::kDone;
    std::string error;
    int select = -1;         // list position to select afterwards; -1: none
    bool created = false;    // Load: the file was missing and has been created
    bool compacted = false;  // Load, Import All: free records (name 00 00) below used ones
                             // were dropped; the file follows at the next save
    explicit operator bool() const { return status == LibraryStatus::kDone; }
};

// The file an export writes: the chosen name with ".bin" appended unless it ends in it already
// (in any case, "macro.BIN" stays as it is).
std::filesystem::path ExportFileName(const std::filesystem::path& chosen);

// Whether an imported content can be stored: empty (all zero), or a length within the form's
// room closed by a matching checksum.
bool IsStorableContent(std::span<const uint8_t> content, ContentForm form);

namespace detail {

// What tells the two libraries apart.
struct LibraryShape {
    ContentForm form;
    std::string_view file_name;
    std::size_t fixed_records;  // records the file always holds; 0: one per macro
    std::size_t max_records;    // most records a library file may hold
    std::size_t import_one_limit;
};

// The library operations, over records of name + content.
class RecordLibrary {
public:
    std::size_t Count() const { return records_.size(); }
    std::vector<std::u16string> Names() const;
    MacroName NameField(std::size_t index) const;
    std::span<const uint8_t> Record(std::size_t index) const { return records_.at(index); }

    bool CanAddNew() const { return Count() < kMacroNameLimit; }
    bool CanImportOne() const { return Count() < shape_.import_one_limit; }

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path File() const { return folder_ / std::string(shape_.file_name); }

    // New macro named `name` (cut to 16 code units) with an empty content, added at the end.
    [[nodiscard]] LibraryResult New(std::u16string_view name);
    // Renames the macro at `index`; the content stays. The name of any macro (this one too)
    // is refused as a duplicate.
    [[nodiscard]] LibraryResult Rename(std::size_t index, std::u16string_view name);
    // Removes the macro at `index`; the later ones move up by one.
    [[nodiscard]] LibraryResult Delete(std::size_t index);

    // Adds the macro of a single-macro file (name, then content) at the end.
    [[nodiscard]] LibraryResult ImportOne(const std::filesystem::path& file);
    // Replaces the library by a whole-library file, without a duplicate check.
    [[nodiscard]] LibraryResult ImportAll(const std::filesystem::path& file);
    [[nodiscard]] LibraryResult ExportOne(std::size_t index,
                                          const std::filesystem::path& chosen) const;
    [[nodiscard]] LibraryResult ExportAll(const std::filesystem::path& chosen) const;

    // The bytes of the library file.
    std::vector<uint8_t> FileBytes() const;

protected:
    using Records = std::vector<std::vector<uint8_t>>;

    RecordLibrary(const LibraryShape& shape, std::filesystem::path folder);

    std::size_t RecordSize() const { return kMacroNameSize + ContentSize(shape_.form); }
    // Reads the library file, or creates it from `defaults` (in the file's layout; missing
    // bytes are zero) when it is missing and the library has a fixed size.
    [[nodiscard]] LibraryResult LoadFile(std::span<const uint8_t> defaults);
    [[nodiscard]] LibraryResult ReplaceContent(std::size_t index, std::span<const uint8_t> content);

private:
    // The records of a library file laid over `base` (fixed size) or alone, free ones dropped.
    Records ParseFile(std::span<const uint8_t> bytes, std::vector<uint8_t> base,
                      bool& compacted) const;
    bool NameInUse(const MacroName& name) const;
    // Saves the library; on failure the records go back to `before`.
    [[nodiscard]] LibraryResult Commit(Records before, int select);

    LibraryShape shape_;
    std::filesystem::path folder_;
    Records records_;
    std::optional<std::string> unreadable_;
};

}  // namespace detail

// The device-form library of "Macro.bin".
class MacroLibrary : public detail::RecordLibrary {
public:
    explicit MacroLibrary(std::filesystem::path folder);

    // Reads "Macro.bin" from the folder. A missing file is created from `defaults` (the factory
    // library in the file's layout; all zero when none is given), 25600 bytes. A file larger
    // than 25600 bytes, or not a regular file, is refused.
    [[nodiscard]] LibraryResult Load(std::span<const uint8_t> defaults = {}) {
        return LoadFile(defaults);
    }

    std::span<const uint8_t, kMacroContentSize> Content(std::size_t index) const;
    // The editor's commit: the content of the macro at `index`, saved at once.
    [[nodiscard]] LibraryResult SetContent(std::size_t index,
                                           std::span<const uint8_t, kMacroContentSize> content) {
        return ReplaceContent(index, content);
    }
};

// The utility-form library of "Driver_Macro.bin".
class DriverMacroLibrary : public detail::RecordLibrary {
public:
    explicit DriverMacroLibrary(std::filesystem::path folder);

    // Reads "Driver_Macro.bin" (size div 2048 records). A missing file leaves the library
    // empty; the file is written with the first change.
    [[nodiscard]] LibraryResult Load() { return LoadFile({}); }

    std::span<const uint8_t, kDriverMacroContentSize> Content(std::size_t index) const;
    [[nodiscard]] LibraryResult SetContent(
        std::size_t index, std::span<const uint8_t, kDriverMacroContentSize> content) {
        return ReplaceContent(index, content);
    }
};

}  // namespace velq
