// Draws every picture of the window's skin from code and writes them as PNG files (and the
// loading animation as a GIF) for the build to embed.
//
//   velq_skin_gen --list <pictures.txt> --out <folder> --layouts <folder> --anchors <file>
//                 [--sheet <contact sheet.png>]
//
// pictures.txt names each file with its size ("L1_Back1.png 600 400"). The office/gaming page
// picture of language N follows the label positions of layout "org<N>" in the layouts folder
// when it holds them all, otherwise those of the anchors file.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "canvas.h"
#include "image_writers.h"
#include "layout_keys.h"
#include "mouse_art.h"
#include "pages.h"
#include "shapes.h"
#include "spinner.h"
#include "widgets.h"

namespace velq::skin {
namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string file;
    int width = 0;
    int height = 0;
};

std::optional<std::vector<Entry>> ReadList(const fs::path& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    std::vector<Entry> entries;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::istringstream fields(line);
        Entry e;
        if (!(fields >> e.file >> e.width >> e.height) || e.width <= 0 || e.height <= 0) {
            error = path.string() + ":" + std::to_string(number) + ": expected name width height";
            return std::nullopt;
        }
        entries.push_back(e);
    }
    return entries;
}

// Label boxes of the nine buttons relative to the page picture, from a layout's keys;
// empty when a key is missing.
std::optional<LabelBoxes> LabelsFrom(const LayoutKeys& keys) {
    const auto px = keys.Int("P1_X");
    const auto py = keys.Int("P1_Y");
    const auto width = keys.Int("Key_Width");
    if (!px || !py || !width) {
        return std::nullopt;
    }
    LabelBoxes boxes;
    for (int n = 1; n <= 9; ++n) {
        const std::string key = "Key" + std::to_string(n);
        const auto enable = keys.Int(key + "_Enable");
        if (!enable) {
            return std::nullopt;
        }
        if (*enable != 1) {
            continue;
        }
        const auto x = keys.Int(key + "_X");
        const auto y = keys.Int(key + "_Y");
        if (!x || !y) {
            return std::nullopt;
        }
        // The slot pictures are 27 pixels high.
        const float x0 = static_cast<float>(*x - *px);
        const float y0 = static_cast<float>(*y - *py);
        boxes[static_cast<std::size_t>(n - 1)] =
            Box{x0, y0, x0 + static_cast<float>(*width), y0 + 27};
    }
    return boxes;
}

std::optional<LabelBoxes> LabelsForLanguage(int language, const fs::path& layouts,
                                            const fs::path& anchors, std::string& error) {
    const fs::path layout = layouts / ("org" + std::to_string(language));
    if (fs::exists(layout)) {
        std::string ignored;
        if (auto keys = LayoutKeys::Load(layout, ignored)) {
            if (auto boxes = LabelsFrom(*keys)) {
                return boxes;
            }
        }
        std::fprintf(stderr, "note: %s lacks button label positions; using %s\n", layout.c_str(),
                     anchors.c_str());
    }
    auto keys = LayoutKeys::Load(anchors, error);
    if (!keys) {
        return std::nullopt;
    }
    auto boxes = LabelsFrom(*keys);
    if (!boxes) {
        error = anchors.string() + ": missing P1_X, P1_Y, Key_Width or a Key<n> position";
    }
    return boxes;
}

struct Drawn {
    std::string name;
    Canvas canvas;
};

std::optional<Canvas> DrawPicture(const std::string& name, int w, int h,
                                  const std::map<int, LabelBoxes>& labels) {
    // Language pictures "L<n>_..." share their drawing; only the page labels may differ.
    if (name.size() > 3 && name[0] == 'L' && name[1] >= '1' && name[1] <= '3' && name[2] == '_') {
        const std::string base = name.substr(3);
        if (base == "BackGround") {
            return DrawWindowBackground(w, h);
        }
        if (base == "Back1") {
            return DrawMousePage(w, h, labels.at(name[1] - '0'));
        }
        return DrawPanel(base, w, h);
    }
    if (name == "Msg") {
        return DrawDialogBackground(w, h);
    }
    if (auto widget = DrawWidget(name, w, h)) {
        return widget;
    }
    return DrawPanel(name, w, h);
}

Canvas SpinnerPreview(const SpinnerFrame& frame, int w, int h) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t r = 0;
            uint8_t g = 0;
            uint8_t b = 0;
            const int v = frame.intensity[static_cast<std::size_t>(y * w + x)];
            SpinnerColour(v, r, g, b);
            // Black is transparent in the loading window.
            c.Set(x, y, v == 0 ? Rgba{} : Rgba{r / 255.0f, g / 255.0f, b / 255.0f, 1});
        }
    }
    return c;
}

// All pictures on one sheet over a checkerboard, so transparency and edges can be judged.
Canvas ContactSheet(const std::vector<Drawn>& pictures) {
    constexpr int kWidth = 2140;
    constexpr int kGap = 14;
    int x = kGap;
    int y = kGap;
    int row = 0;
    std::vector<std::array<int, 2>> places;
    for (const Drawn& d : pictures) {
        if (x + d.canvas.Width() + kGap > kWidth) {
            x = kGap;
            y += row + kGap;
            row = 0;
        }
        places.push_back({x, y});
        x += d.canvas.Width() + kGap;
        row = std::max(row, d.canvas.Height());
    }
    Canvas sheet(kWidth, y + row + kGap, Rgba{0.30f, 0.31f, 0.33f, 1});
    for (int sy = 0; sy < sheet.Height(); ++sy) {
        for (int sx = 0; sx < sheet.Width(); ++sx) {
            if (((sx / 8) + (sy / 8)) % 2 == 0) {
                sheet.Set(sx, sy, Rgba{0.36f, 0.37f, 0.39f, 1});
            }
        }
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        sheet.Draw(pictures[i].canvas, places[i][0], places[i][1]);
    }
    return sheet;
}

// The small pictures enlarged three times, pixel for pixel, to judge edges.
Canvas ZoomSheet(const std::vector<Drawn>& pictures) {
    std::vector<Drawn> small;
    for (const Drawn& d : pictures) {
        if (d.canvas.Width() <= 210 && d.canvas.Height() <= 70) {
            Canvas big(d.canvas.Width() * 3, d.canvas.Height() * 3);
            for (int y = 0; y < big.Height(); ++y) {
                for (int x = 0; x < big.Width(); ++x) {
                    big.Set(x, y, d.canvas.At(x / 3, y / 3));
                }
            }
            small.push_back({d.name, std::move(big)});
        }
    }
    return ContactSheet(small);
}

// The language-1 window as the layout puts it together: background, office page picture,
// tabs, frame buttons and button slots, for judging the pictures side by side.
Canvas WindowPreview(const std::vector<Drawn>& pictures, const fs::path& layout, int page) {
    auto find = [&](std::string_view name) -> const Canvas* {
        for (const Drawn& d : pictures) {
            if (d.name == name) {
                return &d.canvas;
            }
        }
        return nullptr;
    };
    const Canvas* background = find("L1_BackGround");
    Canvas out(background->Width(), background->Height());
    out.Draw(*background, 0, 0);
    std::string ignored;
    const auto keys = LayoutKeys::Load(layout, ignored);
    if (!keys) {
        return out;
    }
    auto put = [&](std::string_view picture, const std::string& prefix) {
        const auto enable = keys->Int(prefix + "_Enable");
        const auto x = keys->Int(prefix + "_X");
        const auto y = keys->Int(prefix + "_Y");
        if (const Canvas* c = find(picture); c && x && y && (!enable || *enable == 1)) {
            out.Draw(*c, *x, *y);
        }
    };
    const std::string number = std::to_string(page);
    put("L1_Back" + number, "P" + number);
    if (page == 1) {
        for (int n = 1; n <= 9; ++n) {
            put("KeyS_01", "Key" + std::to_string(n));
        }
    }
    for (const char* tab : {"Btn_B1", "Btn_B4", "Btn_B5", "Btn_B11", "Btn_B6", "Btn_B7"}) {
        put("SetS_01", tab);
    }
    put("SetS_03", "Btn_B2");
    for (const char* tab : {"Btn_B8", "Btn_B9", "Btn_B10"}) {
        put("Lang_01", tab);
    }
    for (const char* button : {"Btn_A1", "Btn_A2", "Btn_A3", "Btn_A5", "Btn_A6", "Btn_A8"}) {
        put("BtnS_01", button);
    }
    put("ExitS_01", "Btn_A4");
    put("MiniS_01", "Btn_A7");
    put("WebS_01", "Web");
    return out;
}

int Run(int argc, char** argv) {
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2) {
        args[argv[i]] = argv[i + 1];
    }
    for (const char* required : {"--list", "--out", "--layouts", "--anchors"}) {
        if (!args.contains(required)) {
            std::fprintf(stderr,
                         "usage: velq_skin_gen --list <file> --out <folder> --layouts <folder> "
                         "--anchors <file> [--sheet <png>]\n");
            return 2;
        }
    }
    std::string error;
    const auto entries = ReadList(args["--list"], error);
    if (!entries) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return 1;
    }
    std::map<int, LabelBoxes> labels;
    for (int language = 1; language <= 3; ++language) {
        auto boxes = LabelsForLanguage(language, args["--layouts"], args["--anchors"], error);
        if (!boxes) {
            std::fprintf(stderr, "error: %s\n", error.c_str());
            return 1;
        }
        labels[language] = *boxes;
    }
    const fs::path out = args["--out"];
    std::error_code ec;
    fs::create_directories(out, ec);
    std::vector<Drawn> drawn;
    for (const Entry& e : *entries) {
        const fs::path file = out / e.file;
        const std::string stem = fs::path(e.file).stem().string();
        if (fs::path(e.file).extension() == ".gif") {
            const std::vector<SpinnerFrame> frames = DrawSpinner(e.width, e.height, 12);
            error = WriteGif(file, e.width, e.height, frames);
            // giflib creates its files readable by the owner only.
            fs::permissions(file,
                            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read,
                            ec);
            for (std::size_t f = 0; f < frames.size(); f += 4) {
                drawn.push_back({stem, SpinnerPreview(frames[f], e.width, e.height)});
            }
        } else {
            std::optional<Canvas> canvas = DrawPicture(stem, e.width, e.height, labels);
            if (!canvas) {
                std::fprintf(stderr, "error: no drawing for %s\n", stem.c_str());
                return 1;
            }
            error = WritePng(file, *canvas);
            drawn.push_back({stem, std::move(*canvas)});
        }
        if (!error.empty()) {
            std::fprintf(stderr, "error: %s\n", error.c_str());
            return 1;
        }
    }
    if (args.contains("--sheet")) {
        error = WritePng(args["--sheet"], ContactSheet(drawn));
        if (error.empty()) {
            for (int page = 1; page <= 5 && error.empty(); ++page) {
                fs::path window = args["--sheet"];
                window.replace_extension();
                window += "_window" + std::to_string(page) + ".png";
                error = WritePng(window,
                                 WindowPreview(drawn, fs::path(args["--layouts"]) / "org1", page));
            }
        }
        if (error.empty()) {
            // The loading animation's frames as the loading window shows them over the
            // main window (black cut out).
            Canvas strip(3 * 220, 210, Rgba{0.07f, 0.08f, 0.1f, 1});
            int x = 10;
            for (const Drawn& d : drawn) {
                if (d.name == "WaitGif" && x < strip.Width()) {
                    strip.Draw(d.canvas, x, 9);
                    x += 220;
                }
            }
            fs::path path = args["--sheet"];
            path.replace_extension();
            path += "_loading.png";
            error = WritePng(path, strip);
        }
        if (error.empty()) {
            fs::path zoom = args["--sheet"];
            zoom.replace_extension();
            zoom += "_zoom.png";
            error = WritePng(zoom, ZoomSheet(drawn));
        }
        if (!error.empty()) {
            std::fprintf(stderr, "error: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace
}  // namespace velq::skin

int main(int argc, char** argv) {
    return velq::skin::Run(argc, argv);
}
