#include "shell/ui/skin_pictures.h"

#include <bit>

#include "shell/skin_gif.h"
#include "shell/skin_png.h"
#include "shell/skin_resource.h"

namespace velq::ui {

QImage SkinPictures::Picture(std::string_view name) const {
    const std::span<const uint8_t> bytes = SkinPicture(name);
    if (bytes.empty()) {
        return {};
    }
    // Decoded straight into a format the window paints from without a conversion or a copy:
    // a picture with transparency as 32-bit premultiplied pixels (one integer 0xAARRGGBB a
    // pixel), an opaque one as three bytes a pixel. The opaque ones are most of the window's
    // area (its background alone is 1030 x 662): a quarter of their memory goes, and drawing
    // them onto the window's 32-bit pixels gives the same pixels, as no blending is involved.
    PngDecoder decoder(bytes, PngChecks::kSkipChecksums);
    if (!decoder.ok()) {
        return {};
    }
    const QSize size(decoder.width(), decoder.height());
    if (!decoder.has_alpha()) {
        QImage image(size, QImage::Format_RGB888);
        if (image.isNull() || !decoder.DecodeInto(PngPixelOrder::kRgb, image.bits(),
                                                  static_cast<std::size_t>(image.bytesPerLine()))) {
            return {};
        }
        return image;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    constexpr PngPixelOrder kOrder =
        std::endian::native == std::endian::little ? PngPixelOrder::kBgra : PngPixelOrder::kArgb;
    if (!decoder.DecodeInto(kOrder, image.bits(), static_cast<std::size_t>(image.bytesPerLine()))) {
        return {};
    }
    const int width = image.width();
    const int height = image.height();
    bool opaque = true;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) != 255) {
                row[x] = qPremultiply(row[x]);
                opaque = false;
            }
        }
    }
    // An opaque picture says so: the window then draws it as it is, without looking at alpha.
    if (opaque) {
        static_cast<void>(image.reinterpretAsFormat(QImage::Format_RGB32));
    }
    return image;
}

QSize SkinPictures::PictureDimensions(std::string_view name) const {
    const std::optional<PngSize> size = ReadPngSize(SkinPicture(name));
    return size ? QSize(size->width, size->height) : QSize();
}

std::vector<AnimationFrame> SkinPictures::WaitAnimation() const {
    std::vector<AnimationFrame> frames;
    // Each frame is brought to its colour table as soon as it is decoded: the animation never
    // holds every frame as RGBA at once (twelve frames of 200 x 192 would be 1.8 MB, whose
    // freed pieces start-up's peak memory would keep).
    const GifDecodeResult decoded =
        DecodeGifFrames(SkinPicture("WaitGif"), [&frames](GifFrame&& frame) {
            QImage image =
                CompactImageFromRgba(frame.image.width, frame.image.height, frame.image.pixels);
            if (!image.isNull()) {
                frames.push_back({std::move(image), frame.delay_ms});
            }
        });
    if (!decoded) {
        return {};
    }
    return frames;
}

}  // namespace velq::ui
