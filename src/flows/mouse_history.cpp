#include "flows/mouse_history.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "flows/verified_write.h"

namespace velq {
namespace {

using Milliseconds = std::chrono::milliseconds;
using TimePoint = std::chrono::sys_time<Milliseconds>;

// "YYYYMMDD-HHMMSS.mmm", the start of every entry's name.
constexpr std::size_t kStampLength = 19;
constexpr std::string_view kEntryExtension = ".bin";
// A clash with a file that appeared meanwhile moves the name on by a millisecond, a few times.
constexpr int kNameAttempts = 5;

// The stamp of `time` ("20261211-123456.789"); `readable` gives "2026-12-11 12:34:56.789".
std::string Stamp(TimePoint time, bool readable) {
    const auto day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss clock(time - day);
    const int year = static_cast<int>(date.year());
    const auto month = static_cast<unsigned>(date.month());
    const auto day_of_month = static_cast<unsigned>(date.day());
    const auto hours = static_cast<unsigned>(clock.hours().count());
    const auto minutes = static_cast<unsigned>(clock.minutes().count());
    const auto seconds = static_cast<unsigned>(clock.seconds().count());
    const auto millis = static_cast<unsigned>(clock.subseconds().count());
    char text[96];
    if (readable) {
        std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u.%03u", year, month,
                      day_of_month, hours, minutes, seconds, millis);
    } else {
        std::snprintf(text, sizeof text, "%04d%02u%02u-%02u%02u%02u.%03u", year, month,
                      day_of_month, hours, minutes, seconds, millis);
    }
    return text;
}

bool Digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

unsigned Number(std::string_view digits) {
    unsigned value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

// The time a stamp names; none for text that is not a stamp of a real date and time.
std::optional<TimePoint> ParseStamp(std::string_view stamp) {
    if (stamp.size() != kStampLength || stamp[8] != '-' || stamp[15] != '.' ||
        !Digits(stamp.substr(0, 8)) || !Digits(stamp.substr(9, 6)) || !Digits(stamp.substr(16))) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date(
        std::chrono::year(static_cast<int>(Number(stamp.substr(0, 4)))),
        std::chrono::month(Number(stamp.substr(4, 2))),
        std::chrono::day(Number(stamp.substr(6, 2))));
    const unsigned hours = Number(stamp.substr(9, 2));
    const unsigned minutes = Number(stamp.substr(11, 2));
    const unsigned seconds = Number(stamp.substr(13, 2));
    if (!date.ok() || hours > 23 || minutes > 59 || seconds > 59) {
        return std::nullopt;
    }
    return TimePoint(std::chrono::sys_days(date)) + std::chrono::hours(hours) +
           std::chrono::minutes(minutes) + std::chrono::seconds(seconds) +
           Milliseconds(Number(stamp.substr(16)));
}

struct NamedEntry {
    TimePoint time;
    HistoryEntry entry;
};

// The entry a file name names: "<stamp>-<cause>.bin"; none for a name not of ours.
std::optional<NamedEntry> EntryOfName(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    if (name.size() <= kStampLength + 1 + kEntryExtension.size() ||
        !name.ends_with(kEntryExtension) || name[kStampLength] != '-') {
        return std::nullopt;
    }
    const std::optional<TimePoint> time =
        ParseStamp(std::string_view(name).substr(0, kStampLength));
    const std::string cause =
        name.substr(kStampLength + 1, name.size() - kStampLength - 1 - kEntryExtension.size());
    if (!time || !ValidHistoryCause(cause)) {
        return std::nullopt;
    }
    return NamedEntry{*time, {file, Stamp(*time, true), cause}};
}

// Our entries in `folder`, newest first.
FileResult ListNamed(const std::filesystem::path& folder, std::vector<NamedEntry>& entries) {
    entries.clear();
    std::error_code error;
    if (!std::filesystem::exists(folder, error)) {
        if (error) {
            return {false, folder.string() + ": " + error.message()};
        }
        return {true, {}};
    }
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        // A file removed meanwhile (by another run keeping an entry) is simply not listed.
        std::error_code kind_error;
        if (!it->is_regular_file(kind_error)) {
            continue;
        }
        if (std::optional<NamedEntry> named = EntryOfName(it->path())) {
            entries.push_back(std::move(*named));
        }
    }
    if (error) {
        entries.clear();
        return {false, folder.string() + ": " + error.message()};
    }
    std::sort(entries.begin(), entries.end(), [](const NamedEntry& a, const NamedEntry& b) {
        return a.time != b.time ? a.time > b.time
                                : a.entry.file.filename() > b.entry.file.filename();
    });
    return {true, {}};
}

}  // namespace

std::optional<std::filesystem::path> HistoryFolder(const EnvironmentLookup& get_variable) {
    std::optional<std::filesystem::path> state = ProgramFolder(UserFolder::kState, get_variable);
    if (!state) {
        return std::nullopt;
    }
    return *state / std::string(kHistorySubfolder);
}

std::optional<std::filesystem::path> HistoryFolder() {
    return HistoryFolder(ProcessEnvironment());
}

bool ValidHistoryCause(std::string_view cause) {
    const auto allowed = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    };
    return !cause.empty() && cause.front() != '-' && cause.back() != '-' &&
           std::all_of(cause.begin(), cause.end(), allowed);
}

FileResult ListHistory(const std::filesystem::path& folder, std::vector<HistoryEntry>& entries) {
    entries.clear();
    std::vector<NamedEntry> named;
    FileResult listed = ListNamed(folder, named);
    for (NamedEntry& entry : named) {
        entries.push_back(std::move(entry.entry));
    }
    return listed;
}

FileResult KeepInHistory(const std::filesystem::path& folder, const DataBuf& image,
                         std::string_view cause, std::chrono::system_clock::time_point now,
                         std::filesystem::path* kept) {
    if (!ValidHistoryCause(cause)) {
        return {false, "not a name for a history entry: " + std::string(cause)};
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return {false, folder.string() + ": cannot create the folder: " + error.message()};
    }
    std::vector<NamedEntry> entries;
    if (FileResult listed = ListNamed(folder, entries); !listed) {
        return listed;
    }
    TimePoint time = std::chrono::floor<Milliseconds>(now);
    if (!entries.empty() && entries.front().time >= time) {
        time = entries.front().time + Milliseconds(1);
    }
    std::filesystem::path file;
    FileResult written;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt, time += Milliseconds(1)) {
        file =
            folder / (Stamp(time, false) + "-" + std::string(cause) + std::string(kEntryExtension));
        written = CreateFileAtomically(file, image);
        // Only a name taken meanwhile is tried again; any other failure is the answer.
        if (written || !written.refused) {
            break;
        }
    }
    if (!written) {
        return written;
    }
    if (kept != nullptr) {
        *kept = file;
    }
    // The new entry is the newest; the oldest of ours beyond the limit go. A file that cannot
    // be removed now does no harm: the next keep removes it.
    if (ListNamed(folder, entries)) {
        for (std::size_t i = kHistoryEntries; i < entries.size(); ++i) {
            std::filesystem::remove(entries[i].entry.file, error);
        }
    }
    return {true, {}};
}

FileResult ReadHistoryEntry(const std::filesystem::path& file, DataBuf& image) {
    std::vector<uint8_t> bytes;
    FileResult read = ReadWholeFile(file, bytes, image.size());
    if (!read) {
        return read;
    }
    if (bytes.size() != image.size()) {
        return {false,
                file.string() + ": " + std::to_string(bytes.size()) + " bytes, not the " +
                    std::to_string(image.size()) + " of the mouse's memory",
                true};
    }
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return {true, {}};
}

HistoryResult KeepMouseInHistory(CommandProtocol& protocol, std::string_view cause,
                                 LoadingWindow loading) {
    HistoryResult result;
    const std::optional<std::filesystem::path> folder = HistoryFolder();
    if (!folder) {
        // Said before the mouse is read: without a folder nothing could be kept anyway.
        result.message = kHistoryNotKeptMessage;
        result.detail =
            "no folder for the history: neither XDG_STATE_HOME nor HOME is an "
            "absolute path";
        return result;
    }
    DataBuf image{};
    bool read = false;
    {
        const TimeLimit limit(protocol, kReadTimeLimitMs);
        protocol.ResetCounts();
        if (!protocol.SendCommand(Command::kOpen)) {
            result.detail = "the mouse did not acknowledge Open";
            result.not_answering = true;
        } else {
            if (!protocol.SendCommand(Command::kStatus)) {
                result.detail = "the mouse did not acknowledge Status";
                result.not_answering = true;
            } else if (!ParseStatus(protocol.Report()).signature_ok) {
                result.detail = "the mouse's status carries no signature";
                result.not_answering = true;
            } else {
                read = ReadBlockTrusted(protocol, 0, static_cast<uint16_t>(image.size()), image,
                                        loading);
                if (!read) {
                    result.detail = protocol.Counts().stopped ? "the read was stopped"
                                                              : "the read did not complete";
                }
            }
            // A transaction that was opened is closed, whatever the read did.
            (void)protocol.SendCommand(Command::kReload);
            (void)protocol.SendCommand(Command::kClose);
        }
    }
    if (!read) {
        result.message = kHistoryReadFailedMessage;
        return result;
    }
    const FileResult kept =
        KeepInHistory(*folder, image, cause, std::chrono::system_clock::now(), &result.file);
    if (!kept) {
        result.message = kHistoryNotKeptMessage;
        result.detail = kept.error;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace velq
