#include "velqctl.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>

#include "common/atomic_file.h"
#include "config/config_codec.h"
#include "config/config_json.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/report_descriptor.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/factory_mouse.h"
#include "flows/flow_host.h"
#include "flows/mouse_history.h"
#include "flows/verified_write.h"
#include "image/profile_file.h"
#include "shell/caption_table.h"
#include "velqctl_args.h"
#include "velqctl_dump.h"

namespace velq {
namespace {

constexpr const char* kFooter =
    "--virtual FILE uses the virtual mouse with its memory kept in FILE: created when it does\n"
    "  not exist; an existing file is used only when it is a 2048-byte memory, else refused\n"
    "  and left as it is.\n"
    "--device PATH uses the mouse interface at PATH (as 'list' shows it) when several such\n"
    "  mice are connected; without it the first mouse in sorted path order is used.\n"
    "Numbers are decimal or 0x-prefixed hexadecimal. 'velqctl COMMAND --help' describes a\n"
    "command.\n";

constexpr const char* kKeysHelp =
    "Keys are those of 'dump --json', positions counting from 0: dpi.count, dpi.current\n"
    "(level 1..7), dpi.levels[N].value (a DPI of the list: 500 ... 8000), dpi.levels[N].colour\n"
    "(RRGGBB), lighting.on, lighting.mode, lighting.step, lighting.full_brightness,\n"
    "lighting.lamps, lighting.modes_offered[N], buttons.office[N].code and\n"
    "buttons.gaming[N].code (six upper-case hex digits), key_mode (office or gaming),\n"
    "options.*, fire_key.while_held, fire_key.repeat, fire_key.interval,\n"
    "fire_slots[N].y_adjust, fire_slots[N].colour, aim_dpi. Keys only shown (names, sections,\n"
    "macros, the light type, the device codes, ...) are accepted when equal to what the mouse\n"
    "holds. A profile keeps at least one left click (010100). A new dpi.count makes its top\n"
    "level current, as the window does, unless dpi.current is given too. Every setting that\n"
    "changes is printed with the value the mouse then holds.\n";

// The largest configuration file apply reads; a configuration is a few kilobytes.
constexpr std::uintmax_t kMaxConfigFileSize = 1 << 20;

// Where the udev rule comes from and how it is put in place, for a user who may not open the
// mouse.
constexpr const char* kUdevRuleAdvice =
    "velqctl: install the udev rule packaging/70-velq540b.rules as 70-velq540b.rules in udev's\n"
    "  rules directory ('sudo cmake --install build --prefix /usr', or copy it to\n"
    "  /etc/udev/rules.d/), then run 'sudo udevadm control --reload && sudo udevadm trigger'\n"
    "  or replug the mouse; the rule gives the user logged in at the seat access\n";

constexpr uint32_t kMemorySize = 2048;

// A report descriptor holds at most 4096 bytes; as hex text with separators and comments it
// stays far below this.
constexpr std::uintmax_t kMaxDescriptorFileSize = 1 << 20;

enum Exit { kOk = 0, kFailed = 1, kBadArguments = 2 };

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFF);
    return text;
}

std::string Hex2(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
    return text;
}

// The device stack of one run: the chosen backend, the link and the protocol on it.
class Session {
public:
    // `device_path` restricts the mouse search to that interface (empty: the first mouse).
    Session(std::unique_ptr<HidBackend> backend, Clock& clock, const std::string& device_path,
            std::ostream& err)
        : backend_(std::move(backend)), link_(*backend_), protocol_(link_, clock), err_(err) {
        link_.ChoosePath(device_path);
    }
    // A transaction still open (a command that stopped half-way) is closed all the same.
    ~Session() {
        if (open_) {
            End();
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    DeviceLink& Link() { return link_; }
    CommandProtocol& Protocol() { return protocol_; }

    bool OpenMouse() {
        uint16_t release = kMouseReleaseNumber;
        if (link_.OpenMouse(MouseVendorId, MouseProductId, release)) {
            return true;
        }
        if (link_.MouseAccessDenied()) {
            err_ << "velqctl: the mouse is connected (" << link_.DeniedPath()
                 << "), but this user may not open it\n"
                 << kUdevRuleAdvice;
            return false;
        }
        err_ << "velqctl: no mouse found";
        if (!link_.ChosenPath().empty()) {
            err_ << " at " << link_.ChosenPath();
        }
        err_ << " (" << Hex4(MouseVendorId) << ":" << Hex4(MouseProductId) << " release "
             << Hex4(kMouseReleaseNumber)
             << " with 8-byte feature reports); 'velqctl list' shows what is there\n";
        return false;
    }

    // True once the open mouse has been unplugged (or none is open).
    bool MouseGone() const {
        const HidDevice* device = link_.Device();
        return device == nullptr || device->Gone();
    }
    // Prints that the mouse went away during `what`, once per run.
    void ReportGone(const std::string& what) {
        if (!gone_reported_) {
            err_ << "velqctl: the mouse went away during " << what << "\n";
            gone_reported_ = true;
        }
    }

    // Open and Status as the mouse expects them at the start of a transaction. On a refusal
    // the transaction is closed again and the reason printed.
    bool Begin(bool for_writing, StatusAnswer* status_out = nullptr) {
        if (!protocol_.SendCommand(Command::kOpen)) {
            err_ << "velqctl: the mouse did not acknowledge Open\n";
            return false;
        }
        open_ = true;
        if (!protocol_.SendCommand(Command::kStatus)) {
            err_ << "velqctl: the mouse did not acknowledge Status\n";
            End();
            return false;
        }
        const StatusAnswer status = ParseStatus(protocol_.Report());
        if (status_out != nullptr) {
            *status_out = status;
        }
        if (!status.signature_ok) {
            err_ << "velqctl: the mouse refused: its status carries no signature ("
                 << Hex2(protocol_.Report()[1]) << ")\n";
            End();
            return false;
        }
        if (for_writing && !status.write_enabled) {
            err_ << "velqctl: the mouse refused: it does not permit writes\n";
            End();
            return false;
        }
        return true;
    }

    // Reload and Close; true when both were acknowledged.
    bool End() {
        open_ = false;
        const bool reloaded = protocol_.SendCommand(Command::kReload);
        const bool closed = protocol_.SendCommand(Command::kClose);
        if (MouseGone()) {
            ReportGone("the transaction");
            return false;
        }
        if (!reloaded || !closed) {
            err_ << "velqctl: the mouse did not acknowledge " << (reloaded ? "Close" : "Reload")
                 << "\n";
        }
        return reloaded && closed;
    }

private:
    std::unique_ptr<HidBackend> backend_;
    DeviceLink link_;
    CommandProtocol protocol_;
    std::ostream& err_;
    bool gone_reported_ = false;
    bool open_ = false;  // Open was acknowledged and the transaction not yet ended
};

// Reads a block that can be trusted: every chunk answered, and a read in which an answer was
// lost (the mouse may have moved on) repeated until a read is clean or two agree. False, with
// the reason printed, otherwise; `bytes` then holds nothing that could pass for the mouse's
// memory.
bool ReadTrusted(Session& session, uint16_t address, uint16_t length, std::span<uint8_t> bytes,
                 std::ostream& err) {
    CommandProtocol& protocol = session.Protocol();
    if (ReadBlockTrusted(protocol, address, length, bytes, LoadingWindow::kHidden)) {
        return true;
    }
    std::fill(bytes.begin(), bytes.end(), 0xFF);
    // The counts are those of the last read that was tried.
    const ChunkCounts counts = protocol.Counts();
    const int chunks = (length + 5) / 6;
    if (session.MouseGone()) {
        session.ReportGone("the read; nothing was read");
    } else if (counts.unanswered_reads > 0) {
        err << "velqctl: " << counts.unanswered_reads << " of the " << chunks
            << " 6-byte chunks read were never answered; nothing was read\n";
    } else if (counts.retried_reads > 0) {
        err << "velqctl: answers of the mouse were lost and " << kSuspectReadRepeats + 1
            << " reads did not agree; nothing was read\n";
    } else {
        err << "velqctl: the mouse did not acknowledge the read\n";
    }
    return false;
}

// Whether the mouse holds `image` in `range`, by a read that can be trusted.
bool HoldsImage(Session& session, const DataBuf& image, const SectionRange& range,
                std::ostream& err) {
    std::vector<uint8_t> held(range.size);
    if (!ReadTrusted(session, static_cast<uint16_t>(range.address),
                     static_cast<uint16_t>(range.size), held, err)) {
        return false;
    }
    return std::equal(held.begin(), held.end(), image.begin() + range.address);
}

// Opens the mouse for a whole-image or configuration write: the transaction begun with write
// permission, and a chip the verified write knows. False (and said) otherwise.
bool BeginWriting(Session& session, std::ostream& err) {
    StatusAnswer status;
    if (!session.OpenMouse() || !session.Begin(true, &status)) {
        return false;
    }
    if (status.chip_number == 0) {
        err << "velqctl: the mouse refused: its chip is not recognised\n";
        session.End();
        return false;
    }
    return true;
}

int List(Session& session, std::ostream& out) {
    HidBackend& backend = session.Link().Backend();
    for (const std::string& path : backend.EnumerateHid()) {
        std::unique_ptr<HidDevice> device = backend.OpenHid(path);
        if (device == nullptr) {
            if (const std::optional<HidListing> listed = backend.AccessDenied(path)) {
                out << path << " " << Hex4(listed->attributes.vendor_id) << ":"
                    << Hex4(listed->attributes.product_id) << " "
                    << Hex4(listed->attributes.release_number) << " (this user may not open it)\n";
            } else {
                out << path << " (cannot be opened)\n";
            }
            continue;
        }
        const HidAttributes ids = device->Attributes();
        const int feature = EffectiveFeatureLength(device->FeatureReportLengths());
        out << path << " " << Hex4(ids.vendor_id) << ":" << Hex4(ids.product_id) << " "
            << Hex4(ids.release_number) << " feature=" << feature;
        if (ids.vendor_id == MouseVendorId && ids.product_id == MouseProductId &&
            ids.release_number == kMouseReleaseNumber && feature == kMouseFeatureLength) {
            out << " mouse";
        }
        out << "\n";
    }
    return kOk;
}

int Status(Session& session, std::ostream& out) {
    if (!session.OpenMouse()) {
        return kFailed;
    }
    StatusAnswer status;
    if (!session.Begin(false, &status)) {
        return kFailed;
    }
    out << "signature: " << Hex2(kStatusSignature) << "\n"
        << "write permission: " << (status.write_enabled ? "yes" : "no") << "\n"
        << "chip: "
        << (status.chip_number != 0 ? Hex2(status.chip_number) : std::string("unrecognised"))
        << " (chip code " << Hex2(status.chip_code) << ")\n";
    return session.End() ? kOk : kFailed;
}

bool ParseRange(const std::string& address_text, uint32_t length_limit, uint32_t& address,
                std::ostream& err) {
    if (!ParseCliNumber(address_text, kMemorySize - 1, address)) {
        err << "velqctl: not an address of the mouse's memory (0 to 2047): " << address_text
            << "\n";
        return false;
    }
    if (length_limit > kMemorySize - address) {
        err << "velqctl: the range runs past the end of the 2048-byte memory\n";
        return false;
    }
    return true;
}

int Read(Session& session, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
    uint32_t length = 0;
    if (args.size() != 2 || !ParseCliNumber(args[1], kMemorySize, length) || length == 0) {
        err << "velqctl: read takes ADDR LEN (LEN from 1 to 2048)\n";
        return kBadArguments;
    }
    uint32_t address = 0;
    if (!ParseRange(args[0], length, address, err)) {
        return kBadArguments;
    }
    if (!session.OpenMouse() || !session.Begin(false)) {
        return kFailed;
    }
    std::vector<uint8_t> bytes(length);
    const bool read = ReadTrusted(session, static_cast<uint16_t>(address),
                                  static_cast<uint16_t>(length), bytes, err);
    const bool ended = session.End();
    if (!read) {
        return kFailed;
    }
    out << HexDump(address, bytes);
    return ended ? kOk : kFailed;
}

int Write(Session& session, const std::vector<std::string>& args, std::ostream& out,
          std::ostream& err) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (args.size() < 2) {
        err << "velqctl: write takes ADDR HEX...\n";
        return kBadArguments;
    }
    if (!ParseCliHexBytes({args.begin() + 1, args.end()}, bytes, error)) {
        err << "velqctl: " << error << "\n";
        return kBadArguments;
    }
    uint32_t address = 0;
    if (!ParseRange(args[0], static_cast<uint32_t>(bytes.size()), address, err)) {
        return kBadArguments;
    }
    if (!session.OpenMouse() || !session.Begin(true)) {
        return kFailed;
    }
    CommandProtocol& protocol = session.Protocol();
    protocol.ResetCounts();
    const bool started = protocol.WriteBlock(static_cast<uint16_t>(address),
                                             static_cast<uint16_t>(bytes.size()), bytes);
    const ChunkCounts counts = protocol.Counts();
    bool stored = started && counts.WritesComplete();
    bool repaired = false;
    if (stored && counts.retried_writes > 0) {
        // A chunk answered only after a repeated request may have been stored twice, the
        // second time where the next chunk belongs: the range is read back and repaired, and
        // then confirmed by a read that can be trusted.
        DataBuf image{};
        std::copy(bytes.begin(), bytes.end(), image.begin() + address);
        const SectionRange range{static_cast<uint16_t>(address),
                                 static_cast<uint16_t>(bytes.size())};
        const VerifiedWriteResult verified =
            VerifyWrittenRanges(protocol, image, std::span(&range, 1));
        repaired = verified.repair_passes > 0;
        stored = verified.Verified() && HoldsImage(session, image, range, err);
        if (!stored) {
            err << "velqctl: the mouse does not hold the written bytes (answers were lost during "
                   "the write)\n";
        }
    }
    if (counts.unacknowledged_writes > 0) {
        const std::string lost = std::to_string(counts.unacknowledged_writes) +
                                 " of the written 6-byte chunks were not acknowledged";
        if (session.MouseGone()) {
            session.ReportGone("the write; " + lost);
        } else {
            err << "velqctl: " << lost << "\n";
        }
    } else if (!started && !session.MouseGone()) {
        err << "velqctl: the mouse did not acknowledge the write\n";
    } else if (!started) {
        session.ReportGone("the write");
    }
    const bool ended = session.End();
    if (!stored) {
        return kFailed;
    }
    out << "wrote " << bytes.size() << " bytes at " << Hex4(address)
        << (repaired ? " (repaired after lost answers)" : "") << "\n";
    return ended ? kOk : kFailed;
}

// The whole memory in one transaction; false (with the reason printed) when it failed.
bool ReadWholeImage(Session& session, DataBuf& image, std::ostream& err) {
    if (!session.OpenMouse() || !session.Begin(false)) {
        return false;
    }
    const bool read = ReadTrusted(session, 0, kDataBufSize, image, err);
    const bool ended = session.End();
    return read && ended;
}

int Dump(Session& session, bool json, std::ostream& out, std::ostream& err) {
    CaptionTableResult captions = LoadCaptionTable(1);
    if (!captions) {
        err << "velqctl: " << captions.error << "\n";
        return kFailed;
    }
    DataBuf image{};
    if (!ReadWholeImage(session, image, err)) {
        return kFailed;
    }
    const DumpReport report = BuildDumpReport(image, captions.table);
    out << (json ? FormatDumpJson(report) : FormatDumpText(report));
    return kOk;
}

int Save(Session& session, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
    if (args.size() != 1) {
        err << "velqctl: save takes FILE\n";
        return kBadArguments;
    }
    DataBuf image{};
    if (!ReadWholeImage(session, image, err)) {
        return kFailed;
    }
    std::filesystem::path written;
    const ProfileFileResult saved = SaveProfileFile(args[0], ProfileMode::kEeprom, image, &written);
    if (!saved) {
        err << "velqctl: " << saved.error << "\n";
        return kFailed;
    }
    out << "saved " << written.string() << "\n";
    return kOk;
}

// The caption `key` in the first language, for the messages velqctl shares with the window;
// the key itself when the table cannot be loaded.
std::string CaptionText(const char* key) {
    if (CaptionTableResult captions = LoadCaptionTable(1)) {
        return captions.table.Caption(key);
    }
    return key;
}

// Before a command replaces the mouse's settings: the whole mouse, read in a transaction of its
// own, kept in the undo history for `cause`. False, with the reason printed, when it could not
// be kept: the command then writes nothing.
bool KeepBeforeReplacing(Session& session, std::string_view cause, std::ostream& err) {
    if (!session.OpenMouse()) {
        return false;
    }
    const HistoryResult kept =
        KeepMouseInHistory(session.Protocol(), cause, LoadingWindow::kHidden);
    if (!kept) {
        if (session.MouseGone()) {
            session.ReportGone("the read for the history");
        }
        err << "velqctl: " << CaptionText(kept.message) << " (" << kept.detail
            << "); nothing was written\n";
        return false;
    }
    return true;
}

// Writes `image` into the mouse through the verified write and confirms it by a read that can
// be trusted; prints `done` ("loaded FILE") and what the verification found, then `note`, or
// why the mouse does not hold `what` ("the profile").
int WriteWholeImage(Session& session, const DataBuf& image, const std::string& done,
                    const std::string& what, std::ostream& out, std::ostream& err,
                    const std::string& note = {});

int Load(Session& session, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
    if (args.size() != 1) {
        err << "velqctl: load takes FILE\n";
        return kBadArguments;
    }
    DataBuf image{};
    const ProfileFileResult loaded = LoadEepromProfile(args[0], image);
    if (!loaded) {
        err << "velqctl: " << loaded.error;
        if (!loaded.caption_key.empty()) {
            if (CaptionTableResult captions = LoadCaptionTable(1)) {
                err << " (" << captions.table.Caption(loaded.caption_key) << ")";
            }
        }
        err << "\n";
        return kFailed;
    }
    // A section that fails its check goes to the mouse repaired, as the window writes it, never
    // with a checksum the mouse would take for damage; the load says so after its result.
    std::string repaired;
    for (const DumpReport::Section& section : CheckedSections(image)) {
        if (section.repaired) {
            repaired += (repaired.empty() ? "" : ", ") + section.name;
        }
    }
    std::string note;
    if (!repaired.empty()) {
        SectionCopies copies;
        FillSectionCopies(image, copies);
        StoreSectionCopies(copies, image);
        note =
            "note: " + repaired +
            (repaired.find(',') == std::string::npos ? " fails its check" : " fail their checks") +
            " in the file and went to the mouse repaired";
        if (CaptionTableResult captions = LoadCaptionTable(1)) {
            note += " (" + captions.table.Caption(kFileRepairedMessage) + ")";
        }
        note += "\n";
    }
    if (!KeepBeforeReplacing(session, "load", err)) {
        return kFailed;
    }
    return WriteWholeImage(session, image, "loaded " + args[0], "the profile", out, err, note);
}

int WriteWholeImage(Session& session, const DataBuf& image, const std::string& done,
                    const std::string& what, std::ostream& out, std::ostream& err,
                    const std::string& note) {
    if (!BeginWriting(session, err)) {
        return kFailed;
    }
    CommandProtocol& protocol = session.Protocol();
    protocol.ResetCounts();
    const VerifiedWriteResult result = WriteImageVerified(protocol, image);
    const ChunkCounts counts = protocol.Counts();
    bool confirmed = result.Verified();
    if (confirmed && !counts.ReadsClean()) {
        // A read-back chunk that never answered reads as 0xFF, and one answered only after a
        // repeated request may be shifted: either can pass for a byte in place. The profile
        // counts as loaded only after a read that can be trusted agrees.
        confirmed = HoldsImage(session, image, {0, static_cast<uint16_t>(kDataBufSize)}, err);
    }
    const bool ended = session.End();
    if (!confirmed) {
        err << "velqctl: the mouse does not hold " << what;
        if (result.BurnFailed() && !result.differences.back().empty()) {
            err << " (" << result.differences.back().size() << " bytes still differ after "
                << result.repair_passes << " repair passes)";
        } else if (result.Verified()) {
            err << " (its read-back could not be trusted)";
        }
        if (counts.unacknowledged_writes > 0) {
            err << "; " << counts.unacknowledged_writes
                << " of the written 6-byte chunks were not acknowledged";
        }
        err << "\n";
        return kFailed;
    }
    out << done << ": verified";
    if (result.repair_passes > 0) {
        out << " after " << result.repair_passes << " repair pass"
            << (result.repair_passes == 1 ? "" : "es");
    }
    if (counts.unacknowledged_writes > 0) {
        // The read-back shows every byte in place, so the profile is in the mouse; the
        // chunks it refused on the way are still worth knowing about.
        out << " (" << counts.unacknowledged_writes
            << " written 6-byte chunks were not acknowledged and were rewritten)";
    }
    out << "\n" << note;
    return ended ? kOk : kFailed;
}

// The user's history folder; none (said) without a state folder.
std::optional<std::filesystem::path> HistoryFolderOrSay(std::ostream& err) {
    std::optional<std::filesystem::path> folder = HistoryFolder();
    if (!folder) {
        err << "velqctl: no folder for the undo history: neither XDG_STATE_HOME nor HOME is an "
               "absolute path\n";
    }
    return folder;
}

int History(std::ostream& out, std::ostream& err) {
    const std::optional<std::filesystem::path> folder = HistoryFolderOrSay(err);
    if (!folder) {
        return kFailed;
    }
    std::vector<HistoryEntry> entries;
    if (FileResult listed = ListHistory(*folder, entries); !listed) {
        err << "velqctl: " << listed.error << "\n";
        return kFailed;
    }
    out << "history in " << folder->string() << " (newest first):\n";
    if (entries.empty()) {
        out << "no entries\n";
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%2zu", i + 1);
        out << number << "  " << entries[i].time << " UTC  " << entries[i].cause << "\n";
    }
    return kOk;
}

// The largest number restore reads as an entry's number; any beyond the history is refused.
constexpr uint32_t kMaxEntryNumber = 1000000;

int Restore(Session& session, const std::string& number, std::ostream& out, std::ostream& err) {
    const std::optional<std::filesystem::path> folder = HistoryFolderOrSay(err);
    if (!folder) {
        return kFailed;
    }
    std::vector<HistoryEntry> entries;
    if (FileResult listed = ListHistory(*folder, entries); !listed) {
        err << "velqctl: " << listed.error << "; nothing was written\n";
        return kFailed;
    }
    uint32_t n = 0;
    if (!ParseCliNumber(number, kMaxEntryNumber, n) || n == 0 || n > entries.size()) {
        err << "velqctl: no history entry " << number << ": the history holds " << entries.size()
            << (entries.size() == 1 ? " entry" : " entries")
            << ", numbered from 1 ('velqctl history' lists them); nothing was written\n";
        return kBadArguments;
    }
    const HistoryEntry& entry = entries[n - 1];
    // The entry is read before the mouse is kept as a new one, which may remove the oldest.
    DataBuf image{};
    if (FileResult read = ReadHistoryEntry(entry.file, image); !read) {
        err << "velqctl: " << read.error << "; nothing was written\n";
        return kFailed;
    }
    const std::string done =
        "restored entry " + number + " (" + entry.time + " UTC, before " + entry.cause + ")";
    if (!KeepBeforeReplacing(session, "restore", err)) {
        return kFailed;
    }
    return WriteWholeImage(session, image, done, "the history entry", out, err);
}

// A value as a change line shows it: text without quotes.
std::string ValueText(const Json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

using ConfigEdit =
    std::function<ConfigEditResult(const Json& shown, const CodeNamer& namer, MouseConfig&)>;

// Reads the whole mouse, applies `edit` to its configuration and writes the parameter area
// back with only the changed fields encoded, then confirms it by a read-back that can be
// trusted. A refused edit writes nothing and returns `refused_exit`.
int EditMouse(Session& session, const ConfigEdit& edit, int refused_exit, std::ostream& out,
              std::ostream& err) {
    CaptionTableResult captions = LoadCaptionTable(1);
    if (!captions) {
        err << "velqctl: " << captions.error << "\n";
        return kFailed;
    }
    if (!BeginWriting(session, err)) {
        return kFailed;
    }
    DataBuf image{};
    if (!ReadTrusted(session, 0, kDataBufSize, image, err)) {
        session.End();
        return kFailed;
    }
    const DumpReport report = BuildDumpReport(image, captions.table);
    MouseConfig wanted = report.config;
    const ConfigEditResult edited = edit(DumpJson(report), report.namer, wanted);
    // What is printed is what the mouse will hold: the encoded copies decoded again.
    SectionCopies copies;
    FillSectionCopies(image, copies);
    const ConfigEditResult result =
        edited ? EncodeConfigEdit(wanted, report.config, edited.asked, report.namer, copies)
               : edited;
    if (!result) {
        err << "velqctl: " << result.error << "; nothing was written\n";
        session.End();
        return refused_exit;
    }
    if (result.changes.empty()) {
        out << "nothing to change: the mouse holds these values\n";
        return session.End() ? kOk : kFailed;
    }

    DataBuf updated = image;
    StoreSectionCopies(copies, updated);

    CommandProtocol& protocol = session.Protocol();
    protocol.ResetCounts();
    const std::span<const uint8_t> area = std::span(updated).first(kParameterAreaRange.size);
    const bool started = protocol.WriteBlock(0, kParameterAreaRange.size, area);
    const ChunkCounts written = protocol.Counts();
    bool confirmed = false;
    if (started) {
        // Every write is read back: the mouse holds the new settings only when a read that can
        // be trusted says so, and a byte it did not take is written again on its own.
        const VerifiedWriteResult verified =
            VerifyWrittenRanges(protocol, updated, std::span(&kParameterAreaRange, 1));
        confirmed = verified.Verified() && (protocol.Counts().ReadsClean() ||
                                            HoldsImage(session, updated, kParameterAreaRange, err));
    }
    const bool gone = session.MouseGone();
    const bool ended = session.End();
    if (!confirmed) {
        if (gone) {
            session.ReportGone("the write");
        }
        err << "velqctl: the mouse does not hold the new settings";
        if (written.unacknowledged_writes > 0) {
            err << " (" << written.unacknowledged_writes
                << " of the written 6-byte chunks were not acknowledged)";
        } else if (!started) {
            err << " (it did not acknowledge the write)";
        }
        err << "\n";
        return kFailed;
    }
    for (const auto& section : report.sections) {
        if (section.repaired) {
            out << "note: " << section.name << " failed its check and was written repaired\n";
        }
    }
    for (const ConfigChange& change : result.changes) {
        out << change.key << ": " << ValueText(change.before) << " -> " << ValueText(change.after)
            << "\n";
    }
    return ended ? kOk : kFailed;
}

int Apply(Session& session, const std::string& file, std::ostream& out, std::ostream& err) {
    std::vector<uint8_t> content;
    if (FileResult read = ReadWholeFile(file, content, kMaxConfigFileSize); !read) {
        err << "velqctl: " << read.error << "\n";
        return kFailed;
    }
    // The file is read whole before the mouse is opened: a fault in it opens nothing.
    Json patch;
    std::string error;
    if (!ParseConfigPatch(
            std::string_view(reinterpret_cast<const char*>(content.data()), content.size()), patch,
            error)) {
        err << "velqctl: " << file << ": not a configuration: " << error
            << "; nothing was written\n";
        return kBadArguments;
    }
    const ConfigEdit edit = [&patch](const Json& shown, const CodeNamer& namer,
                                     MouseConfig& config) {
        return EditConfig(patch, shown, namer, config);
    };
    return EditMouse(session, edit, kBadArguments, out, err);
}

int Set(Session& session, const std::vector<std::string>& texts, std::ostream& out,
        std::ostream& err) {
    std::vector<ConfigAssignment> assignments;
    for (const std::string& text : texts) {
        ConfigAssignment assignment;
        if (!ParseAssignment(text, assignment)) {
            err << "velqctl: set takes KEY=VALUE, not '" << text << "'\n";
            return kBadArguments;
        }
        assignments.push_back(assignment);
    }
    const ConfigEdit edit = [&assignments](const Json& shown, const CodeNamer& namer,
                                           MouseConfig& config) {
        return EditConfig(assignments, shown, namer, config);
    };
    return EditMouse(session, edit, kBadArguments, out, err);
}

int Rdesc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "velqctl: rdesc takes FILE\n";
        return kBadArguments;
    }
    std::vector<uint8_t> content;
    if (FileResult read = ReadWholeFile(args[0], content, kMaxDescriptorFileSize); !read) {
        err << "velqctl: " << read.error << "\n";
        return kFailed;
    }
    std::vector<uint8_t> descriptor;
    std::string error;
    if (!DecodeDescriptorFile(content, descriptor, error)) {
        err << "velqctl: " << args[0] << ": " << error << "\n";
        return kFailed;
    }
    const ParsedDescriptor parsed = ParseReportDescriptor(descriptor);
    for (const TopLevelCollection& collection : parsed.collections) {
        out << DescribeCollection(collection) << "\n";
    }
    if (!parsed.error.empty()) {
        err << "velqctl: " << args[0] << ": " << parsed.error << "\n";
        return kFailed;
    }
    return kOk;
}

int RunCommandLine(const std::vector<std::string>& all_args, std::ostream& out, std::ostream& err,
                   const VelqctlEnvironment& environment) {
    CLI::App app("Configures the VELQ540B mouse through its parameter memory.", "velqctl");
    app.footer(kFooter);
    app.require_subcommand(1);
    std::string virtual_file;
    std::string device_path;
    const auto not_empty = [](const std::string& value) {
        return value.empty() ? std::string("must not be empty") : std::string();
    };
    app.add_option("--virtual", virtual_file, "use the virtual mouse with its memory kept in FILE")
        ->option_text("FILE")
        ->check(not_empty)
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_option("--device", device_path, "use the mouse interface at PATH")
        ->option_text("PATH")
        ->check(not_empty)
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);

    app.add_subcommand("list",
                       "every HID interface: path, vendor:product, release, feature length");
    app.add_subcommand("status", "the mouse's signature, write permission and chip");
    std::string address, length, file;
    std::vector<std::string> values;
    CLI::App* read = app.add_subcommand("read", "hex dump of LEN bytes of the mouse's memory");
    read->add_option("ADDR", address, "the first address, 0 to 2047")->required();
    read->add_option("LEN", length, "the byte count, 1 to 2048")->required();
    CLI::App* write = app.add_subcommand("write", "writes the bytes at ADDR");
    write->add_option("ADDR", address, "the first address, 0 to 2047")->required();
    write->add_option("HEX", values, "bytes as two-digit hex, one or more a word")->required();
    bool json = false;
    CLI::App* dump =
        app.add_subcommand("dump", "reads the whole mouse and shows its configuration");
    dump->add_flag("--json", json, "as JSON, in the form apply takes");
    CLI::App* save = app.add_subcommand("save", "reads the whole mouse into a profile file (.bin)");
    save->add_option("FILE", file, "the profile file; .bin is added when missing")->required();
    CLI::App* load =
        app.add_subcommand("load", "writes a profile file into the mouse and verifies it");
    load->add_option("FILE", file, "a 2048-byte profile file")->required();
    load->footer(
        "The mouse as it was is kept in the undo history first ('velqctl history'); when it "
        "cannot\nbe read or kept, nothing is written.\n");
    app.add_subcommand("history",
                       "the undo history: the mouse as it was before each write that replaced its "
                       "settings, newest first");
    std::string entry_number;
    CLI::App* restore = app.add_subcommand(
        "restore", "writes an entry of the undo history back into the mouse and verifies it");
    restore->add_option("N", entry_number, "the entry's number in 'velqctl history', 1 the newest")
        ->required();
    restore->footer(
        "The mouse as it is before the restore is kept in the history first, as a new entry.\n");
    CLI::App* rdesc =
        app.add_subcommand("rdesc", "the top-level collections of a HID report descriptor file");
    rdesc->add_option("FILE", file, "a descriptor, binary or hex text")->required();
    CLI::App* apply = app.add_subcommand(
        "apply", "sets the configuration keys a JSON file holds (as dump --json shows them)");
    apply->add_option("FILE", file, "a JSON object holding any part of dump --json's form")
        ->required();
    apply->footer(std::string("Keys left out keep their values. A file that is no JSON, an unknown "
                              "key, a value\nof the wrong type or out of range or a changed key "
                              "that is only shown refuses\nthe whole file (exit 2) and nothing is "
                              "written.\n") +
                  kKeysHelp);
    CLI::App* set = app.add_subcommand("set", "sets configuration keys: dpi.levels[2].value=1600");
    set->add_option("KEY=VALUE", values, "a key of dump --json and its new value")->required();
    set->footer(std::string("A refused key or value (exit 2) writes nothing. Values are read by "
                            "the key's\ntype: text as it is, else a number, true, false or "
                            "null.\n") +
                kKeysHelp);

    try {
        app.parse(std::vector<std::string>(all_args.rbegin(), all_args.rend()));
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help, out, err);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help, out, err);
    } catch (const CLI::ParseError& error) {
        err << "velqctl: " << error.what() << "\n" << app.help();
        return kBadArguments;
    }
    const std::string command = app.get_subcommands().front()->get_name();

    if (command == "rdesc") {
        return Rdesc({file}, out, err);
    }
    if (command == "history") {
        return History(out, err);
    }

    std::unique_ptr<HidBackend> backend;
    if (!virtual_file.empty()) {
        // A new virtual mouse comes from the factory with the first default image.
        std::string factory_error;
        std::shared_ptr<VirtualMouse> mouse = MakeFactoryVirtualMouse(factory_error);
        if (mouse == nullptr) {
            err << "velqctl: " << factory_error << "\n";
            return kFailed;
        }
        std::string error;
        if (!mouse->AttachFile(virtual_file, error)) {
            err << "velqctl: " << error << "\n";
            return kFailed;
        }
        backend = std::make_unique<VirtualBackend>(mouse);
    } else if (environment.real_backend) {
        backend = environment.real_backend();
    }
    if (backend == nullptr) {
        err << "velqctl: no HID access on this system\n";
        return kFailed;
    }
    Clock& clock = environment.clock != nullptr ? *environment.clock : SystemClock();
    Session session(std::move(backend), clock, device_path, err);
    if (command == "list") {
        return List(session, out);
    }
    if (command == "status") {
        return Status(session, out);
    }
    if (command == "read") {
        return Read(session, {address, length}, out, err);
    }
    if (command == "dump") {
        return Dump(session, json, out, err);
    }
    if (command == "save") {
        return Save(session, {file}, out, err);
    }
    if (command == "load") {
        return Load(session, {file}, out, err);
    }
    if (command == "restore") {
        return Restore(session, entry_number, out, err);
    }
    if (command == "apply") {
        return Apply(session, file, out, err);
    }
    if (command == "set") {
        return Set(session, values, out, err);
    }
    std::vector<std::string> write_args = {address};
    write_args.insert(write_args.end(), values.begin(), values.end());
    return Write(session, write_args, out, err);
}

}  // namespace

int RunVelqctl(const std::vector<std::string>& all_args, std::ostream& out, std::ostream& err,
               const VelqctlEnvironment& environment) {
    try {
        return RunCommandLine(all_args, out, err, environment);
    } catch (const std::exception& error) {
        // Never expected: said rather than ending the program. A transaction the command had
        // open was closed as its session went.
        err << "velqctl: " << error.what() << "\n";
        return kFailed;
    }
}

}  // namespace velq
