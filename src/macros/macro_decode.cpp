#include "macros/macro_decode.h"

#include <algorithm>
#include <vector>

#include "buttons/usage_names.h"
#include "macros/macro_token.h"

namespace velq {

namespace {

bool IsButtonOpcode(uint8_t opcode, MacroToken base) {
    const int bit = opcode - Opcode(base);
    return bit == kMacroButtonLeft || bit == kMacroButtonRight || bit == kMacroButtonMiddle ||
           bit == kMacroButtonForward || bit == kMacroButtonBackward;
}

// The index of the last token byte: L for the device form, L + 1 for the utility form, kept
// before the last byte of the content so a corrupt length cannot lead the scan outside it.
std::size_t LastTokenIndex(std::span<const uint8_t> content, ContentForm form) {
    const std::size_t length = StoredLength(content, form);
    const std::size_t last = form == ContentForm::kDevice ? length : length + 1;
    return std::min(last, content.size() - 2);
}

void SetDelayMode(const std::vector<int>& delays, DecodedMacro& decoded) {
    const bool no_delay =
        std::all_of(delays.begin(), delays.end(), [](int total) { return total == 0; });
    if (no_delay) {
        decoded.delay_mode = DelayMode::kNoDelay;
    } else if (delays.size() == 4 && std::all_of(delays.begin(), delays.end(), [&](int total) {
                   return total == delays.front();
               })) {
        decoded.delay_mode = DelayMode::kFixedDelay;
        decoded.fixed_delay_ms = delays.front();
    } else {
        decoded.delay_mode = DelayMode::kRealDelays;
    }
    decoded.lines[0] = DelayModeLine(decoded.delay_mode, decoded.fixed_delay_ms);
}

}  // namespace

DecodedMacro DecodeMacroContent(std::span<const uint8_t> content, ContentForm form) {
    DecodedMacro decoded;
    decoded.lines.push_back(DelayModeLine(DelayMode::kNoDelay, 0));
    std::vector<int> delays;  // the first four waits decide the delay mode
    if (content.size() < kMacroContentSize) {
        return decoded;
    }
    const std::size_t last = LastTokenIndex(content, form);
    MacroLines& lines = decoded.lines;
    std::size_t i = TokenStart(form);
    while (i <= last) {
        const uint8_t opcode = content[i];
        const bool has_operand = i + 1 <= last;
        const uint8_t operand = has_operand ? content[i + 1] : 0;
        const auto two_byte = [&](auto&& make_line) {
            if (!has_operand) {
                return false;  // a token cut off by the end of the tokens is no event
            }
            lines.push_back(make_line());
            i += 2;
            return true;
        };
        bool known = true;
        switch (static_cast<MacroToken>(opcode)) {
            case MacroToken::kModifierDown:
            case MacroToken::kModifierUp:
                known = two_byte([&] {
                    return ModifierLine(opcode == Opcode(MacroToken::kModifierDown), operand);
                });
                break;
            case MacroToken::kKeyDown:
            case MacroToken::kKeyUp:
                known = two_byte([&] {
                    return KeyLine(opcode == Opcode(MacroToken::kKeyDown), UsageName(operand),
                                   operand);
                });
                break;
            case MacroToken::kMoveX:
                known = two_byte([&] { return MoveXLine(operand); });
                break;
            case MacroToken::kMoveY:
                known = two_byte([&] { return MoveYLine(operand); });
                break;
            case MacroToken::kDelay: {
                if (!has_operand) {
                    known = false;
                    break;
                }
                int total = kDelayUnitMs * operand;
                std::size_t j = 1;
                while (j < kMergedDelayTokens && i + 2 * j + 1 <= last &&
                       content[i + 2 * j] == Opcode(MacroToken::kDelay)) {
                    total += kDelayUnitMs * content[i + 2 * j + 1];
                    ++j;
                }
                lines.push_back(DelayLine(total));
                if (delays.size() < 4) {
                    delays.push_back(total);
                }
                i += 2 * j;
                break;
            }
            case MacroToken::kRepeatStart:
                known = has_operand;
                i += 2;
                break;
            case MacroToken::kRepeatEnd:
                i += 1;
                break;
            default:
                if (IsButtonOpcode(opcode, MacroToken::kButtonDown)) {
                    lines.push_back(ButtonLine(true, opcode - Opcode(MacroToken::kButtonDown)));
                    i += 1;
                } else if (IsButtonOpcode(opcode, MacroToken::kButtonUp)) {
                    lines.push_back(ButtonLine(false, opcode - Opcode(MacroToken::kButtonUp)));
                    i += 1;
                } else {
                    known = false;
                }
                break;
        }
        if (!known) {
            break;
        }
    }
    SetDelayMode(delays, decoded);
    return decoded;
}

std::optional<StoredMacroOptions> ReadMacroOptions(std::span<const uint8_t> content,
                                                   ContentForm form) {
    if (content.size() < kMacroContentSize) {
        return std::nullopt;
    }
    const std::size_t length = StoredLength(content, form);
    const std::size_t erased = form == ContentForm::kDevice ? 0xFF : 0xFFFF;
    if (length == 0 || length == erased) {
        return std::nullopt;
    }
    StoredMacroOptions options;
    if (content[0] == kStopOnReleaseFlag) {
        options.release = ReleaseOption::kStopOnRelease;
    } else if (content[0] == kPlayToEndFlag) {
        options.release = ReleaseOption::kPlayToEnd;
    }
    const std::size_t start = TokenStart(form);
    if (content[start] == Opcode(MacroToken::kRepeatStart)) {
        const uint8_t passes = content[start + 1];
        if (passes == kRepeatEndless) {
            options.repeat = RepeatOption::kEndless;
        } else {
            options.repeat = RepeatOption::kTimes;
            options.repeat_count = passes + 1;
        }
    }
    return options;
}

}  // namespace velq
