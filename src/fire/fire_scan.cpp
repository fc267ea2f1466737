#include "fire/fire_scan.h"

namespace velq {

uint8_t& FireParamPos::operator[](FireParam param) {
    switch (param) {
        case FireParam::kCount:
            return count;
        case FireParam::kX:
            return x;
        case FireParam::kY:
            return y;
        case FireParam::kTime:
            break;
    }
    return time;
}

uint8_t FireParamPos::operator[](FireParam param) const {
    return const_cast<FireParamPos&>(*this)[param];
}

FireScan ScanFireContent(const FireMacroBlock& block) {
    FireScan scan;
    const uint8_t flag = block[kFireFlagByte];
    if (flag != 0 && flag != 1) {
        return scan;
    }
    scan.row.stop_on_release = flag == 1;

    const std::size_t length = FireBlockLength(block);
    bool after_y = false;
    std::size_t i = kFireContentStart;
    while (i <= length) {
        const auto token = static_cast<FireToken>(block[i]);
        if (token == FireToken::kButtonDown || token == FireToken::kButtonUp ||
            token == FireToken::kRepeatEnd) {
            ++i;
            continue;
        }
        if (token != FireToken::kRepeatStart && token != FireToken::kMoveX &&
            token != FireToken::kMoveY && token != FireToken::kDelay) {
            break;  // not a fire macro token: what follows cannot be read reliably
        }
        const std::size_t at = i + 1;
        if (at > length) {
            break;  // the operand would be the checksum byte
        }
        const uint8_t operand = block[at];
        const auto pos = static_cast<uint8_t>(at);
        switch (token) {
            case FireToken::kRepeatStart:
                scan.row.count = operand + 1;
                scan.found.count = pos;
                break;
            case FireToken::kMoveX:
                scan.row.x = static_cast<int8_t>(operand);
                scan.found.x = pos;
                break;
            case FireToken::kMoveY:
                scan.row.y = static_cast<int8_t>(operand);
                scan.found.y = pos;
                after_y = true;
                break;
            default:  // Delay
                if (after_y) {
                    scan.row.time = operand * kFireDelayUnitMs;
                    scan.found.time = pos;
                    after_y = false;
                }
                break;
        }
        i += 2;
    }
    return scan;
}

}  // namespace velq
