#include "common/utf.h"

namespace velq {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

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

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        std::size_t extra = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        bool valid = i + extra < text.size();  // the continuation bytes are all there
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3F);
            }
        }
        constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || code < kMinimum[extra] || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += extra + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
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
