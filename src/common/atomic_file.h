#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace velq {

// The outcome of a file operation; `error` names the file and what went wrong.
struct FileResult {
    bool ok = false;
    std::string error;
    // True when the file was refused for its kind (not a regular file) or its size before
    // anything of it was read.
    bool refused = false;
    explicit operator bool() const { return ok; }
};

// No limit on the size of a file that is read (its kind is still checked).
inline constexpr std::uintmax_t kAnyFileSize = std::numeric_limits<std::uintmax_t>::max();

// Writes `bytes` to a temporary file in the target's folder, flushes it and renames it over
// the target, so a crash or a full disk never leaves a half-written file behind: the file holds
// the old bytes or the new ones, whole.
//
// The target is what `path` names after its symbolic links are followed, so a link stays a
// link and its target takes the bytes. A target that is not a regular file, or that the user
// may not write (which the rename alone would not notice: it needs only the folder), is
// refused with a message naming it. The temporary file is named
// "<target name>.tmp-<process id>-<six letters or digits>"; one that a save of a process no
// longer running left beside the target (a crash between its creation and the rename) is
// removed before the next save of that target, as is "<target name>.tmp-<six letters or
// digits>" of earlier versions of this program.
[[nodiscard]] FileResult WriteFileAtomically(const std::filesystem::path& path,
                                             std::span<const uint8_t> bytes);

// What WriteFileAtomically checks before it writes anything: the file `path` leads to is a
// regular file the user may write, or nothing stands there yet. A program that keeps a file
// open for later saves asks at its start, so that the user hears of it at once.
[[nodiscard]] FileResult CheckWritable(const std::filesystem::path& path);

// Like WriteFileAtomically, but only when nothing stands at `path` yet: an existing file (or
// anything else there) is never replaced, and the failure says so.
[[nodiscard]] FileResult CreateFileAtomically(const std::filesystem::path& path,
                                              std::span<const uint8_t> bytes);

// Reads a whole file of at most `max_size` bytes. The file is judged before anything is read:
// a path that is not a regular file (a device such as /dev/zero, a FIFO, a folder) or a file
// larger than `max_size` is refused, so choosing the wrong file never blocks the program or
// fills its memory. On failure `bytes` is empty and the result names the file.
[[nodiscard]] FileResult ReadWholeFile(const std::filesystem::path& path,
                                       std::vector<uint8_t>& bytes,
                                       std::uintmax_t max_size = kAnyFileSize);

// Reads the first `count` bytes of a regular file, or all of a shorter one; the rest of a
// longer file is left unread. Other kinds of file are refused as by ReadWholeFile.
[[nodiscard]] FileResult ReadFileStart(const std::filesystem::path& path,
                                       std::vector<uint8_t>& bytes, std::size_t count);

}  // namespace velq
