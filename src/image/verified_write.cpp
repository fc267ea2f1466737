#include "image/verified_write.h"

#include <span>

namespace velq {
namespace {

std::vector<ImageDifference> Compare(const DataBuf& image, const DataBuf& read_back) {
    std::vector<ImageDifference> differences;
    for (std::size_t address = 0; address < image.size(); ++address) {
        if (image[address] != read_back[address]) {
            differences.push_back({static_cast<uint16_t>(address), read_back[address]});
        }
    }
    return differences;
}

}  // namespace

VerifiedWriteResult WriteImageVerified(CommandProtocol& protocol, const DataBuf& image) {
    VerifiedWriteResult result;
    const auto whole = static_cast<uint16_t>(image.size());
    if (!protocol.WriteBlock(0, whole, image)) {
        result.outcome = VerifiedWriteOutcome::WriteNotStarted;
        return result;
    }
    DataBuf read_back;
    if (!protocol.ReadBlock(0, whole, read_back, LoadingWindow::Shown)) {
        result.outcome = VerifiedWriteOutcome::ReadNotStarted;
        return result;
    }
    result.differences[0] = Compare(image, read_back);

    for (int pass = 1; pass <= kVerifyRepairPasses && !result.differences[pass - 1].empty();
         ++pass) {
        result.repair_passes = pass;
        for (const ImageDifference& difference : result.differences[pass - 1]) {
            const std::span<const uint8_t> byte(&image[difference.address], 1);
            if (!protocol.WriteBlock(difference.address, 1, byte)) {
                result.outcome = VerifiedWriteOutcome::WriteNotStarted;
                return result;
            }
        }
        if (!protocol.ReadBlock(0, whole, read_back, LoadingWindow::Shown)) {
            result.outcome = VerifiedWriteOutcome::ReadNotStarted;
            return result;
        }
        result.differences[pass] = Compare(image, read_back);
    }
    result.outcome = result.differences[result.repair_passes].empty()
                         ? VerifiedWriteOutcome::Verified
                         : VerifiedWriteOutcome::StillDifferent;
    return result;
}

}  // namespace velq
