#include "shell/skin_png.h"

#include <algorithm>

#include <png.h>

namespace velq {

PngDecodeResult DecodePng(std::span<const uint8_t> bytes) {
    PngDecodeResult result;
    if (bytes.empty()) {
        result.error = "PNG: no data";
        return result;
    }
    // The simplified libpng interface keeps libpng's error jumps inside the library.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
        result.error = std::string("PNG: ") + image.message;
        png_image_free(&image);
        return result;
    }
    const std::size_t pixels = std::size_t{image.width} * std::size_t{image.height};
    if (image.width == 0 || image.height == 0 || pixels > kMaxSkinPixels) {
        result.error = "PNG: picture size " + std::to_string(image.width) + " x " +
                       std::to_string(image.height) + " is out of range";
        png_image_free(&image);
        return result;
    }
    image.format = PNG_FORMAT_RGBA;
    result.image.width = static_cast<int>(image.width);
    result.image.height = static_cast<int>(image.height);
    result.image.pixels.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, result.image.pixels.data(), 0, nullptr) == 0) {
        result.error = std::string("PNG: ") + image.message;
        result.image = {};
        png_image_free(&image);
        return result;
    }
    png_image_free(&image);
    result.ok = true;
    return result;
}

std::optional<PngSize> ReadPngSize(std::span<const uint8_t> bytes) {
    // Signature (8 bytes), then the IHDR chunk: length, "IHDR", width and height big-endian.
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24 ||
        !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin()) ||
        bytes[12] != 'I' || bytes[13] != 'H' || bytes[14] != 'D' || bytes[15] != 'R') {
        return std::nullopt;
    }
    const auto be32 = [&](size_t at) {
        return static_cast<uint32_t>(bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 |
                                     bytes[at + 3]);
    };
    const uint32_t width = be32(16);
    const uint32_t height = be32(20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return std::nullopt;
    }
    return PngSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace velq
