#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "shell/skin_gif.h"
#include "shell/skin_png.h"
#include "shell/skin_resource.h"

namespace velq {
namespace {

// ---- PNG

// `pixels` in `format`: RGBA unless told otherwise.
std::vector<uint8_t> EncodePng(int w, int h, const std::vector<uint8_t>& pixels,
                               png_uint_32 format = PNG_FORMAT_RGBA) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = format;
    png_alloc_size_t size = 0;
    EXPECT_NE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr), 0);
    std::vector<uint8_t> out(size);
    EXPECT_NE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr),
              0);
    out.resize(size);
    return out;
}

// A palette picture of one row: `indices` into `colours` (RGBA entries).
std::vector<uint8_t> EncodePalettePng(const std::vector<uint8_t>& indices,
                                      const std::vector<uint8_t>& colours) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(indices.size());
    image.height = 1;
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(colours.size() / 4);
    png_alloc_size_t size = 0;
    EXPECT_NE(
        png_image_write_to_memory(&image, nullptr, &size, 0, indices.data(), 0, colours.data()), 0);
    std::vector<uint8_t> out(size);
    EXPECT_NE(
        png_image_write_to_memory(&image, out.data(), &size, 0, indices.data(), 0, colours.data()),
        0);
    out.resize(size);
    return out;
}

std::vector<uint8_t> TestPixels(int w, int h) {
    std::vector<uint8_t> px;
    for (int i = 0; i < w * h; ++i) {
        px.insert(px.end(), {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i * 13),
                             static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 31)});
    }
    return px;
}

uint32_t Crc32(const uint8_t* data, std::size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
    }
}

// The header chunk starts at byte 8: length (4), "IHDR", width, height, ..., CRC.
std::vector<uint8_t> WithHeaderSize(std::vector<uint8_t> png, uint32_t w, uint32_t h) {
    PutBigEndian(png, 16, w);
    PutBigEndian(png, 20, h);
    PutBigEndian(png, 29, Crc32(&png[12], 17));
    return png;
}

TEST(SkinPngTest, DecodesRgbaExactly) {
    const std::vector<uint8_t> pixels = TestPixels(5, 3);
    const PngDecodeResult result = DecodePng(EncodePng(5, 3, pixels));
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.image.width, 5);
    EXPECT_EQ(result.image.height, 3);
    EXPECT_EQ(result.image.pixels, pixels);
}

// A file without transparency says so, and decodes with every alpha byte 255; one with an
// alpha channel, or with a transparent palette entry, says it has some.
TEST(SkinPngTest, TellsWhetherThePictureHasTransparency) {
    const std::vector<uint8_t> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const std::vector<uint8_t> rgb_png = EncodePng(2, 2, rgb, PNG_FORMAT_RGB);
    PngDecoder opaque(rgb_png);
    ASSERT_TRUE(opaque.ok()) << opaque.error();
    EXPECT_FALSE(opaque.has_alpha());
    std::vector<uint8_t> bgra(16, 0);
    ASSERT_TRUE(opaque.DecodeInto(PngPixelOrder::kBgra, bgra.data(), 8)) << opaque.error();
    EXPECT_EQ(bgra, (std::vector<uint8_t>{30, 20, 10, 255, 60, 50, 40, 255, 90, 80, 70, 255, 120,
                                          110, 100, 255}));

    const std::vector<uint8_t> rgba_png = EncodePng(5, 3, TestPixels(5, 3));
    EXPECT_TRUE(PngDecoder(rgba_png).has_alpha());

    // A palette picture whose first entry is see-through.
    const std::vector<uint8_t> palette_png =
        EncodePalettePng({0, 1, 1, 0}, {1, 2, 3, 0, 9, 8, 7, 255});
    EXPECT_TRUE(PngDecoder(palette_png).has_alpha());
}

// Every kind of PNG comes out as straight 8-bit RGBA: grey and grey with alpha spread to three
// channels, a palette with a see-through entry expanded, 16-bit linear light (a file with a
// gamma of its own) brought to the screen's sRGB.
TEST(SkinPngTest, DecodesEveryColourTypeToStraightRgba) {
    struct Case {
        const char* name;
        png_uint_32 format;
        std::vector<uint8_t> input;  // bytes as the writer takes them
        std::vector<uint8_t> rgba;
    };
    std::vector<uint8_t> linear(6);
    const std::array<uint16_t, 3> light = {0, 32768, 65535};
    std::memcpy(linear.data(), light.data(), linear.size());
    const Case cases[] = {
        {"Grey", PNG_FORMAT_GRAY, {0, 128}, {0, 0, 0, 255, 128, 128, 128, 255}},
        {"GreyAlpha", PNG_FORMAT_GA, {50, 100, 200, 255}, {50, 50, 50, 100, 200, 200, 200, 255}},
        {"LinearRgb16", PNG_FORMAT_LINEAR_RGB, linear, {0, 186, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int pixels = static_cast<int>(c.rgba.size() / 4);
        const PngDecodeResult result = DecodePng(EncodePng(pixels, 1, c.input, c.format));
        ASSERT_TRUE(result) << result.error;
        ASSERT_EQ(result.image.pixels.size(), c.rgba.size());
        for (std::size_t i = 0; i < c.rgba.size(); ++i) {
            EXPECT_NEAR(result.image.pixels[i], c.rgba[i], 1) << "byte " << i;
        }
    }

    const std::vector<uint8_t> palette_png = EncodePalettePng({0, 1}, {1, 2, 3, 0, 9, 8, 7, 255});
    const PngDecodeResult palette = DecodePng(palette_png);
    ASSERT_TRUE(palette) << palette.error;
    EXPECT_EQ(palette.image.pixels[3], 0);
    EXPECT_EQ(std::vector<uint8_t>(palette.image.pixels.begin() + 4, palette.image.pixels.end()),
              (std::vector<uint8_t>{9, 8, 7, 255}));
}

// Where the IDAT chunk of a PNG file lies: the offset of its length field and its data size.
std::pair<std::size_t, std::size_t> FindIdat(const std::vector<uint8_t>& png) {
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = static_cast<std::size_t>(png[at]) << 24 | png[at + 1] << 16 |
                                   png[at + 2] << 8 | png[at + 3];
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0) {
            return {at, length};
        }
        at += 12 + length;
    }
    ADD_FAILURE() << "no IDAT chunk";
    return {0, 0};
}

// A wrong chunk checksum, or a wrong checksum of the compressed pixel data, stops a checked
// decoding. Skipping the checks (pictures built into the program) decodes the same pixels.
TEST(SkinPngTest, ChecksumsAreCheckedUnlessSkipped) {
    const std::vector<uint8_t> pixels = TestPixels(16, 16);
    const std::vector<uint8_t> good = EncodePng(16, 16, pixels);
    const auto [idat, length] = FindIdat(good);
    ASSERT_GT(length, 4u);
    std::vector<uint8_t> chunk_checksum = good;
    chunk_checksum[idat + 8 + length] ^= 0x01;
    std::vector<uint8_t> stream_checksum = good;
    stream_checksum[idat + 8 + length - 1] ^= 0x01;  // the last byte of the stream's Adler-32
    PutBigEndian(stream_checksum, idat + 8 + length, Crc32(&stream_checksum[idat + 4], length + 4));
    for (const auto& [name, bytes] :
         {std::pair{"chunk", chunk_checksum}, std::pair{"stream", stream_checksum}}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> rows(pixels.size(), 0);
        PngDecoder checked(bytes);
        ASSERT_TRUE(checked.ok()) << checked.error();
        EXPECT_FALSE(checked.DecodeInto(PngPixelOrder::kRgba, rows.data(), 16 * 4));
        EXPECT_FALSE(checked.error().empty());

        PngDecoder trusting(bytes, PngChecks::kSkipChecksums);
        ASSERT_TRUE(trusting.ok()) << trusting.error();
        ASSERT_TRUE(trusting.DecodeInto(PngPixelOrder::kRgba, rows.data(), 16 * 4))
            << trusting.error();
        EXPECT_EQ(rows, pixels);
    }
}

// Decoding straight into a caller's buffer: each channel order, rows at the caller's stride,
// the padding after each row untouched.
TEST(SkinPngTest, DecodesIntoACallersRowsInEachChannelOrder) {
    const std::vector<uint8_t> rgba = TestPixels(5, 3);
    const std::vector<uint8_t> png = EncodePng(5, 3, rgba);
    struct Order {
        PngPixelOrder order;
        std::array<int, 4> from_rgba;  // which RGBA channel lands at byte 0..3
    };
    for (const Order& o :
         {Order{PngPixelOrder::kRgba, {0, 1, 2, 3}}, Order{PngPixelOrder::kBgra, {2, 1, 0, 3}},
          Order{PngPixelOrder::kArgb, {3, 0, 1, 2}}}) {
        PngDecoder decoder(png);
        ASSERT_TRUE(decoder.ok()) << decoder.error();
        ASSERT_EQ(decoder.width(), 5);
        ASSERT_EQ(decoder.height(), 3);
        constexpr std::size_t kStride = 5 * 4 + 12;
        std::vector<uint8_t> rows(kStride * 3, 0xEE);
        ASSERT_TRUE(decoder.DecodeInto(o.order, rows.data(), kStride)) << decoder.error();
        for (std::size_t y = 0; y < 3; ++y) {
            for (std::size_t x = 0; x < 5; ++x) {
                for (std::size_t c = 0; c < 4; ++c) {
                    EXPECT_EQ(rows[y * kStride + x * 4 + c],
                              rgba[(y * 5 + x) * 4 + static_cast<std::size_t>(o.from_rgba[c])]);
                }
            }
            for (std::size_t pad = 20; pad < kStride; ++pad) {
                EXPECT_EQ(rows[y * kStride + pad], 0xEE);
            }
        }
        // A decoder decodes once.
        EXPECT_FALSE(decoder.DecodeInto(o.order, rows.data(), kStride));
    }
}

// Three bytes a pixel for an opaque picture, at the caller's stride; a picture with
// transparency is refused in that order rather than losing its alpha.
TEST(SkinPngTest, DecodesAnOpaquePictureIntoThreeBytesAPixel) {
    const std::vector<uint8_t> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const std::vector<uint8_t> png = EncodePng(2, 2, rgb, PNG_FORMAT_RGB);
    PngDecoder decoder(png);
    ASSERT_TRUE(decoder.ok()) << decoder.error();
    constexpr std::size_t kStride = 2 * 3 + 2;
    std::vector<uint8_t> rows(kStride * 2, 0xEE);
    EXPECT_FALSE(decoder.DecodeInto(PngPixelOrder::kRgb, rows.data(), 2 * 3 - 1));
    ASSERT_TRUE(decoder.DecodeInto(PngPixelOrder::kRgb, rows.data(), kStride)) << decoder.error();
    EXPECT_EQ(rows, (std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 0xEE, 0xEE, 70, 80, 90, 100, 110,
                                          120, 0xEE, 0xEE}));

    for (const std::vector<uint8_t>& transparent :
         {EncodePng(5, 3, TestPixels(5, 3)),
          EncodePalettePng({0, 1, 1, 0}, {1, 2, 3, 0, 9, 8, 7, 255})}) {
        PngDecoder refused(transparent);
        ASSERT_TRUE(refused.ok()) << refused.error();
        std::vector<uint8_t> out(64, 0xEE);
        EXPECT_FALSE(refused.DecodeInto(PngPixelOrder::kRgb, out.data(), 16));
        EXPECT_FALSE(refused.error().empty());
        EXPECT_EQ(out, std::vector<uint8_t>(64, 0xEE));
    }
}

TEST(SkinPngTest, DecodeIntoRefusesRowsTooShortAndDamagedPixelData) {
    const std::vector<uint8_t> png = EncodePng(16, 16, TestPixels(16, 16));
    std::vector<uint8_t> rows(16 * 16 * 4);
    {
        PngDecoder decoder(png);
        ASSERT_TRUE(decoder.ok());
        EXPECT_FALSE(decoder.DecodeInto(PngPixelOrder::kBgra, rows.data(), 16 * 4 - 1));
        EXPECT_FALSE(decoder.error().empty());
    }
    // The header reads, the pixel data does not: the size is known, the decoding fails.
    std::vector<uint8_t> cut = png;
    cut.resize(cut.size() / 2);
    PngDecoder decoder(cut);
    ASSERT_TRUE(decoder.ok()) << decoder.error();
    EXPECT_FALSE(decoder.DecodeInto(PngPixelOrder::kBgra, rows.data(), 16 * 4));
    EXPECT_FALSE(decoder.error().empty());
}
struct BadPngCase {
    const char* name;
    std::vector<uint8_t> (*make)(std::vector<uint8_t> good);
};

void PrintTo(const BadPngCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinBadPngTest : public ::testing::TestWithParam<BadPngCase> {};

TEST_P(SkinBadPngTest, GivesAnErrorAndNoPixels) {
    const std::vector<uint8_t> good = EncodePng(16, 16, TestPixels(16, 16));
    const PngDecodeResult result = DecodePng(GetParam().make(good));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(result.image.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Damage, SkinBadPngTest,
    ::testing::Values(
        BadPngCase{"Empty", [](std::vector<uint8_t>) { return std::vector<uint8_t>{}; }},
        BadPngCase{
            "SignatureOnly",
            [](std::vector<uint8_t> g) { return std::vector<uint8_t>(g.begin(), g.begin() + 8); }},
        BadPngCase{"WrongSignature",
                   [](std::vector<uint8_t> g) {
                       g[1] = 'X';
                       return g;
                   }},
        BadPngCase{"CutInHalf",
                   [](std::vector<uint8_t> g) {
                       g.resize(g.size() / 2);
                       return g;
                   }},
        BadPngCase{"CutBeforeTheEnd",
                   [](std::vector<uint8_t> g) {
                       g.resize(g.size() - 12);  // IEND missing
                       g.resize(g.size() - 6);   // and the end of the pixel data
                       return g;
                   }},
        BadPngCase{"PixelDataBitFlipped",
                   [](std::vector<uint8_t> g) {
                       g[g.size() - 20] ^= 0x40;  // inside IDAT: checksum mismatch
                       return g;
                   }},
        BadPngCase{"HugeSizeInHeader",
                   [](std::vector<uint8_t> g) { return WithHeaderSize(g, 100000, 100000); }},
        BadPngCase{"ZeroWidthInHeader",
                   [](std::vector<uint8_t> g) { return WithHeaderSize(g, 0, 16); }}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// Every single-byte change of a real skin picture either decodes or fails cleanly, with the
// checksums checked or not.
TEST(SkinPngTest, SurvivesEveryByteOfASmallPictureDamaged) {
    const auto original = SkinPicture("CbS_E");
    ASSERT_FALSE(original.empty());
    for (const PngChecks checks : {PngChecks::kVerify, PngChecks::kSkipChecksums}) {
        for (std::size_t i = 0; i < original.size(); ++i) {
            std::vector<uint8_t> bytes(original.begin(), original.end());
            bytes[i] ^= 0xA5;
            PngDecoder decoder(bytes, checks);
            if (!decoder.ok()) {
                EXPECT_FALSE(decoder.error().empty());
                continue;
            }
            const std::size_t row_bytes = static_cast<std::size_t>(decoder.width()) * 4;
            std::vector<uint8_t> rows(row_bytes * static_cast<std::size_t>(decoder.height()));
            if (!decoder.DecodeInto(PngPixelOrder::kRgba, rows.data(), row_bytes)) {
                EXPECT_FALSE(decoder.error().empty());
            }
        }
    }
}

// ---- GIF

// Palette of the test animations.
constexpr uint8_t kBlack = 0, kRed = 1, kGreen = 2, kBlue = 3;

struct TestFrame {
    int left, top, width, height;
    std::vector<uint8_t> indices;  // row by row
    int disposal = DISPOSAL_UNSPECIFIED;
    int transparent = NO_TRANSPARENT_COLOR;
    int delay_cs = 0;
    bool interlace = false;
};

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::vector<uint8_t> EncodeGif(int w, int h, const std::vector<TestFrame>& frames) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, &WriteToVector, &error);
    EXPECT_NE(gif, nullptr);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EXPECT_EQ(EGifPutScreenDesc(gif, w, h, 2, 0, map), GIF_OK);
    GifFreeMapObject(map);
    for (const TestFrame& f : frames) {
        GraphicsControlBlock gcb{f.disposal, false, f.delay_cs, f.transparent};
        GifByteType ext[4];
        const auto len = EGifGCBToExtension(&gcb, ext);
        EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext),
                  GIF_OK);
        EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, nullptr),
                  GIF_OK);
        std::vector<int> rows;
        if (f.interlace) {
            for (const auto& [start, step] :
                 {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}}) {
                for (int r = start; r < f.height; r += step) {
                    rows.push_back(r);
                }
            }
        } else {
            for (int r = 0; r < f.height; ++r) {
                rows.push_back(r);
            }
        }
        for (int r : rows) {
            std::vector<GifPixelType> line(f.indices.begin() + r * f.width,
                                           f.indices.begin() + (r + 1) * f.width);
            EXPECT_EQ(EGifPutLine(gif, line.data(), f.width), GIF_OK);
        }
    }
    EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    return out;
}

std::vector<uint8_t> Fill(int w, int h, uint8_t index) {
    return std::vector<uint8_t>(static_cast<std::size_t>(w * h), index);
}

std::array<uint8_t, 4> Pixel(const GifFrame& f, int x, int y) {
    const auto at = static_cast<std::size_t>((y * f.image.width + x) * 4);
    return {f.image.pixels[at], f.image.pixels[at + 1], f.image.pixels[at + 2],
            f.image.pixels[at + 3]};
}

constexpr std::array<uint8_t, 4> kRedPx = {255, 0, 0, 255};
constexpr std::array<uint8_t, 4> kGreenPx = {0, 255, 0, 255};
constexpr std::array<uint8_t, 4> kBluePx = {0, 0, 255, 255};
constexpr std::array<uint8_t, 4> kClear = {0, 0, 0, 0};

struct DisposalCase {
    const char* name;
    int disposal;                         // of the blue middle frame
    std::array<uint8_t, 4> middle_after;  // pixel (1, 1) while the third frame shows
};

void PrintTo(const DisposalCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinGifDisposalTest : public ::testing::TestWithParam<DisposalCase> {};

// Red screen, then a blue 2 x 2 square at (1, 1), then one green pixel at (0, 0).
TEST_P(SkinGifDisposalTest, ThirdFrameShowsWhatTheSecondLeftBehind) {
    const DisposalCase& c = GetParam();
    const GifDecodeResult gif =
        DecodeGif(EncodeGif(4, 4,
                            {{0, 0, 4, 4, Fill(4, 4, kRed), DISPOSE_DO_NOT},
                             {1, 1, 2, 2, Fill(2, 2, kBlue), c.disposal},
                             {0, 0, 1, 1, Fill(1, 1, kGreen), DISPOSE_DO_NOT}}));
    ASSERT_TRUE(gif) << gif.error;
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(Pixel(gif.frames[1], 1, 1), kBluePx);
    EXPECT_EQ(Pixel(gif.frames[1], 0, 0), kRedPx);
    EXPECT_EQ(Pixel(gif.frames[2], 0, 0), kGreenPx);
    EXPECT_EQ(Pixel(gif.frames[2], 1, 1), c.middle_after);
    EXPECT_EQ(Pixel(gif.frames[2], 2, 2), c.middle_after);
    EXPECT_EQ(Pixel(gif.frames[2], 3, 3), kRedPx);  // outside the disposed area
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SkinGifDisposalTest,
    ::testing::Values(DisposalCase{"Unspecified", DISPOSAL_UNSPECIFIED, kBluePx},
                      DisposalCase{"Keep", DISPOSE_DO_NOT, kBluePx},
                      DisposalCase{"RestoreBackground", DISPOSE_BACKGROUND, kClear},
                      DisposalCase{"RestorePrevious", DISPOSE_PREVIOUS, kRedPx}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(SkinGifTest, TransparentIndexKeepsWhatIsBelowAndDelaysAreMilliseconds) {
    std::vector<uint8_t> holes = Fill(2, 2, kGreen);
    holes[0] = kBlack;  // transparent in the second frame
    const GifDecodeResult gif = DecodeGif(
        EncodeGif(2, 2,
                  {{0, 0, 2, 2, Fill(2, 2, kRed), DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, 7},
                   {0, 0, 2, 2, holes, DISPOSE_DO_NOT, kBlack, 12}}));
    ASSERT_TRUE(gif) << gif.error;
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[0].delay_ms, 70);
    EXPECT_EQ(gif.frames[1].delay_ms, 120);
    EXPECT_EQ(Pixel(gif.frames[1], 0, 0), kRedPx);
    EXPECT_EQ(Pixel(gif.frames[1], 1, 0), kGreenPx);
}

TEST(SkinGifTest, FirstFrameTransparentPixelsStayClear) {
    std::vector<uint8_t> indices = Fill(3, 1, kBlue);
    indices[1] = kBlack;
    const GifDecodeResult gif =
        DecodeGif(EncodeGif(3, 1, {{0, 0, 3, 1, indices, DISPOSAL_UNSPECIFIED, kBlack, 0}}));
    ASSERT_TRUE(gif) << gif.error;
    EXPECT_EQ(Pixel(gif.frames[0], 1, 0), kClear);
    EXPECT_EQ(Pixel(gif.frames[0], 2, 0), kBluePx);
}

TEST(SkinGifTest, InterlacedRowsLandInTheirPlace) {
    // Ten rows, row r coloured r % 3 + 1, so a row in the wrong place shows.
    std::vector<uint8_t> indices;
    for (int r = 0; r < 10; ++r) {
        indices.insert(indices.end(), 2, static_cast<uint8_t>(r % 3 + 1));
    }
    TestFrame frame{0, 0, 2, 10, indices};
    frame.interlace = true;
    const GifDecodeResult gif = DecodeGif(EncodeGif(2, 10, {frame}));
    ASSERT_TRUE(gif) << gif.error;
    for (int r = 0; r < 10; ++r) {
        const std::array<uint8_t, 4> expected = r % 3 == 0   ? kRedPx
                                                : r % 3 == 1 ? kGreenPx
                                                             : kBluePx;
        EXPECT_EQ(Pixel(gif.frames[0], 1, r), expected) << "row " << r;
    }
}

TEST(SkinGifTest, FrameReachingPastTheScreenIsCutOff) {
    const GifDecodeResult gif = DecodeGif(
        EncodeGif(3, 3, {{0, 0, 3, 3, Fill(3, 3, kRed)}, {2, 2, 4, 4, Fill(4, 4, kBlue)}}));
    ASSERT_TRUE(gif) << gif.error;
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[1].image.pixels.size(), 3u * 3u * 4u);
    EXPECT_EQ(Pixel(gif.frames[1], 2, 2), kBluePx);
    EXPECT_EQ(Pixel(gif.frames[1], 1, 1), kRedPx);
}

struct BadGifCase {
    const char* name;
    std::vector<uint8_t> (*make)(std::vector<uint8_t> good);
};

void PrintTo(const BadGifCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinBadGifTest : public ::testing::TestWithParam<BadGifCase> {};

TEST_P(SkinBadGifTest, GivesAnErrorAndNoFrames) {
    const std::vector<uint8_t> good =
        EncodeGif(8, 8, {{0, 0, 8, 8, Fill(8, 8, kRed)}, {2, 2, 4, 4, Fill(4, 4, kGreen)}});
    const GifDecodeResult result = DecodeGif(GetParam().make(good));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(result.frames.empty());
}

// Byte 6..9 of a GIF: the screen width and height, little-endian.
std::vector<uint8_t> WithScreen(std::vector<uint8_t> g, int w, int h) {
    g[6] = static_cast<uint8_t>(w & 0xFF);
    g[7] = static_cast<uint8_t>(w >> 8);
    g[8] = static_cast<uint8_t>(h & 0xFF);
    g[9] = static_cast<uint8_t>(h >> 8);
    return g;
}

INSTANTIATE_TEST_SUITE_P(
    Damage, SkinBadGifTest,
    ::testing::Values(
        BadGifCase{"Empty", [](std::vector<uint8_t>) { return std::vector<uint8_t>{}; }},
        BadGifCase{
            "HeaderOnly",
            [](std::vector<uint8_t> g) { return std::vector<uint8_t>(g.begin(), g.begin() + 6); }},
        BadGifCase{"NotAGif",
                   [](std::vector<uint8_t> g) {
                       std::memcpy(g.data(), "PNG89a", 6);
                       return g;
                   }},
        BadGifCase{"CutInHalf",
                   [](std::vector<uint8_t> g) {
                       g.resize(g.size() / 2);
                       return g;
                   }},
        BadGifCase{"TrailerMissing",
                   [](std::vector<uint8_t> g) {
                       g.pop_back();
                       return g;
                   }},
        BadGifCase{"ZeroScreen", [](std::vector<uint8_t> g) { return WithScreen(g, 0, 0); }},
        BadGifCase{"HugeScreen",
                   [](std::vector<uint8_t> g) { return WithScreen(g, 65535, 65535); }},
        BadGifCase{"NoFrames",
                   [](std::vector<uint8_t> g) {
                       // Screen descriptor and global colour table (4 entries), then the
                       // trailer.
                       g.resize(13 + 12);
                       g.push_back(0x3B);
                       return g;
                   }}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(SkinGifTest, HugeFrameOnASmallScreenIsRefusedBeforeReadingIt) {
    std::vector<uint8_t> g = EncodeGif(4, 4, {{0, 0, 4, 4, Fill(4, 4, kRed)}});
    // Find the image descriptor (0x2C) and declare a 60000 x 60000 frame.
    const auto at = static_cast<std::size_t>(std::find(g.begin() + 13, g.end(), 0x2C) - g.begin());
    ASSERT_LT(at + 9, g.size());
    g[at + 5] = 0x60;
    g[at + 6] = 0xEA;
    g[at + 7] = 0x60;
    g[at + 8] = 0xEA;
    const GifDecodeResult result = DecodeGif(g);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("frame 1"), std::string::npos) << result.error;
}

// The embedded animation cut at many points always fails cleanly, never crashes.
TEST(SkinGifTest, TruncatedAnimationIsAnErrorWhereverItIsCut) {
    const auto bytes = SkinPicture("WaitGif");
    ASSERT_GT(bytes.size(), 100u);
    for (std::size_t size = 0; size < bytes.size(); size += bytes.size() / 97 + 1) {
        const GifDecodeResult result = DecodeGif(bytes.first(size));
        EXPECT_FALSE(result) << "cut at " << size;
    }
}

}  // namespace
}  // namespace velq
