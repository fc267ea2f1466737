#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velq {

// The outcome of building an image from its text table; `error` names the image and the line.
struct ImageTextResult {
    bool ok = false;
    std::string error;
    std::vector<uint8_t> bytes;
    explicit operator bool() const { return ok; }
};

// Finds the text of another image by its name, for `base` and `copy`; empty when unknown.
using ImageTextSource = std::function<std::string_view(std::string_view name)>;

// Builds an image from the text table format of resources/image (size, base, fill, copy and
// address lines). Anything it cannot read, and any byte outside the image, is an error.
[[nodiscard]] ImageTextResult ParseImageText(std::string_view name, std::string_view text,
                                             const ImageTextSource& source);

}  // namespace velq
