#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velq {

// The outcome of turning UTF-16 text into UTF-8; `error` says what was wrong and where.
struct Utf16DecodeResult {
    bool ok = false;
    std::string text;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Decodes UTF-16 little-endian code units (without a byte order mark) to UTF-8. An odd byte
// count or an unpaired surrogate is an error rather than a silently mangled caption.
[[nodiscard]] Utf16DecodeResult DecodeUtf16Le(std::span<const uint8_t> bytes);

// Appends the UTF-8 form of one code point to `out`.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace velq
