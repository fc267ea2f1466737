#include "image/image_text.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>

namespace velq {
namespace {

// Images refer to each other by `base` and `copy`; this bounds a chain and stops a cycle.
constexpr int kMaxNesting = 8;
// No built-in image is larger than the driver images; a bigger size is a typing error.
constexpr std::size_t kMaxImageSize = 1 << 20;

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Splits off the first blank-separated word of `rest`.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    const auto end = rest.find_first_of(" \t");
    const std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
    return word;
}

std::optional<std::size_t> ParseNumber(std::string_view word, int base) {
    std::size_t value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint8_t> ParseByte(std::string_view word) {
    const auto value = ParseNumber(word, 16);
    if (!value || word.size() > 2) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(*value);
}

struct Range {
    std::size_t from;
    std::size_t to;  // inclusive
};

std::optional<Range> ParseRange(std::string_view word) {
    const auto dash = word.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto from = ParseNumber(word.substr(0, dash), 16);
    const auto to = ParseNumber(word.substr(dash + 1), 16);
    if (!from || !to || *from > *to) {
        return std::nullopt;
    }
    return Range{*from, *to};
}

class Parser {
public:
    Parser(std::string_view name, const ImageTextSource& source, int depth)
        : name_(name), source_(source), depth_(depth) {}

    ImageTextResult Run(std::string_view text) {
        std::size_t line_number = 0;
        while (!text.empty() && result_.error.empty()) {
            const auto end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
            ++line_number;
            line = Trim(line.substr(0, line.find('#')));
            if (!line.empty() && !Line(line)) {
                result_.error = name_ + " line " + std::to_string(line_number) + ": " + problem_;
            }
        }
        if (result_.error.empty() && !sized_) {
            result_.error = name_ + ": no size";
        }
        result_.ok = result_.error.empty();
        if (!result_.ok) {
            result_.bytes.clear();
        }
        return std::move(result_);
    }

private:
    bool Fail(std::string problem) {
        problem_ = std::move(problem);
        return false;
    }

    bool Line(std::string_view line) {
        std::string_view rest = line;
        const std::string_view word = NextWord(rest);
        if (word == "size" || word == "base") {
            if (sized_) {
                return Fail("'" + std::string(word) + "' after the image was sized");
            }
            sized_ = true;
            return word == "size" ? Size(rest) : Base(rest);
        }
        if (!sized_) {
            return Fail("'size' or 'base' must come first");
        }
        if (word == "fill") {
            return Fill(rest);
        }
        if (word == "copy") {
            return Copy(rest);
        }
        if (word.size() > 1 && word.back() == ':') {
            return Bytes(word.substr(0, word.size() - 1), rest);
        }
        return Fail("unknown directive '" + std::string(word) + "'");
    }

    bool Size(std::string_view rest) {
        const auto size = ParseNumber(NextWord(rest), 10);
        if (!size || *size == 0 || *size > kMaxImageSize || !Trim(rest).empty()) {
            return Fail("bad size");
        }
        result_.bytes.assign(*size, 0x00);
        return true;
    }

    bool Other(std::string_view other_name, std::vector<uint8_t>& bytes) {
        if (depth_ >= kMaxNesting) {
            return Fail("images refer to each other too deeply");
        }
        const std::string_view text = source_(other_name);
        if (text.empty()) {
            return Fail("no image '" + std::string(other_name) + "'");
        }
        ImageTextResult other = Parser(std::string(other_name), source_, depth_ + 1).Run(text);
        if (!other) {
            return Fail(other.error);
        }
        bytes = std::move(other.bytes);
        return true;
    }

    bool Base(std::string_view rest) {
        const std::string_view other = NextWord(rest);
        if (other.empty() || !Trim(rest).empty()) {
            return Fail("bad base");
        }
        return Other(other, result_.bytes);
    }

    bool Fill(std::string_view rest) {
        const auto range = ParseRange(NextWord(rest));
        const auto value = ParseByte(NextWord(rest));
        if (!range || !value || !Trim(rest).empty()) {
            return Fail("bad fill");
        }
        if (range->to >= result_.bytes.size()) {
            return Fail("fill beyond the end of the image");
        }
        std::fill(result_.bytes.begin() + static_cast<std::ptrdiff_t>(range->from),
                  result_.bytes.begin() + static_cast<std::ptrdiff_t>(range->to) + 1, *value);
        return true;
    }

    bool Copy(std::string_view rest) {
        const std::string_view other_name = NextWord(rest);
        const auto range = ParseRange(NextWord(rest));
        if (other_name.empty() || !range || !Trim(rest).empty()) {
            return Fail("bad copy");
        }
        std::vector<uint8_t> other;
        if (!Other(other_name, other)) {
            return false;
        }
        if (range->to >= result_.bytes.size() || range->to >= other.size()) {
            return Fail("copy beyond the end of an image");
        }
        std::copy(other.begin() + static_cast<std::ptrdiff_t>(range->from),
                  other.begin() + static_cast<std::ptrdiff_t>(range->to) + 1,
                  result_.bytes.begin() + static_cast<std::ptrdiff_t>(range->from));
        return true;
    }

    bool Bytes(std::string_view address_word, std::string_view rest) {
        const auto address = ParseNumber(address_word, 16);
        if (!address) {
            return Fail("bad address '" + std::string(address_word) + "'");
        }
        std::size_t at = *address;
        for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
            const auto value = ParseByte(word);
            if (!value) {
                return Fail("bad byte '" + std::string(word) + "'");
            }
            if (at >= result_.bytes.size()) {
                return Fail("bytes beyond the end of the image");
            }
            result_.bytes[at++] = *value;
        }
        if (at == *address) {
            return Fail("address without bytes");
        }
        return true;
    }

    std::string name_;
    const ImageTextSource& source_;
    int depth_;
    bool sized_ = false;
    std::string problem_;
    ImageTextResult result_;
};

}  // namespace

ImageTextResult ParseImageText(std::string_view name, std::string_view text,
                               const ImageTextSource& source) {
    return Parser(std::string(name), source, 0).Run(text);
}

}  // namespace velq
