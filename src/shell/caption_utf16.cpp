#include "shell/caption_utf16.h"

namespace velq {

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

Utf16DecodeResult DecodeUtf16Le(std::span<const uint8_t> bytes) {
    Utf16DecodeResult result;
    if (bytes.size() % 2 != 0) {
        result.error = "odd number of bytes (" + std::to_string(bytes.size()) + ") in UTF-16 text";
        return result;
    }
    const size_t units = bytes.size() / 2;
    auto unit_at = [&](size_t i) -> char16_t {
        return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    };
    result.text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        const char16_t unit = unit_at(i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const char16_t low = i + 1 < units ? unit_at(i + 1) : char16_t{0};
            if (low < 0xDC00 || low > 0xDFFF) {
                result.text.clear();
                result.error = "unpaired high surrogate at UTF-16 unit " + std::to_string(i);
                return result;
            }
            AppendUtf8(result.text,
                       0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{low} - 0xDC00));
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            result.text.clear();
            result.error = "unpaired low surrogate at UTF-16 unit " + std::to_string(i);
            return result;
        } else {
            AppendUtf8(result.text, unit);
        }
    }
    result.ok = true;
    return result;
}

}  // namespace velq
