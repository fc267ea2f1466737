#include "device/command_protocol.h"

#include <algorithm>
#include <cstring>

namespace velq {

namespace {

constexpr ExchangeTiming kCommandTiming{0, 10, 0, 10, 5, 5};
constexpr ExchangeTiming kReadNextTiming{0, 5, 0, 5, 5, 5};
constexpr ExchangeTiming kWriteNextTiming{0, 10, 0, 5, 5, 5};
constexpr ExchangeTiming kPollButtonsTiming{5, 0, 5, 0, 10, 10};

constexpr size_t kChunkBytes = 6;

// A block transfer whose chunks go unanswered this many times in a row has lost the mouse (a
// mouse that stops answering would otherwise hold a full read for 51 s and a full write for a
// minute): the rest of the block is given up and counted as unanswered. A lone failed chunk
// does not stop the transfer.
constexpr int kSilentChunksToGiveUp = 3;

constexpr uint8_t LowByte(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}
constexpr uint8_t HighByte(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}

// Marks an exchange as running; a nested exchange from the same thread (a TransferUi callback
// in the middle of a block transfer) is refused instead of interleaving its reports with the
// running one.
class ExchangeGuard {
public:
    ExchangeGuard(std::recursive_mutex& mutex, int& depth) : lock_(mutex), depth_(depth) {
        nested_ = depth_ > 0;
        ++depth_;
    }
    ~ExchangeGuard() { --depth_; }
    bool Nested() const { return nested_; }

private:
    std::lock_guard<std::recursive_mutex> lock_;
    int& depth_;
    bool nested_ = false;
};

ReportBytes MakeRequest(Command code, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4, uint8_t p5) {
    return {kCommandReportId, static_cast<uint8_t>(code), p1, p2, p3, p4, p5, 0};
}

}  // namespace

CommandProtocol::CommandProtocol(DeviceLink& link, Clock& clock) : link_(link), clock_(clock) {}

bool CommandProtocol::DeviceGone() const {
    const HidDevice* device = link_.Device();
    return device == nullptr || device->Gone();
}

bool CommandProtocol::WaitWithin(int ms, int64_t deadline) {
    if (deadline != kNoDeadline && clock_.NowMs() + ms + slowest_request_ms_ > deadline) {
        counts_.out_of_time = true;
        return false;
    }
    clock_.SleepMs(ms);
    return true;
}

bool CommandProtocol::TimedSet(HidDevice& device) {
    const int64_t start = clock_.NowMs();
    const bool sent = device.SetFeature(report_);
    slowest_request_ms_ = std::max(slowest_request_ms_, clock_.NowMs() - start);
    return sent;
}

bool CommandProtocol::TimedGet(HidDevice& device) {
    const int64_t start = clock_.NowMs();
    const bool got = device.GetFeature(report_);
    slowest_request_ms_ = std::max(slowest_request_ms_, clock_.NowMs() - start);
    return got;
}

bool CommandProtocol::Exchange(const ReportBytes& request, const ExchangeTiming& timing,
                               int* attempts) {
    HidDevice* device = link_.Device();
    if (device == nullptr) {
        return false;
    }
    const int64_t deadline = deadline_;
    for (int attempt = 0; attempt < timing.attempts; ++attempt) {
        if (attempts != nullptr) {
            *attempts = attempt + 1;
        }
        if (device->Gone()) {
            return false;  // unplugged: no answer will ever come, so none is waited for
        }
        report_ = request;
        if (!WaitWithin(timing.before_set_ms, deadline)) {
            return false;
        }
        // Only the answer's status decides; a set that did not go through shows as an answer
        // that never comes.
        (void)TimedSet(*device);
        if (!WaitWithin(timing.after_set_ms, deadline)) {
            return false;
        }
        uint8_t status = kStatusNotFinished;
        for (int poll = 0; poll < timing.polls; ++poll) {
            if (!WaitWithin(timing.before_poll_ms, deadline)) {
                return false;
            }
            // A failed get leaves the request in the buffer, and the request's byte 7 may be a
            // data byte of WriteNext that happens to read 0xCC: a failed get therefore counts
            // as "not finished yet", never as an answer.
            status = TimedGet(*device) ? report_[7] : kStatusNotFinished;
            if (status != kStatusNotFinished) {
                break;
            }
            if (!WaitWithin(timing.after_unfinished_poll_ms, deadline)) {
                return false;
            }
        }
        if (status == kStatusDone) {
            return true;
        }
    }
    return false;
}

bool CommandProtocol::GiveUpBlock(TransferDirection direction) {
    if (ui_->StopRequested(writes_ > 0 ? TransferDirection::kWrite : direction)) {
        counts_.stopped = true;
        return true;
    }
    if (transfer_deadline_ != kNoDeadline &&
        clock_.NowMs() + slowest_request_ms_ > transfer_deadline_) {
        counts_.out_of_time = true;
        return true;
    }
    return false;
}

bool CommandProtocol::SendCommandLocked(Command code, uint8_t p1, uint8_t p2, uint8_t p3,
                                        uint8_t p4, uint8_t p5) {
    return Exchange(MakeRequest(code, p1, p2, p3, p4, p5), kCommandTiming);
}

bool CommandProtocol::SendCommand(Command code, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4,
                                  uint8_t p5) {
    ExchangeGuard guard(mutex_, depth_);
    if (guard.Nested()) {
        return false;
    }
    return SendCommandLocked(code, p1, p2, p3, p4, p5);
}

bool CommandProtocol::ReadBlock(uint16_t address, uint16_t length, std::span<uint8_t> destination,
                                LoadingWindow loading) {
    ExchangeGuard guard(mutex_, depth_);
    std::fill(destination.begin(), destination.end(), 0xFF);
    if (guard.Nested() || GiveUpBlock(TransferDirection::kRead)) {
        return false;
    }
    if (!SendCommandLocked(Command::kReadBegin, LowByte(address), HighByte(address),
                           LowByte(length), HighByte(length), 0)) {
        return false;
    }
    const size_t chunks = (length + kChunkBytes - 1) / kChunkBytes;
    const ReportBytes read_next = MakeRequest(Command::kReadNext, 0, 0, 0, 0, 0);
    int silent = 0;
    for (size_t i = 0; i < chunks; ++i) {
        if (DeviceGone() || silent == kSilentChunksToGiveUp ||
            GiveUpBlock(TransferDirection::kRead)) {
            // The rest of the block can never arrive, or is not wanted any more.
            counts_.unanswered_reads += static_cast<int>(chunks - i);
            break;
        }
        if (loading == LoadingWindow::kShown) {
            ui_->ShowLoadingWindow();
        }
        staging_.fill(0xFF);
        int attempts = 0;
        if (Exchange(read_next, kReadNextTiming, &attempts)) {
            std::copy(report_.begin() + 1, report_.end(), staging_.begin());
            if (attempts > 1) {
                ++counts_.retried_reads;
            }
            silent = 0;
        } else {
            ++counts_.unanswered_reads;
            ++silent;
        }
        const size_t offset = i * kChunkBytes;
        const size_t count = std::min(kChunkBytes, static_cast<size_t>(length) - offset);
        for (size_t k = 0; k < count && offset + k < destination.size(); ++k) {
            destination[offset + k] = staging_[k];
        }
    }
    return true;
}

bool CommandProtocol::WriteBlock(uint16_t address, uint16_t length,
                                 std::span<const uint8_t> source) {
    ExchangeGuard guard(mutex_, depth_);
    if (guard.Nested() || source.size() < length || GiveUpBlock(TransferDirection::kWrite)) {
        return false;
    }
    staging_.fill(0xFF);
    if (!SendCommandLocked(Command::kWriteBegin, LowByte(address), HighByte(address),
                           LowByte(length), HighByte(length), 0)) {
        return false;
    }
    const size_t chunks = (length + kChunkBytes - 1) / kChunkBytes;
    int silent = 0;
    for (size_t i = 0; i < chunks; ++i) {
        if (DeviceGone() || silent == kSilentChunksToGiveUp ||
            GiveUpBlock(TransferDirection::kWrite)) {
            // The rest of the block can never arrive, or is not to be sent any more: count it
            // as not acknowledged.
            counts_.unacknowledged_writes += static_cast<int>(chunks - i);
            break;
        }
        ui_->ShowLoadingWindow();
        const size_t offset = i * kChunkBytes;
        const size_t count = std::min(kChunkBytes, static_cast<size_t>(length) - offset);
        // Bytes of a short last chunk beyond `count` are filler: whatever the staging buffer
        // held. The mouse stores only as many bytes as WriteBegin announced.
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), count, staging_.begin());
        const ReportBytes write_next{kCommandReportId, static_cast<uint8_t>(Command::kWriteNext),
                                     staging_[0],      staging_[1],
                                     staging_[2],      staging_[3],
                                     staging_[4],      staging_[5]};
        int attempts = 0;
        if (!Exchange(write_next, kWriteNextTiming, &attempts)) {
            ++counts_.unacknowledged_writes;
            ++silent;
        } else {
            silent = 0;
            if (attempts > 1) {
                ++counts_.retried_writes;
            }
        }
    }
    return true;
}

uint16_t CommandProtocol::PollButtons() {
    ExchangeGuard guard(mutex_, depth_);
    if (guard.Nested()) {
        return 0;
    }
    if (!Exchange(MakeRequest(Command::kStatus, 0, 0, 0, 0, 0), kPollButtonsTiming)) {
        return 0;
    }
    return static_cast<uint16_t>(report_[5] | (report_[6] << 8));
}

namespace {

std::vector<uint8_t> DriverRequestBuffer(uint32_t offset, uint32_t length) {
    std::vector<uint8_t> buffer(8 + static_cast<size_t>(length), 0);
    for (int i = 0; i < 4; ++i) {
        buffer[static_cast<size_t>(i)] = static_cast<uint8_t>(offset >> (8 * i));
        buffer[static_cast<size_t>(4 + i)] = static_cast<uint8_t>(length >> (8 * i));
    }
    return buffer;
}

}  // namespace

std::vector<uint8_t> CommandProtocol::DriverRead(uint32_t offset, uint32_t length) {
    std::vector<uint8_t> buffer = DriverRequestBuffer(offset, length);
    if (DriverDevice* driver = link_.Driver()) {
        // A request the driver does not serve leaves the buffer as sent; the section checks of
        // the caller judge what comes back.
        std::vector<uint8_t> answer = buffer;
        if (driver->Control(kDriverReadCode, buffer, answer)) {
            buffer = std::move(answer);
        }
    }
    return {buffer.begin() + 8, buffer.end()};
}

void CommandProtocol::DriverWrite(uint32_t offset, std::span<const uint8_t> bytes) {
    DriverDevice* driver = link_.Driver();
    if (driver == nullptr) {
        return;
    }
    std::vector<uint8_t> buffer = DriverRequestBuffer(offset, static_cast<uint32_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), buffer.begin() + 8);
    // The driver's answer to a write is not part of the protocol.
    (void)driver->Control(kDriverWriteCode, buffer, {});
}

TimeLimit::TimeLimit(CommandProtocol& protocol, int64_t limit_ms, int64_t reserve_ms)
    : protocol_(protocol),
      saved_deadline_(protocol.deadline_),
      saved_transfer_deadline_(protocol.transfer_deadline_) {
    if (protocol_.time_limits_++ == 0) {
        protocol_.slowest_request_ms_ = 0;
    }
    const int64_t now = protocol_.clock_.NowMs();
    protocol_.deadline_ = std::min(protocol_.deadline_, now + limit_ms);
    protocol_.transfer_deadline_ =
        std::min(protocol_.transfer_deadline_, now + std::max<int64_t>(0, limit_ms - reserve_ms));
}

TimeLimit::~TimeLimit() {
    protocol_.deadline_ = saved_deadline_;
    protocol_.transfer_deadline_ = saved_transfer_deadline_;
    --protocol_.time_limits_;
}

uint8_t ChipNumber(uint8_t chip_code) {
    switch (chip_code) {
        case 0x35:
            return 0x90;
        case 0x75:
            return 0x99;
        case 0xFD:
            return 0x98;
        default:
            return 0;
    }
}

StatusAnswer ParseStatus(const ReportBytes& answer) {
    StatusAnswer status;
    status.signature_ok = answer[1] == kStatusSignature;
    status.write_enabled = (answer[2] & 0x04) != 0;
    status.chip_code = answer[3];
    status.chip_number = ChipNumber(answer[3]);
    return status;
}

ModeAnswer ParseModeStatus(const ReportBytes& answer) {
    return {(answer[2] & 0x20) != 0, static_cast<uint8_t>(answer[3] >> 6)};
}

}  // namespace velq
