#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"
#include "common/user_dirs.h"
#include "device/command_protocol.h"
#include "image/memory_map.h"

namespace velq {

// The undo history: before a flow replaces a whole area of the mouse in one click (a reset, the
// defaults, a profile load, the base macro import, a fire default set, a restore), the mouse's
// whole memory, read so that it can be trusted, is kept as one file in the history folder. A
// file is named by the time it was kept and by what replaced the mouse's settings:
// "20261211-123456.789-reset-1.bin" (UTC, so the names sort by time whatever the time zone or
// daylight saving does). Only the newest kHistoryEntries files of ours stay.

// How many entries the history keeps.
inline constexpr std::size_t kHistoryEntries = 20;

// The folder below the program's state folder that holds the history.
inline constexpr std::string_view kHistorySubfolder = "history";

// Why nothing was replaced: the mouse could not be read for the history, or what was read
// could not be kept in it.
inline constexpr const char* kHistoryReadFailedMessage = "Str916";
inline constexpr const char* kHistoryNotKeptMessage = "Str917";

// One file of the history.
struct HistoryEntry {
    std::filesystem::path file;
    // When it was kept, as "2026-12-11 12:34:56.789" (UTC).
    std::string time;
    // What replaced the mouse's settings after it was kept ("reset-1", "load", "restore").
    std::string cause;
};

// $XDG_STATE_HOME/velq540b/history (by the user folder rules); none without a state folder.
[[nodiscard]] std::optional<std::filesystem::path> HistoryFolder(
    const EnvironmentLookup& get_variable);
[[nodiscard]] std::optional<std::filesystem::path> HistoryFolder();

// Whether `cause` can name an entry: lower-case letters, digits and inner hyphens.
[[nodiscard]] bool ValidHistoryCause(std::string_view cause);

// The history's entries in `folder`, newest first. Files not named as the history names them
// are none of ours and left out; a folder that does not exist holds no entries.
[[nodiscard]] FileResult ListHistory(const std::filesystem::path& folder,
                                     std::vector<HistoryEntry>& entries);

// Keeps `image` in `folder` (created when missing) as a new entry for `cause`, named by `now`,
// or a millisecond after the newest entry when that is not earlier (a clock set back, or two
// entries within one millisecond), so the names always sort in the order the entries were
// kept. The file is written atomically and never replaces another. Then the oldest entries of
// ours beyond kHistoryEntries are removed; one that cannot be removed now is removed by a
// later keep. `kept` receives the new file.
[[nodiscard]] FileResult KeepInHistory(const std::filesystem::path& folder, const DataBuf& image,
                                       std::string_view cause,
                                       std::chrono::system_clock::time_point now,
                                       std::filesystem::path* kept = nullptr);

// An entry's 2048 bytes; any other size is refused (nothing in `image` changes).
[[nodiscard]] FileResult ReadHistoryEntry(const std::filesystem::path& file, DataBuf& image);

// What KeepMouseInHistory did.
struct HistoryResult {
    bool ok = false;
    // On failure: kHistoryReadFailedMessage or kHistoryNotKeptMessage, and what went wrong
    // (the file named, or the read's failure).
    const char* message = nullptr;
    std::string detail;
    // The read failed because the mouse did not answer Open or Status as this firmware does.
    bool not_answering = false;
    // The file kept, on success.
    std::filesystem::path file;
    explicit operator bool() const { return ok; }
};

// The whole memory of the open mouse, read inside a transaction of its own (Open and Status,
// the trusted read, Reload and Close) within kReadTimeLimitMs, and kept in the user's history
// folder for `cause`. A flow that replaces the mouse's settings starts its write only after
// this succeeded.
[[nodiscard]] HistoryResult KeepMouseInHistory(CommandProtocol& protocol, std::string_view cause,
                                               LoadingWindow loading);

}  // namespace velq
