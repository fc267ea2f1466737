#include "shell/ui/picture_source.h"

#include <QHash>
#include <QList>
#include <QPainter>

#include <array>
#include <cstring>

namespace velq::ui {
namespace {

struct SizeRow {
    std::string_view name;
    int width;
    int height;
};

// The skin's pictures and their sizes. Only language 1 carries background artwork; the pictures
// of languages 2 and 3 are small placeholders in the shipped skin.
constexpr auto kPictureSizes = std::to_array<SizeRow>({
    {"L1_BackGround", 1030, 662},
    {"L1_Back1", 600, 400},
    {"L1_Back2", 800, 424},  // the fire key and the three pointer rows fill its right card
    {"L1_Back3", 800, 374},
    {"L1_Back4", 800, 374},
    {"L1_Back5", 720, 650},
    {"L1_Back6", 622, 214},
    {"BtnS_01", 110, 29},
    {"BtnS_02", 110, 27},
    {"BtnS_03", 110, 27},
    {"ExitS_01", 22, 22},
    {"ExitS_02", 22, 22},
    {"ExitS_03", 22, 22},
    {"MiniS_01", 22, 22},
    {"MiniS_02", 22, 22},
    {"MiniS_03", 22, 22},
    {"SetS_01", 110, 29},
    {"SetS_02", 110, 27},
    {"SetS_03", 110, 27},
    {"Lang_01", 110, 27},
    {"Lang_02", 110, 27},
    {"Lang_03", 110, 27},
    {"KeyS_01", 200, 27},
    {"KeyS_02", 200, 27},
    {"KeyS_03", 170, 27},
    {"WebS_01", 200, 67},
    {"WebS_02", 200, 67},
    {"WebS_03", 200, 67},
    {"GunMode1", 42, 42},
    {"GunMode2", 52, 52},
    {"GunMode3", 42, 42},
    {"GunMode4", 52, 52},
    {"GunMode5", 62, 62},
    {"CbS_D", 19, 19},
    {"CbS_E", 19, 19},
    {"RdS_D", 15, 15},
    {"RdS_E", 15, 15},
    {"Col_F", 18, 18},
    {"Bar1_D", 26, 18},
    {"Bar1_E", 26, 18},
    {"Bar2_D", 20, 18},
    {"Bar2_E", 20, 18},
    {"Slider_Thumb", 25, 25},
    {"Slider_Ruler", 25, 25},
    {"MacroS_01", 110, 29},
    {"MacroS_02", 110, 29},
    {"MacroS_03", 110, 29},
    {"MacroS_04", 110, 29},
    {"MacroBtnS_01", 44, 27},
    {"MacroBtnS_02", 44, 27},
    {"MacroBtnS_03", 44, 27},
    {"InsertDelayBase", 207, 162},
    {"InsertKeyBase", 207, 162},
    {"InsertXYBase", 207, 162},
    {"Msg", 1000, 660},
});

constexpr int kPlaceholderLanguagePictureWidth = 23;
constexpr int kPlaceholderLanguagePictureHeight = 4;

bool IsLanguagePicture(std::string_view name, char language) {
    return name.size() > 3 && name[0] == 'L' && name[1] == language && name[2] == '_';
}

// A stable shade per name, never the colour key.
QColor ShadeOf(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return QColor::fromHsv(static_cast<int>(hash % 360), 90, 70 + static_cast<int>(hash % 60));
}

}  // namespace

PictureSize SkinPictureSize(std::string_view name) {
    for (const SizeRow& row : kPictureSizes) {
        if (row.name == name) {
            return {row.width, row.height};
        }
    }
    // Gun pictures: "Gun1_01" .. "Gun7_02".
    if (name.size() == 7 && name.starts_with("Gun") && name[3] >= '1' && name[3] <= '7' &&
        (name.substr(4) == "_01" || name.substr(4) == "_02")) {
        return {120, 56};
    }
    for (char language : {'2', '3'}) {
        if (IsLanguagePicture(name, language)) {
            const std::string l1 = "L1" + std::string(name.substr(2));
            if (SkinPictureSize(l1).width > 0) {
                return {kPlaceholderLanguagePictureWidth, kPlaceholderLanguagePictureHeight};
            }
        }
    }
    return {};
}

QImage ImageFromRgba(int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGBA8888);
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(y), rgba.data() + static_cast<size_t>(y) * width * 4,
                    static_cast<size_t>(width) * 4);
    }
    return image;
}

QImage CompactImageFromRgba(int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        return {};
    }
    QImage indexed(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    QHash<QRgb, uchar> index;
    const uint8_t* in = rgba.data();
    for (int y = 0; y < height; ++y) {
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < width; ++x, in += 4) {
            // A colour table holds straight (not premultiplied) alpha, as the RGBA rows do.
            const QRgb colour = qRgba(in[0], in[1], in[2], in[3]);
            auto found = index.constFind(colour);
            if (found == index.cend()) {
                if (table.size() == 256) {
                    return ImageFromRgba(width, height, rgba);
                }
                found = index.insert(colour, static_cast<uchar>(table.size()));
                table.push_back(colour);
            }
            out[x] = *found;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

QImage PlaceholderPictures::Picture(std::string_view name) const {
    const PictureSize size = SkinPictureSize(name);
    if (size.width == 0) {
        return {};
    }
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.fill(ShadeOf(name));
    QPainter painter(&image);
    if (name.ends_with("BackGround") || name == "Msg") {
        // Corners in the colour key, so the window shapes show round-ish corners (the main
        // window's and the editor dialogs').
        const QColor key(128, 0, 0);
        const int c = std::min(24, std::min(size.width, size.height) / 2);
        painter.fillRect(0, 0, c, c, key);
        painter.fillRect(size.width - c, 0, c, c, key);
        painter.fillRect(0, size.height - c, c, c, key);
        painter.fillRect(size.width - c, size.height - c, c, c, key);
    }
    if (size.width >= 40 && size.height >= 12) {
        painter.setPen(QColor(230, 230, 230));
        QFont font = painter.font();
        font.setPixelSize(std::min(10, size.height - 2));
        painter.setFont(font);
        painter.drawRect(0, 0, size.width - 1, size.height - 1);
        painter.drawText(QRect(2, 0, size.width - 4, size.height), Qt::AlignRight | Qt::AlignTop,
                         QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    return image;
}

std::vector<AnimationFrame> PlaceholderPictures::WaitAnimation() const {
    std::vector<AnimationFrame> frames;
    constexpr int kFrames = 8;
    for (int i = 0; i < kFrames; ++i) {
        QImage frame(200, 192, QImage::Format_RGB32);
        frame.fill(Qt::black);  // black is see-through in the loading window
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int dot = 0; dot < kFrames; ++dot) {
            const int shade = dot == i ? 255 : 90;
            painter.setBrush(QColor(shade, shade / 3, shade / 3));
            painter.setPen(Qt::NoPen);
            painter.save();
            painter.translate(100, 96);
            painter.rotate(dot * 360.0 / kFrames);
            painter.drawEllipse(QPointF(0, -60), 10, 10);
            painter.restore();
        }
        frames.push_back({frame, 100});
    }
    return frames;
}

}  // namespace velq::ui
