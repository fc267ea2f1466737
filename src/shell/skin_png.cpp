#include "shell/skin_png.h"

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

}  // namespace velq
