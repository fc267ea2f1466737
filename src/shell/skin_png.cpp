#include "shell/skin_png.h"

#include <algorithm>
#include <climits>

#include <png.h>

namespace velq {

// The simplified libpng interface keeps libpng's error jumps inside the library.
struct PngDecoder::State {
    png_image image{};
    bool begun = false;
    bool finished = false;
};

PngDecoder::PngDecoder(std::span<const uint8_t> bytes) : state_(new State) {
    if (bytes.empty()) {
        error_ = "PNG: no data";
        return;
    }
    png_image& image = state_->image;
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
        error_ = std::string("PNG: ") + image.message;
        return;
    }
    state_->begun = true;
    const std::size_t pixels = std::size_t{image.width} * std::size_t{image.height};
    if (image.width == 0 || image.height == 0 || pixels > kMaxSkinPixels) {
        error_ = "PNG: picture size " + std::to_string(image.width) + " x " +
                 std::to_string(image.height) + " is out of range";
        return;
    }
    width_ = static_cast<int>(image.width);
    height_ = static_cast<int>(image.height);
    has_alpha_ = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    ok_ = true;
}

PngDecoder::~PngDecoder() {
    if (state_->begun) {
        png_image_free(&state_->image);  // safe after finish_read has freed it already
    }
    delete state_;
}

bool PngDecoder::DecodeInto(PngPixelOrder order, uint8_t* pixels, std::size_t stride) {
    if (!ok_) {
        return false;
    }
    if (state_->finished) {
        error_ = "PNG: the picture was decoded already";
        return false;
    }
    const std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
    if (pixels == nullptr || stride < row_bytes || stride > INT_MAX) {
        error_ = "PNG: no room for the picture's rows";
        return false;
    }
    png_image& image = state_->image;
    switch (order) {
        case PngPixelOrder::kRgba:
            image.format = PNG_FORMAT_RGBA;
            break;
        case PngPixelOrder::kBgra:
            image.format = PNG_FORMAT_BGRA;
            break;
        case PngPixelOrder::kArgb:
            image.format = PNG_FORMAT_ARGB;
            break;
    }
    state_->finished = true;
    if (png_image_finish_read(&image, nullptr, pixels, static_cast<png_int_32>(stride), nullptr) ==
        0) {
        error_ = std::string("PNG: ") + image.message;
        return false;
    }
    return true;
}

PngDecodeResult DecodePng(std::span<const uint8_t> bytes) {
    PngDecodeResult result;
    PngDecoder decoder(bytes);
    if (!decoder.ok()) {
        result.error = decoder.error();
        return result;
    }
    RgbaImage image;
    image.width = decoder.width();
    image.height = decoder.height();
    const std::size_t row_bytes = static_cast<std::size_t>(image.width) * 4;
    image.pixels.resize(row_bytes * static_cast<std::size_t>(image.height));
    if (!decoder.DecodeInto(PngPixelOrder::kRgba, image.pixels.data(), row_bytes)) {
        result.error = decoder.error();
        return result;
    }
    result.image = std::move(image);
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
