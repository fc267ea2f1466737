#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "device/command_protocol.h"
#include "image/memory_map.h"

namespace velq {

// A byte the mouse holds differently from the image: its full device address and what was
// read there.
struct ImageDifference {
    uint16_t address = 0;
    uint8_t value_read = 0;
    bool operator==(const ImageDifference&) const = default;
};

enum class VerifiedWriteOutcome {
    kVerified,         // the mouse holds the image, possibly after repair passes
    kWriteNotStarted,  // a WriteBegin was not acknowledged; the rest was skipped
    kReadNotStarted,   // a read-back did not complete (ReadBegin refused, a chunk unanswered)
    kStillDifferent,   // differences remain after the last repair pass
    kTimedOut,         // the repairs ran out of time (a mouse that never stores or answers)
    kStopped,          // given up on the user's word: the mouse may hold part of the image
};

inline constexpr int kVerifyRepairPasses = 3;
// The repairs stop once the verification has taken this long (or at the protocol's TimeLimit,
// when that comes first): a mouse that stores nothing would otherwise be rewritten byte by byte
// for minutes.
inline constexpr int64_t kVerifyTimeLimitMs = 30000;

// The longest a flow holds a mouse that stops answering, Reload and Close included: a read
// (with the identification before it) and a write (Apply, a reset or a profile load, with its
// verification).
inline constexpr int64_t kReadTimeLimitMs = 10000;
inline constexpr int64_t kWriteTimeLimitMs = 30000;

// The message shown when the image could not be burnt into the mouse ("Falhou ").
inline constexpr std::string_view kBurnFailedCaption = "Str109";

struct VerifiedWriteResult {
    VerifiedWriteOutcome outcome = VerifiedWriteOutcome::kWriteNotStarted;
    int repair_passes = 0;
    // The differences each comparison found: after the full write, then after each repair
    // pass. Comparisons that did not run are empty.
    std::array<std::vector<ImageDifference>, kVerifyRepairPasses + 1> differences;

    bool Verified() const { return outcome == VerifiedWriteOutcome::kVerified; }
    // Whether the user is told that burning failed (kBurnFailedCaption): whenever the mouse is
    // not known to hold the image, a refused block included, so a reset or a profile load that
    // did not reach the mouse never passes for one that did.
    bool BurnFailed() const { return outcome != VerifiedWriteOutcome::kVerified; }
};

// Writes all 2048 bytes of `image` to the mouse and reads them back. Each byte that differs is
// rewritten on its own at its own address and the memory is read and compared again, up to
// three times and within kVerifyTimeLimitMs of the start (no repair pass nor read-back begins
// after it). Runs inside an open transaction with write permission; sends neither Open nor
// Reload nor Close.
[[nodiscard]] VerifiedWriteResult WriteImageVerified(CommandProtocol& protocol,
                                                     const DataBuf& image);

// Reads the ranges of `image` that were just written back from the mouse and repairs them as
// the verified write does: every differing byte rewritten at its own address, then the ranges
// read and compared again, up to three times. For a write that may not have landed where it
// was meant to (a chunk that was answered only after a repeated request).
[[nodiscard]] VerifiedWriteResult VerifyWrittenRanges(CommandProtocol& protocol,
                                                      const DataBuf& image,
                                                      std::span<const SectionRange> ranges);

// Writes the ranges of `image` in order; true when the mouse took every chunk written since the
// protocol's counts were last reset. A chunk answered only after a repeated request may have
// been stored twice, the second time where the next chunk belongs: the ranges are then read
// back and repaired (VerifyWrittenRanges). Runs inside an open transaction with write
// permission.
[[nodiscard]] bool WriteRangesVerified(CommandProtocol& protocol, const DataBuf& image,
                                       std::span<const SectionRange> ranges);

// Whether a write whose blocks the mouse took (`taken`: every chunk acknowledged, and read back
// and found stored where a chunk was answered only after a repeated request) is complete: a
// write that was read back is; one that was not only when `Reload` and `Close` were
// acknowledged after it (`closed`). What a write that is not complete left in the mouse is
// unknown.
[[nodiscard]] inline bool WriteComplete(bool taken, const ChunkCounts& counts, bool closed) {
    return taken && (counts.retried_writes > 0 || closed);
}

// How many more times a read whose chunks were not all answered at the first request is
// repeated, looking for two reads that agree.
inline constexpr int kSuspectReadRepeats = 2;

// Reads `length` bytes from `address` into `destination` so that they can be trusted: false
// when the ReadBegin was refused or any chunk never answered. A read in which a chunk was
// answered only after a repeated request may be shifted (the mouse may have moved on), so it
// is read again, at most twice more, until a read is clean or two reads agree; false when none
// do. `destination` is changed only when the read succeeds. The protocol's counts are not
// reset: a caller judging its own transfers keeps them.
[[nodiscard]] bool ReadBlockTrusted(CommandProtocol& protocol, uint16_t address, uint16_t length,
                                    std::span<uint8_t> destination, LoadingWindow loading);

}  // namespace velq
