#include "macros/macro_encode.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "buttons/hex_text.h"
#include "macros/macro_token.h"

namespace velq {

namespace {

// The wait of a delay line in ms: the number after "0 "; anything else is no wait.
int DelayOfLine(std::string_view line) {
    if (line.size() <= 2) {
        return 0;
    }
    const std::string_view digits = line.substr(2);
    int ms = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), ms);
    if (error != std::errc{} || end != digits.data() + digits.size() || ms < 0) {
        return 0;
    }
    return ms;
}

// A wait in Delay tokens: whole 255-unit tokens first, then the rest; a wait under 8 ms still
// gives one token of 0, so the line survives.
void AppendDelay(int ms, std::vector<uint8_t>& bytes) {
    // A wait longer than any room holds is cut where it already cannot fit, so an absurd number
    // costs no memory; the macro is refused as too long all the same.
    constexpr int kUnitsBeyondAnyRoom =
        kMaxDelayUnits * static_cast<int>(kDriverMacroTokenRoom / 2 + 1);
    int units = std::min(ms / kDelayUnitMs, kUnitsBeyondAnyRoom);
    const uint8_t delay = Opcode(MacroToken::kDelay);
    while (units > kMaxDelayUnits) {
        bytes.push_back(delay);
        bytes.push_back(kMaxDelayUnits);
        units -= kMaxDelayUnits;
    }
    bytes.push_back(delay);
    bytes.push_back(static_cast<uint8_t>(units));
}

// The token bytes of an event line: its last four characters, or the last two when those four
// begin with "00" (the one-byte button tokens).
bool AppendEvent(std::string_view line, std::vector<uint8_t>& bytes) {
    std::string_view tail = line.size() >= 4 ? line.substr(line.size() - 4) : line;
    if (tail.size() == 4 && tail.substr(0, 2) == "00") {
        tail = tail.substr(2);
    }
    if (tail.empty() || tail.size() % 2 != 0) {
        return false;
    }
    std::vector<uint8_t> parsed;
    for (std::size_t i = 0; i < tail.size(); i += 2) {
        const auto byte = ParseHexByte(tail.substr(i, 2));
        if (!byte) {
            return false;
        }
        parsed.push_back(*byte);
    }
    bytes.insert(bytes.end(), parsed.begin(), parsed.end());
    return true;
}

template <std::size_t kSize>
MacroEncodeResult Encode(const MacroLines& lines, const MacroOptions& options,
                         std::span<uint8_t, kSize> content, ContentForm form) {
    MacroEncodeResult result;
    const MacroTokens tokens = BuildMacroTokens(lines, options);
    if (tokens.bad_line) {
        result.error = MacroEncodeError::kBadLine;
        result.bad_line = *tokens.bad_line;
        return result;
    }
    const std::size_t n = tokens.bytes.size();
    result.token_bytes = n;
    if (n > TokenRoom(form)) {
        result.error = MacroEncodeError::kTooLong;
        result.caption_key = kMacroTooLongCaptionKey;
        return result;
    }
    std::fill(content.begin(), content.end(), uint8_t{0});
    if (n == 0) {
        return result;  // an empty macro is all zero and carries no flag
    }
    content[0] =
        options.release == ReleaseOption::kStopOnRelease ? kStopOnReleaseFlag : kPlayToEndFlag;
    const std::size_t length = n + 1;
    if (form == ContentForm::kDevice) {
        content[1] = static_cast<uint8_t>(length);
    } else {
        content[1] = static_cast<uint8_t>(length >> 8);
        content[2] = static_cast<uint8_t>(length & 0xFF);
    }
    const std::size_t start = TokenStart(form);
    std::copy(tokens.bytes.begin(), tokens.bytes.end(), content.begin() + start);
    content[start + n] = MacroChecksum(content, form, n);
    return result;
}

}  // namespace

MacroTokens BuildMacroTokens(const MacroLines& lines, const MacroOptions& options) {
    MacroTokens tokens;
    std::vector<uint8_t>& bytes = tokens.bytes;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) {
            continue;
        }
        if (line[0] == '0') {
            AppendDelay(DelayOfLine(line), bytes);
        } else if (!AppendEvent(line, bytes)) {
            tokens.bad_line = i;
            return tokens;
        }
    }
    if (options.repeat == RepeatOption::kNone) {
        return tokens;
    }
    const uint8_t passes = options.repeat == RepeatOption::kEndless
                               ? kRepeatEndless
                               : static_cast<uint8_t>(std::clamp(options.repeat_count, 1, 255) - 1);
    bytes.insert(bytes.begin(), {Opcode(MacroToken::kRepeatStart), passes});
    bytes.push_back(Opcode(MacroToken::kRepeatEnd));
    return tokens;
}

MacroEncodeResult EncodeMacro(const MacroLines& lines, const MacroOptions& options,
                              std::span<uint8_t, kMacroContentSize> content) {
    return Encode(lines, options, content, ContentForm::kDevice);
}

MacroEncodeResult EncodeDriverMacro(const MacroLines& lines, const MacroOptions& options,
                                    std::span<uint8_t, kDriverMacroContentSize> content) {
    return Encode(lines, options, content, ContentForm::kUtility);
}

}  // namespace velq
