#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "shell/skin_image.h"

namespace velq {

struct PngDecodeResult {
    bool ok = false;
    std::string error;  // what was wrong with the data, when not ok
    RgbaImage image;
    explicit operator bool() const { return ok; }
};

// Decodes a PNG file held in memory into RGBA (any colour type and bit depth; palette and
// grey pictures are expanded). Damaged, truncated or oversized data gives an error.
[[nodiscard]] PngDecodeResult DecodePng(std::span<const uint8_t> bytes);

// The byte order of the 8-bit channels of a pixel as they lie in memory. Alpha is straight; a
// picture without alpha gets 255. `kRgb` is three bytes a pixel without alpha, for opaque
// pictures only: a quarter less memory than four bytes.
enum class PngPixelOrder : uint8_t { kRgba, kBgra, kArgb, kRgb };

// The bytes one pixel takes in `order`.
constexpr std::size_t PngPixelBytes(PngPixelOrder order) {
    return order == PngPixelOrder::kRgb ? 3 : 4;
}

// Whether the checksums of the file's chunks and of its compressed pixel data are checked.
// Skipping them is for pictures built into the program, which cannot have been damaged on
// the way; damaged data still fails cleanly where its structure breaks.
enum class PngChecks : uint8_t { kVerify, kSkipChecksums };

// A PNG file decoded in two steps, so that the caller can decode straight into a buffer of
// its own (a window picture's pixels) once it knows the size: no intermediate copy of a
// picture that can be megabytes. The bytes must outlive the decoder.
class PngDecoder {
public:
    explicit PngDecoder(std::span<const uint8_t> bytes, PngChecks checks = PngChecks::kVerify);
    ~PngDecoder();
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    // Whether the header was read and the size is in range; otherwise error() says why.
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Whether the file carries transparency (an alpha channel or a transparent colour); a
    // picture without decodes with every alpha byte 255.
    bool has_alpha() const { return has_alpha_; }

    // Decodes the whole picture into `pixels`: height() rows of `stride` bytes, each row
    // starting with width() pixels of PngPixelBytes(order) bytes in `order`. Once per decoder;
    // false (with error()) when the data is damaged, the stride is too small, or `order` is
    // `kRgb` and the picture has transparency (which three bytes cannot hold).
    [[nodiscard]] bool DecodeInto(PngPixelOrder order, uint8_t* pixels, std::size_t stride);

    struct State;  // libpng's side, kept out of this header

private:
    State* state_ = nullptr;
    bool ok_ = false;
    std::string error_;
    int width_ = 0;
    int height_ = 0;
    bool has_alpha_ = false;
};

// The width and height a PNG file announces in its header, without decoding it; nothing when
// the bytes do not start like a PNG file.
struct PngSize {
    int width = 0;
    int height = 0;
};
[[nodiscard]] std::optional<PngSize> ReadPngSize(std::span<const uint8_t> bytes);

}  // namespace velq
