#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velq {

// The program's one UTF-8 / UTF-16 codec: macro names are UTF-16 in the mouse and the macro
// files, captions are UTF-16 in the embedded tables, everything else is UTF-8.

// Lenient conversions for names: a malformed sequence, an unpaired surrogate or a code point
// outside Unicode becomes U+FFFD, so a damaged name still shows.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Appends the UTF-8 form of one code point to `out`.
void AppendUtf8(std::string& out, char32_t code_point);

// The outcome of a strict decoding; `error` says what was wrong and where.
struct Utf16DecodeResult {
    bool ok = false;
    std::string text;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Decodes UTF-16 little-endian code units (without a byte order mark) to UTF-8. An odd byte
// count or an unpaired surrogate is an error rather than a silently mangled caption.
[[nodiscard]] Utf16DecodeResult DecodeUtf16Le(std::span<const uint8_t> bytes);

}  // namespace velq
