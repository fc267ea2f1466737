#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "macros/macro_content.h"
#include "macros/macro_lines.h"

namespace velq {

// What happens when the button is released: the macro stops (function type 0x0E) or plays to
// its end (type 0x06).
enum class ReleaseOption { kPlayToEnd, kStopOnRelease };

// How often the whole body plays: once, `repeat_count` times (1..255) or without end.
enum class RepeatOption { kNone, kTimes, kEndless };

struct MacroOptions {
    ReleaseOption release = ReleaseOption::kPlayToEnd;
    RepeatOption repeat = RepeatOption::kNone;
    int repeat_count = 8;
};

enum class MacroEncodeError {
    kNone,
    kTooLong,  // the tokens do not fit the content's room
    kBadLine,  // an event line whose last characters are not token bytes
};

// The caption key of the message for a macro that does not fit.
inline constexpr std::string_view kMacroTooLongCaptionKey = "Str103";

struct MacroEncodeResult {
    MacroEncodeError error = MacroEncodeError::kNone;
    std::string_view caption_key;  // message for the user when refused; empty otherwise
    std::size_t token_bytes = 0;   // tokens written, or the tokens that did not fit
    std::size_t bad_line = 0;      // the line index for BadLine

    bool ok() const { return error == MacroEncodeError::kNone; }
    explicit operator bool() const { return ok(); }
};

// The token bytes of lines 1.. with the repeat wrapper, or the index of the first line that
// holds no token bytes. Delay lines: the number after the kind (not a number or negative: 0)
// in 8 ms units, as several Delay tokens of at most 255 units when longer than 2040 ms.
struct MacroTokens {
    std::vector<uint8_t> bytes;
    std::optional<std::size_t> bad_line;
};
MacroTokens BuildMacroTokens(const MacroLines& lines, const MacroOptions& options);

// Encodes the lines into a device-form content. A macro whose tokens exceed the 221 bytes of
// room, or that holds a bad line, is refused and `content` stays as it was.
[[nodiscard]] MacroEncodeResult EncodeMacro(const MacroLines& lines, const MacroOptions& options,
                                            std::span<uint8_t, kMacroContentSize> content);

// The same for a utility-form content, with its room of 1980 token bytes.
[[nodiscard]] MacroEncodeResult EncodeDriverMacro(
    const MacroLines& lines, const MacroOptions& options,
    std::span<uint8_t, kDriverMacroContentSize> content);

}  // namespace velq
