#pragma once

#include <optional>
#include <span>

#include "macros/macro_content.h"
#include "macros/macro_encode.h"
#include "macros/macro_lines.h"

namespace velq {

// The text form of a stored macro and the delay mode the editor takes from it.
struct DecodedMacro {
    MacroLines lines;  // line 0 is the delay-mode line
    DelayMode delay_mode = DelayMode::kNoDelay;
    int fixed_delay_ms = 0;  // the editor's delay field, for FixedDelay
};

// Decodes the tokens of a content into lines. Up to five consecutive Delay tokens make one
// wait line. The scan stops at the first unknown opcode and at a token cut off by the end of the
// token area, and never reads outside `content` whatever its bytes.
DecodedMacro DecodeMacroContent(std::span<const uint8_t> content, ContentForm form);

inline DecodedMacro DecodeMacro(std::span<const uint8_t, kMacroContentSize> content) {
    return DecodeMacroContent(content, ContentForm::kDevice);
}

inline DecodedMacro DecodeDriverMacro(std::span<const uint8_t, kDriverMacroContentSize> content) {
    return DecodeMacroContent(content, ContentForm::kUtility);
}

// The editor options a stored content selects. None for an empty or erased content (length
// 0 or all ones): the options then stay as they were. `release` is none when byte 0 is neither
// 0 nor 1; `repeat_count` is set only for RepeatOption::kTimes.
struct StoredMacroOptions {
    std::optional<ReleaseOption> release;
    RepeatOption repeat = RepeatOption::kNone;
    std::optional<int> repeat_count;
};
std::optional<StoredMacroOptions> ReadMacroOptions(std::span<const uint8_t> content,
                                                   ContentForm form);

}  // namespace velq
