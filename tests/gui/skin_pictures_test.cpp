#include <gtest/gtest.h>

#include <QPixmap>

#include <string_view>
#include <vector>

#include "gui_test_rig.h"
#include "shell/skin_gif.h"
#include "shell/skin_png.h"
#include "shell/skin_resource.h"
#include "shell/ui/skin_pictures.h"

namespace velq::ui {
namespace {

// Every picture the window uses is in the embedded skin at the size its controls are laid out
// for: a wrong size would shift every label that fits itself to its picture.
TEST(SkinPicturesTest, EveryPictureDecodesAtItsSize) {
    testing::EnsureApplication();
    const SkinPictures skin;
    const char* names[] = {
        "L1_BackGround", "L1_Back1",        "L1_Back2", "L1_Back3",     "L1_Back4",     "L1_Back5",
        "BtnS_01",       "BtnS_02",         "BtnS_03",  "ExitS_01",     "ExitS_02",     "MiniS_03",
        "SetS_01",       "SetS_02",         "SetS_03",  "Lang_01",      "Lang_03",      "KeyS_01",
        "KeyS_03",       "WebS_01",         "WebS_02",  "WebS_03",      "Gun1_01",      "Gun7_02",
        "GunMode1",      "GunMode5",        "CbS_D",    "CbS_E",        "RdS_D",        "RdS_E",
        "Col_F",         "Bar1_D",          "Bar2_E",   "Slider_Thumb", "Slider_Ruler", "MacroS_01",
        "MacroBtnS_01",  "InsertDelayBase", "Msg"};
    for (const char* name : names) {
        const QImage image = skin.Picture(name);
        ASSERT_FALSE(image.isNull()) << name;
        const PictureSize size = SkinPictureSize(name);
        EXPECT_EQ(image.size(), QSize(size.width, size.height)) << name;
    }
    EXPECT_TRUE(skin.Picture("NoSuchPicture").isNull());
    // The other languages' pictures exist too (the window borrows language 1's only where a
    // language has none worth showing).
    for (const char* name : {"L2_BackGround", "L3_BackGround", "L2_Back5", "L3_Back1"}) {
        EXPECT_FALSE(skin.Picture(name).isNull()) << name;
    }
}

// The window's pictures are decoded straight into its 32-bit premultiplied format (an opaque one
// says it is opaque): every pixel holds the file's colour and alpha, channels in their places (a
// swapped order would turn the colour key blue and the window rectangular), colours
// premultiplied by alpha.
TEST(SkinPicturesTest, PixelsAreTheFilesColours) {
    testing::EnsureApplication();
    const SkinPictures skin;
    for (const char* name : {"L1_BackGround", "L1_Back1", "CbS_E", "Slider_Thumb"}) {
        const QImage image = skin.Picture(name);
        const PngDecodeResult file = DecodePng(SkinPicture(name));
        ASSERT_TRUE(file) << name;
        ASSERT_EQ(image.size(), QSize(file.image.width, file.image.height)) << name;
        int differing = 0;
        int translucent = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const uint8_t* px =
                    &file.image.pixels[(static_cast<size_t>(y) * image.width() + x) * 4];
                translucent += px[3] != 255 ? 1 : 0;
                if (image.pixel(x, y) != qPremultiply(qRgba(px[0], px[1], px[2], px[3]))) {
                    ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << name;
        // A file without transparency is held in three bytes a pixel; one with an alpha
        // channel that turns out opaque in 32-bit pixels that need no blending.
        const bool alpha_channel = PngDecoder(SkinPicture(name)).has_alpha();
        EXPECT_EQ(image.format(), translucent > 0 ? QImage::Format_ARGB32_Premultiplied
                                  : alpha_channel ? QImage::Format_RGB32
                                                  : QImage::Format_RGB888)
            << name;
        if (std::string_view(name) == "L1_Back1") {
            EXPECT_GT(translucent, 0);  // the case premultiplying is for
        }
    }
}

// The animation's frames, each brought to a colour table as it is decoded, show the pixels and
// delays of the whole decoded GIF.
TEST(SkinPicturesTest, WaitAnimationHasTheGifsFramesWithColourTables) {
    testing::EnsureApplication();
    const std::vector<AnimationFrame> frames = SkinPictures().WaitAnimation();
    ASSERT_GT(frames.size(), 1u);
    EXPECT_EQ(frames[0].image.size(), QSize(200, 192));
    const GifDecodeResult gif = DecodeGif(SkinPicture("WaitGif"));
    ASSERT_TRUE(gif) << gif.error;
    ASSERT_EQ(frames.size(), gif.frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        const GifFrame& expected = gif.frames[i];
        EXPECT_EQ(frames[i].image.format(), QImage::Format_Indexed8) << i;
        EXPECT_EQ(frames[i].delay_ms, expected.delay_ms) << i;
        EXPECT_EQ(frames[i].image.convertToFormat(QImage::Format_ARGB32),
                  ImageFromRgba(expected.image.width, expected.image.height, expected.image.pixels)
                      .convertToFormat(QImage::Format_ARGB32))
            << i;
    }
}

// Up to 256 colours take a colour table, more keep 32 bits a pixel; the pixels, see-through
// ones included, are those of the RGBA rows either way. Wrong sizes give a null image.
TEST(SkinPicturesTest, CompactImagesKeepThePixels) {
    testing::EnsureApplication();
    struct Case {
        int colours;
        QImage::Format format;
    };
    for (const Case& c : {Case{256, QImage::Format_Indexed8}, Case{257, QImage::Format_RGBA8888}}) {
        const int width = 17;
        const int height = 16;
        std::vector<uint8_t> rgba;
        for (int i = 0; i < width * height; ++i) {
            const int colour = i % c.colours;
            rgba.insert(rgba.end(), {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour / 2),
                                     7, static_cast<uint8_t>(colour % 3 == 0 ? 0 : 200)});
        }
        const QImage compact = CompactImageFromRgba(width, height, rgba);
        EXPECT_EQ(compact.format(), c.format) << c.colours;
        EXPECT_EQ(compact.convertToFormat(QImage::Format_ARGB32),
                  ImageFromRgba(width, height, rgba).convertToFormat(QImage::Format_ARGB32))
            << c.colours;
        rgba.pop_back();
        EXPECT_TRUE(CompactImageFromRgba(width, height, rgba).isNull());
    }
}

}  // namespace
}  // namespace velq::ui
