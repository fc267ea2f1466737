#include "shell/skin_png.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <png.h>

namespace velq {

// libpng reports errors by a long jump back to the latest setjmp. The functions holding a
// setjmp below keep only plain data in their frames, so that the jump skips no destructor.
struct PngDecoder::State {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::span<const uint8_t> bytes;
    std::size_t read = 0;
    char message[160] = {};
    bool finished = false;
};

namespace {

void OnError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngDecoder::State*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* state = static_cast<PngDecoder::State*>(png_get_io_ptr(png));
    if (length > state->bytes.size() - state->read) {
        png_error(png, "the data ends early");
    }
    std::memcpy(out, state->bytes.data() + state->read, length);
    state->read += length;
}

bool ReadHeader(PngDecoder::State* state, PngChecks checks) {
    png_structp png = state->png;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_read_fn(png, state, &ReadFromMemory);
    if (checks == PngChecks::kSkipChecksums) {
        // Only for pictures built into the program: the checksums of chunks and of the
        // compressed stream cost a fifth of the decoding and guard against nothing there.
        png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
        static_cast<void>(png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON));
#endif
    }
    png_read_info(png, state->info);
    return true;
}

// Sets up the conversion to 8-bit channels in `order` with straight alpha (255 where the file
// has none: `alpha` false; no alpha byte at all for `kRgb`) and reads every row.
bool ReadRows(PngDecoder::State* state, PngPixelOrder order, bool alpha, png_bytepp rows,
              png_size_t row_bytes) {
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    // Colours given for another gamma are brought to the screen's (sRGB); files without a
    // gamma are taken as they stand.
    if (png_get_valid(png, info, PNG_INFO_gAMA) != 0) {
        png_set_alpha_mode(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    }
    png_set_scale_16(png);
    png_set_expand(png);  // palette and small grey depths to 8 bits, transparent colour to alpha
    png_set_gray_to_rgb(png);
    if (order == PngPixelOrder::kBgra) {
        png_set_bgr(png);
    }
    const int filler_at = order == PngPixelOrder::kArgb ? PNG_FILLER_BEFORE : PNG_FILLER_AFTER;
    if (order == PngPixelOrder::kRgb) {
        // Nothing to add: the caller has checked that the picture is opaque.
    } else if (!alpha) {
        png_set_add_alpha(png, 0xFF, filler_at);
    } else if (order == PngPixelOrder::kArgb) {
        png_set_swap_alpha(png);
    }
    static_cast<void>(png_set_interlace_handling(png));
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != row_bytes) {
        png_error(png, "unexpected row layout");
    }
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

PngDecoder::PngDecoder(std::span<const uint8_t> bytes, PngChecks checks) : state_(new State) {
    if (bytes.empty()) {
        error_ = "PNG: no data";
        return;
    }
    state_->bytes = bytes;
    state_->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state_, &OnError, &OnWarning);
    state_->info = state_->png != nullptr ? png_create_info_struct(state_->png) : nullptr;
    if (state_->info == nullptr) {
        error_ = "PNG: out of memory";
        return;
    }
    if (!ReadHeader(state_, checks)) {
        error_ = std::string("PNG: ") + state_->message;
        return;
    }
    const png_uint_32 width = png_get_image_width(state_->png, state_->info);
    const png_uint_32 height = png_get_image_height(state_->png, state_->info);
    const std::size_t pixels = std::size_t{width} * std::size_t{height};
    if (width == 0 || height == 0 || pixels > kMaxSkinPixels) {
        error_ = "PNG: picture size " + std::to_string(width) + " x " + std::to_string(height) +
                 " is out of range";
        return;
    }
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    has_alpha_ = (png_get_color_type(state_->png, state_->info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                 png_get_valid(state_->png, state_->info, PNG_INFO_tRNS) != 0;
    ok_ = true;
}

PngDecoder::~PngDecoder() {
    if (state_->png != nullptr) {
        png_destroy_read_struct(&state_->png, state_->info != nullptr ? &state_->info : nullptr,
                                nullptr);
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
    if (order == PngPixelOrder::kRgb && has_alpha_) {
        error_ = "PNG: a picture with transparency needs an alpha channel";
        return false;
    }
    const std::size_t row_bytes = static_cast<std::size_t>(width_) * PngPixelBytes(order);
    if (pixels == nullptr || stride < row_bytes || stride > INT_MAX) {
        error_ = "PNG: no room for the picture's rows";
        return false;
    }
    state_->finished = true;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height_));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = pixels + y * stride;
    }
    if (!ReadRows(state_, order, has_alpha_, rows.data(), row_bytes)) {
        error_ = std::string("PNG: ") + state_->message;
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
