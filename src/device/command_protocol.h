#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <mutex>
#include <span>
#include <vector>

#include "device/clock.h"
#include "device/device_link.h"

namespace velq {

// Command codes of byte 1 of the command report.
enum class Command : uint8_t {
    kOpen = 0x01,
    kClose = 0x02,
    kStatus = 0x03,
    kReadBegin = 0x04,
    kReadNext = 0x05,
    kWriteBegin = 0x06,
    kWriteNext = 0x07,
    kReload = 0x08,
    kDriverState = 0x09,
    kDriverId = 0x81,
};

inline constexpr uint8_t kCommandReportId = 0x04;
inline constexpr uint8_t kStatusDone = 0xCC;
inline constexpr uint8_t kStatusNotFinished = 0x00;
inline constexpr uint8_t kOpenAnswer = 0xA6;
inline constexpr uint8_t kStatusSignature = 0xAA;
inline constexpr uint8_t kStatusModeQuery = 0x5A;        // p1 of the mode form of Status
inline constexpr uint8_t kStatusDriverStateNext = 0xD9;  // p2 when DriverState follows

// The 8-byte command report: sent, then overwritten by each answer.
struct CommandReport {
    uint8_t report_id;
    uint8_t code;
    uint8_t param[5];
    uint8_t status;
};
static_assert(sizeof(CommandReport) == 8);
using ReportBytes = std::array<uint8_t, 8>;

// What a block transfer is part of: a read of the mouse, or a write (whose read-back belongs
// to it, see PartOfWrite).
enum class TransferDirection { kRead, kWrite };

// The user interface's part in a block transfer, asked on the thread that runs the transfer:
// the loading window is shown before chunks, and the transfer is given up at a chunk boundary
// when the user asked for it to stop.
class TransferUi {
public:
    virtual ~TransferUi() = default;
    virtual void ShowLoadingWindow() {}
    // True when the rest of a transfer that is part of a read or of a write is to be given up
    // before its next chunk (and later blocks of that kind are not begun).
    virtual bool StopRequested(TransferDirection /*direction*/) { return false; }
};

// Whether a block read shows the loading window before every chunk.
enum class LoadingWindow { kHidden, kShown };

// The waits (milliseconds) and retry counts of one kind of exchange: an attempt waits, sends
// the report, waits, then polls for the answer; a poll that finds status 0 waits and polls
// again.
struct ExchangeTiming {
    int before_set_ms;
    int after_set_ms;
    int before_poll_ms;
    int after_unfinished_poll_ms;
    int polls;
    int attempts;
};

// The chunks of block transfers that did not go cleanly.
struct ChunkCounts {
    // Read chunks that never answered (their bytes stayed 0xFF), the chunks a transfer never
    // asked for because the mouse went away included.
    int unanswered_reads = 0;
    // Write chunks the mouse never acknowledged, or never received because it went away.
    int unacknowledged_writes = 0;
    // Chunks answered only after a repeated request. The mouse may have acted on a request
    // whose answer was lost and moved on to the next chunk, so the data of such a transfer
    // may be shifted: a read is repeated, a write read back.
    int retried_reads = 0;
    int retried_writes = 0;

    // A transfer was given up before its end because the user asked (TransferUi::StopRequested)
    // or because its time ran out (TimeLimit); its chunks never sent are counted above as
    // unanswered or not acknowledged.
    bool stopped = false;
    bool out_of_time = false;

    bool ReadsComplete() const { return unanswered_reads == 0; }
    bool ReadsClean() const { return unanswered_reads == 0 && retried_reads == 0; }
    bool WritesComplete() const { return unacknowledged_writes == 0; }
    bool WritesClean() const { return unacknowledged_writes == 0 && retried_writes == 0; }
};

// Control codes of the companion driver's two requests.
inline constexpr uint32_t kDriverReadCode = 0x00223E04;
inline constexpr uint32_t kDriverWriteCode = 0x00223E08;

// Time kept for Reload and Close at the end of a time-limited flow: block transfers stop this
// much before the limit.
inline constexpr int64_t kClosingReserveMs = 1000;

// The feature-report command protocol on the mouse's configuration interface, and the request
// framing of the companion driver. All waits go through the clock. One exchange runs at a
// time: a call that would start a second one while another runs on the same thread (from a
// TransferUi callback, say) fails at once; calls from another thread wait for the running one.
class CommandProtocol {
public:
    CommandProtocol(DeviceLink& link, Clock& clock);

    void SetTransferUi(TransferUi* ui) { ui_ = ui ? ui : &no_ui_; }

    // One command exchange; true when the last answer's status is 0xCC.
    [[nodiscard]] bool SendCommand(Command code, uint8_t p1 = 0, uint8_t p2 = 0, uint8_t p3 = 0,
                                   uint8_t p4 = 0, uint8_t p5 = 0);
    // The last answer (or the last request, when nothing answered).
    const ReportBytes& Report() const { return report_; }

    // Fills `destination` with 0xFF, then reads `length` bytes from `address` into it (bytes
    // beyond the destination are dropped). False only when ReadBegin is not acknowledged.
    [[nodiscard]] bool ReadBlock(uint16_t address, uint16_t length, std::span<uint8_t> destination,
                                 LoadingWindow loading = LoadingWindow::kHidden);
    // Writes `length` bytes of `source` at `address`. False when WriteBegin is not
    // acknowledged, or when `source` holds fewer than `length` bytes (nothing is sent then).
    [[nodiscard]] bool WriteBlock(uint16_t address, uint16_t length,
                                  std::span<const uint8_t> source);

    // What went wrong with the chunks of the block transfers since the last reset. A block
    // transfer returns true once its Begin was acknowledged, so a flow resets the counts,
    // transfers its blocks and then judges them here.
    const ChunkCounts& Counts() const { return counts_; }
    void ResetCounts() { counts_ = {}; }

    // One Status exchange with the button test's timing; the mask of buttons held down, 0 when
    // the mouse did not acknowledge.
    uint16_t PollButtons();

    // Companion driver requests. A request that fails leaves the data as sent (zeros for a
    // read); without a driver handle nothing is sent.
    std::vector<uint8_t> DriverRead(uint32_t offset, uint32_t length);
    void DriverWrite(uint32_t offset, std::span<const uint8_t> bytes);

    DeviceLink& Link() { return link_; }
    // The clock every wait goes through, for callers that bound a whole flow by time.
    Clock& TimeSource() { return clock_; }
    // The time by which block transfers must end under the current TimeLimit (kNoDeadline
    // without one).
    static constexpr int64_t kNoDeadline = std::numeric_limits<int64_t>::max();
    int64_t TransferDeadline() const { return transfer_deadline_; }

private:
    friend class TimeLimit;
    friend class PartOfWrite;

    // Waits `ms` unless that would leave no time for one more request before the deadline
    // (judged by the slowest request so far); false, without waiting, when it would.
    bool WaitWithin(int ms, int64_t deadline);
    // One request, timed, so that the deadline can allow for the slowest.
    bool TimedSet(HidDevice& device);
    bool TimedGet(HidDevice& device);
    // Whether the rest of a block is given up at this chunk boundary: stopped by the user or
    // out of the transfer time. Marks the counts.
    bool GiveUpBlock(TransferDirection direction);
    // Runs one exchange; true when acknowledged. `attempts` (when given) receives the number
    // of attempts it took.
    bool Exchange(const ReportBytes& request, const ExchangeTiming& timing,
                  int* attempts = nullptr);
    bool DeviceGone() const;
    bool SendCommandLocked(Command code, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4,
                           uint8_t p5);

    DeviceLink& link_;
    Clock& clock_;
    TransferUi no_ui_;
    TransferUi* ui_ = &no_ui_;
    ReportBytes report_{};
    std::array<uint8_t, 7> staging_{};
    ChunkCounts counts_;
    std::recursive_mutex mutex_;
    int depth_ = 0;
    int64_t deadline_ = kNoDeadline;
    int64_t transfer_deadline_ = kNoDeadline;
    int64_t slowest_request_ms_ = 0;
    int time_limits_ = 0;
    int writes_ = 0;
};

// While it lives, the block transfers made belong to a write: a read among them (the write's
// read-back) asks TransferUi::StopRequested as part of the write, so it is stopped only when the
// write would be. Created and destroyed on the thread that runs the exchanges.
class PartOfWrite {
public:
    explicit PartOfWrite(CommandProtocol& protocol) : protocol_(protocol) { ++protocol_.writes_; }
    ~PartOfWrite() { --protocol_.writes_; }
    PartOfWrite(const PartOfWrite&) = delete;
    PartOfWrite& operator=(const PartOfWrite&) = delete;

private:
    CommandProtocol& protocol_;
};

// Bounds in time the exchanges made while it lives, so that a mouse that stops answering (each
// of its requests may hang for seconds in the kernel before it fails) ends a flow within
// `limit_ms` rather than after minutes of retries: no wait or request starts that could not end
// before the limit, judged by the slowest request since the outermost limit began, and block
// transfers stop `reserve_ms` earlier (their remaining chunks counted as lost), which leaves the
// time for Reload and Close. Limits nest; the earlier end holds. Created and destroyed on the
// thread that runs the exchanges.
class TimeLimit {
public:
    TimeLimit(CommandProtocol& protocol, int64_t limit_ms, int64_t reserve_ms = kClosingReserveMs);
    ~TimeLimit();
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

private:
    CommandProtocol& protocol_;
    int64_t saved_deadline_;
    int64_t saved_transfer_deadline_;
};

// The answer of Status with no parameters.
struct StatusAnswer {
    bool signature_ok = false;   // byte 1 = 0xAA
    bool write_enabled = false;  // byte 2 bit 2
    uint8_t chip_code = 0;       // byte 3
    uint8_t chip_number = 0;     // `ChipNumber`: 0x90, 0x99, 0x98 or 0 (unrecognised)
};
StatusAnswer ParseStatus(const ReportBytes& answer);
uint8_t ChipNumber(uint8_t chip_code);

// The answer of the mode form of Status (p1 = 0x5A).
struct ModeAnswer {
    bool driver_mode = false;  // byte 2 bit 5
    uint8_t led_type = 0;      // byte 3 top two bits: 0 sync, 1 breathing, 2 two-colour, 3 flowing
};
ModeAnswer ParseModeStatus(const ReportBytes& answer);

}  // namespace velq
