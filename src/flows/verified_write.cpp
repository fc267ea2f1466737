#include "flows/verified_write.h"

#include <algorithm>
#include <span>

namespace velq {
namespace {

void Compare(const DataBuf& image, const DataBuf& read_back, std::span<const SectionRange> ranges,
             std::vector<ImageDifference>& differences) {
    differences.clear();
    for (const SectionRange& range : ranges) {
        for (std::size_t address = range.address; address < range.address + range.size; ++address) {
            if (image[address] != read_back[address]) {
                differences.push_back({static_cast<uint16_t>(address), read_back[address]});
            }
        }
    }
}

// Reads every range back into `read_back` (bytes outside them stay as they were). Only a read
// whose every chunk answered counts: the 0xFF of an unanswered chunk would pass for the image
// wherever the image holds 0xFF.
bool ReadRanges(CommandProtocol& protocol, std::span<const SectionRange> ranges,
                DataBuf& read_back) {
    for (const SectionRange& range : ranges) {
        const std::span<uint8_t> destination(read_back.data() + range.address, range.size);
        if (!ReadBlockTrusted(protocol, range.address, range.size, destination,
                              LoadingWindow::kShown)) {
            return false;
        }
    }
    return true;
}

}  // namespace

namespace {

// Why a transfer of the verification failed: given up on the user's word or for lack of time,
// or `otherwise` (the mouse refused or did not answer).
VerifiedWriteOutcome FailureOf(const CommandProtocol& protocol, VerifiedWriteOutcome otherwise) {
    if (protocol.Counts().stopped) {
        return VerifiedWriteOutcome::kStopped;
    }
    if (protocol.Counts().out_of_time) {
        return VerifiedWriteOutcome::kTimedOut;
    }
    return otherwise;
}

VerifiedWriteResult VerifyUntil(CommandProtocol& protocol, const DataBuf& image,
                                std::span<const SectionRange> ranges, int64_t deadline) {
    // The read-backs and repairs are part of the write: closing the window lets them finish.
    const PartOfWrite writing(protocol);
    // The protocol's own limit, when the flow set one, keeps time for Reload and Close.
    deadline = std::min(deadline, protocol.TransferDeadline());
    Clock& clock = protocol.TimeSource();
    VerifiedWriteResult result;
    DataBuf read_back = image;
    if (!ReadRanges(protocol, ranges, read_back)) {
        result.outcome = FailureOf(protocol, VerifiedWriteOutcome::kReadNotStarted);
        return result;
    }
    Compare(image, read_back, ranges, result.differences[0]);

    for (int pass = 1; pass <= kVerifyRepairPasses && !result.differences[pass - 1].empty();
         ++pass) {
        result.repair_passes = pass;
        for (const ImageDifference& difference : result.differences[pass - 1]) {
            if (clock.NowMs() > deadline) {
                result.outcome = VerifiedWriteOutcome::kTimedOut;
                return result;
            }
            const std::span<const uint8_t> byte(&image[difference.address], 1);
            if (!protocol.WriteBlock(difference.address, 1, byte)) {
                result.outcome = FailureOf(protocol, VerifiedWriteOutcome::kWriteNotStarted);
                return result;
            }
        }
        // A read-back that would begin after the limit proves nothing in time either.
        if (clock.NowMs() > deadline) {
            result.outcome = VerifiedWriteOutcome::kTimedOut;
            return result;
        }
        if (!ReadRanges(protocol, ranges, read_back)) {
            result.outcome = FailureOf(protocol, VerifiedWriteOutcome::kReadNotStarted);
            return result;
        }
        Compare(image, read_back, ranges, result.differences[pass]);
    }
    result.outcome = result.differences[result.repair_passes].empty()
                         ? VerifiedWriteOutcome::kVerified
                         : VerifiedWriteOutcome::kStillDifferent;
    return result;
}

}  // namespace

VerifiedWriteResult VerifyWrittenRanges(CommandProtocol& protocol, const DataBuf& image,
                                        std::span<const SectionRange> ranges) {
    return VerifyUntil(protocol, image, ranges, protocol.TimeSource().NowMs() + kVerifyTimeLimitMs);
}

bool WriteRangesVerified(CommandProtocol& protocol, const DataBuf& image,
                         std::span<const SectionRange> ranges) {
    for (const SectionRange& range : ranges) {
        if (!protocol.WriteBlock(range.address, range.size,
                                 std::span(image).subspan(range.address, range.size))) {
            return false;
        }
    }
    if (!protocol.Counts().WritesComplete()) {
        return false;
    }
    return protocol.Counts().retried_writes == 0 ||
           VerifyWrittenRanges(protocol, image, ranges).Verified();
}

VerifiedWriteResult WriteImageVerified(CommandProtocol& protocol, const DataBuf& image) {
    const int64_t deadline = protocol.TimeSource().NowMs() + kVerifyTimeLimitMs;
    const auto whole = static_cast<uint16_t>(image.size());
    if (!protocol.WriteBlock(0, whole, image)) {
        VerifiedWriteResult result;
        result.outcome = FailureOf(protocol, VerifiedWriteOutcome::kWriteNotStarted);
        return result;
    }
    const SectionRange everything{0, whole};
    return VerifyUntil(protocol, image, std::span(&everything, 1), deadline);
}

bool ReadBlockTrusted(CommandProtocol& protocol, uint16_t address, uint16_t length,
                      std::span<uint8_t> destination, LoadingWindow loading) {
    std::vector<uint8_t> previous;
    for (int read = 0; read <= kSuspectReadRepeats; ++read) {
        std::vector<uint8_t> bytes(destination.size());
        // Judged by what this read adds to the counts, which stay the caller's to reset.
        const ChunkCounts before = protocol.Counts();
        if (!protocol.ReadBlock(address, length, bytes, loading)) {
            return false;
        }
        const ChunkCounts& after = protocol.Counts();
        if (after.unanswered_reads != before.unanswered_reads) {
            return false;
        }
        if (after.retried_reads == before.retried_reads || bytes == previous) {
            std::copy(bytes.begin(), bytes.end(), destination.begin());
            return true;
        }
        previous = std::move(bytes);
    }
    return false;
}

}  // namespace velq
