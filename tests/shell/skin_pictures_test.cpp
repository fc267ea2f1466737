#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "shell/skin_gif.h"
#include "shell/skin_png.h"
#include "shell/skin_resource.h"

namespace velq {
namespace {

struct Picture {
    std::string name;
    int width;
    int height;
};

// Every picture resource of the window with its size, for all three languages.
std::vector<Picture> AllPictures() {
    std::vector<Picture> all;
    for (const char* language : {"L1_", "L2_", "L3_"}) {
        const std::string l = language;
        all.insert(all.end(), {{l + "BackGround", 1030, 662},
                               {l + "Back1", 600, 400},
                               {l + "Back2", 800, 424},
                               {l + "Back3", 800, 374},
                               {l + "Back4", 800, 374},
                               {l + "Back5", 720, 650},
                               {l + "Back6", 622, 214}});
    }
    all.insert(
        all.end(),
        {{"BtnS_01", 110, 29},        {"BtnS_02", 110, 27},       {"BtnS_03", 110, 27},
         {"ExitS_01", 22, 22},        {"ExitS_02", 22, 22},       {"ExitS_03", 22, 22},
         {"MiniS_01", 22, 22},        {"MiniS_02", 22, 22},       {"MiniS_03", 22, 22},
         {"SetS_01", 110, 29},        {"SetS_02", 110, 27},       {"SetS_03", 110, 27},
         {"Lang_01", 110, 27},        {"Lang_02", 110, 27},       {"Lang_03", 110, 27},
         {"KeyS_01", 200, 27},        {"KeyS_02", 200, 27},       {"KeyS_03", 170, 27},
         {"WebS_01", 200, 67},        {"WebS_02", 200, 67},       {"WebS_03", 200, 67},
         {"GunMode1", 42, 42},        {"GunMode2", 52, 52},       {"GunMode3", 42, 42},
         {"GunMode4", 52, 52},        {"GunMode5", 62, 62},       {"CbS_D", 19, 19},
         {"CbS_E", 19, 19},           {"RdS_D", 15, 15},          {"RdS_E", 15, 15},
         {"Col_F", 18, 18},           {"Bar1_D", 26, 18},         {"Bar1_E", 26, 18},
         {"Bar2_D", 20, 18},          {"Bar2_E", 20, 18},         {"Slider_Thumb", 25, 25},
         {"Slider_Ruler", 25, 25},    {"MacroS_01", 110, 29},     {"MacroS_02", 110, 29},
         {"MacroS_03", 110, 29},      {"MacroS_04", 110, 29},     {"MacroBtnS_01", 44, 27},
         {"MacroBtnS_02", 44, 27},    {"MacroBtnS_03", 44, 27},   {"InsertDelayBase", 207, 162},
         {"InsertKeyBase", 207, 162}, {"InsertXYBase", 207, 162}, {"Msg", 1000, 660}});
    for (int gun = 1; gun <= 7; ++gun) {
        for (const char* state : {"_01", "_02"}) {
            all.push_back({"Gun" + std::to_string(gun) + state, 120, 56});
        }
    }
    return all;
}

void PrintTo(const Picture& p, std::ostream* os) {
    *os << p.name;
}

class SkinPictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(SkinPictureTest, IsEmbeddedAndDecodesAtItsSize) {
    const Picture& p = GetParam();
    const auto bytes = SkinPicture(p.name);
    ASSERT_FALSE(bytes.empty()) << p.name << " is not embedded";
    const PngDecodeResult png = DecodePng(bytes);
    ASSERT_TRUE(png) << p.name << ": " << png.error;
    EXPECT_EQ(png.image.width, p.width);
    EXPECT_EQ(png.image.height, p.height);
    // A picture that is all transparent or all one colour is not artwork.
    std::set<uint32_t> colours;
    for (std::size_t i = 0; i + 3 < png.image.pixels.size() && colours.size() < 3; i += 4) {
        const uint8_t* px = &png.image.pixels[i];
        if (px[3] != 0) {
            colours.insert(static_cast<uint32_t>(px[0] << 16 | px[1] << 8 | px[2]));
        }
    }
    EXPECT_GE(colours.size(), 3u) << p.name << " has (almost) no drawing";
}

INSTANTIATE_TEST_SUITE_P(All, SkinPictureTest, ::testing::ValuesIn(AllPictures()),
                         [](const auto& param_info) { return param_info.param.name; });

TEST(SkinPictureLookupTest, UnknownAndEmptyNamesGiveNothing) {
    EXPECT_TRUE(SkinPicture("").empty());
    EXPECT_TRUE(SkinPicture("L4_BackGround").empty());
    EXPECT_TRUE(SkinPicture("L1_Back1.png").empty());  // names carry no extension
}

// ---- Shaped windows: the colour key outside the outline, nothing key-like next to it.

constexpr std::array<uint8_t, 3> kKey = {128, 0, 0};

struct Rgba8 {
    uint8_t r, g, b, a;
};

Rgba8 PixelAt(const RgbaImage& image, int x, int y) {
    const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                     static_cast<std::size_t>(x)) *
                    4;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2], image.pixels[at + 3]};
}

bool IsKey(const Rgba8& p) {
    return p.r == kKey[0] && p.g == kKey[1] && p.b == kKey[2];
}

// A reddish colour that the window system would not cut out but that shows as a fringe.
bool IsNearKey(const Rgba8& p) {
    return !IsKey(p) && std::abs(p.r - kKey[0]) <= 60 && p.g <= 40 && p.b <= 40;
}

class ShapedPictureTest : public ::testing::TestWithParam<const char*> {
protected:
    RgbaImage Load() {
        const PngDecodeResult png = DecodePng(SkinPicture(GetParam()));
        EXPECT_TRUE(png) << png.error;
        return png.image;
    }
};

TEST_P(ShapedPictureTest, CornersAreExactlyTheColourKey) {
    const RgbaImage image = Load();
    ASSERT_GT(image.width, 0);
    for (const auto& [x, y] :
         {std::pair{0, 0}, std::pair{image.width - 1, 0}, std::pair{0, image.height - 1},
          std::pair{image.width - 1, image.height - 1}}) {
        const Rgba8 p = PixelAt(image, x, y);
        EXPECT_TRUE(IsKey(p) && p.a == 255)
            << "corner " << x << "," << y << " is " << int{p.r} << "," << int{p.g} << ","
            << int{p.b} << " alpha " << int{p.a};
    }
}

TEST_P(ShapedPictureTest, IsOpaqueWithNoFringeAndNoHoles) {
    const RgbaImage image = Load();
    ASSERT_GT(image.width, 0);
    const int w = image.width;
    const int h = image.height;
    // Key pixels reachable from the corners through key pixels are the outside; any other key
    // pixel would punch a hole into the window.
    std::vector<uint8_t> outside(static_cast<std::size_t>(w * h), 0);
    std::vector<std::pair<int, int>> stack = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= w || y >= h || outside[static_cast<std::size_t>(y * w + x)] ||
            !IsKey(PixelAt(image, x, y))) {
            continue;
        }
        outside[static_cast<std::size_t>(y * w + x)] = 1;
        stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    int outside_count = 0;
    int edge_pixels = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba8 p = PixelAt(image, x, y);
            ASSERT_EQ(p.a, 255) << "transparent pixel at " << x << "," << y;
            if (outside[static_cast<std::size_t>(y * w + x)]) {
                ++outside_count;
                continue;
            }
            ASSERT_FALSE(IsKey(p)) << "key colour inside the outline at " << x << "," << y;
            bool next_to_outline = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h &&
                        outside[static_cast<std::size_t>(ny * w + nx)]) {
                        next_to_outline = true;
                    }
                }
            }
            if (next_to_outline) {
                ++edge_pixels;
                ASSERT_FALSE(IsNearKey(p)) << "reddish fringe " << int{p.r} << "," << int{p.g}
                                           << "," << int{p.b} << " at " << x << "," << y;
            }
        }
    }
    // The outline is shaped (cut corners), and most of the picture is the window body.
    EXPECT_GT(outside_count, 4);
    EXPECT_LT(outside_count, w * h / 50);
    EXPECT_GT(edge_pixels, 4);
}

INSTANTIATE_TEST_SUITE_P(Windows, ShapedPictureTest,
                         ::testing::Values("L1_BackGround", "L2_BackGround", "L3_BackGround",
                                           "Msg"));

// ---- The loading animation.

TEST(SkinLoadingAnimationTest, HasSeveralMovingFramesOnBlack) {
    const auto bytes = SkinPicture("WaitGif");
    ASSERT_FALSE(bytes.empty());
    const GifDecodeResult gif = DecodeGif(bytes);
    ASSERT_TRUE(gif) << gif.error;
    EXPECT_EQ(gif.width, 200);
    EXPECT_EQ(gif.height, 192);
    ASSERT_GE(gif.frames.size(), 4u);
    for (std::size_t i = 0; i < gif.frames.size(); ++i) {
        const GifFrame& f = gif.frames[i];
        ASSERT_EQ(f.image.width, 200);
        ASSERT_EQ(f.image.height, 192);
        EXPECT_GT(f.delay_ms, 0) << "frame " << i;
        // The corners are opaque black, which the loading window shows as transparent.
        for (std::size_t at : {std::size_t{0}, f.image.pixels.size() - 4}) {
            EXPECT_EQ(f.image.pixels[at], 0);
            EXPECT_EQ(f.image.pixels[at + 1], 0);
            EXPECT_EQ(f.image.pixels[at + 2], 0);
            EXPECT_EQ(f.image.pixels[at + 3], 255);
        }
        if (i > 0) {
            EXPECT_NE(f.image.pixels, gif.frames[i - 1].image.pixels)
                << "frame " << i << " repeats the one before";
        }
    }
}

}  // namespace
}  // namespace velq
