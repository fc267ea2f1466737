#include "shell/ui/skin_pictures.h"

#include "shell/skin_gif.h"
#include "shell/skin_png.h"
#include "shell/skin_resource.h"

namespace velq::ui {

QImage SkinPictures::Picture(std::string_view name) const {
    const std::span<const uint8_t> bytes = SkinPicture(name);
    if (bytes.empty()) {
        return {};
    }
    const PngDecodeResult decoded = DecodePng(bytes);
    if (!decoded) {
        return {};
    }
    return ImageFromRgba(decoded.image.width, decoded.image.height, decoded.image.pixels);
}

QSize SkinPictures::PictureDimensions(std::string_view name) const {
    const std::optional<PngSize> size = ReadPngSize(SkinPicture(name));
    return size ? QSize(size->width, size->height) : QSize();
}

std::vector<AnimationFrame> SkinPictures::WaitAnimation() const {
    std::vector<AnimationFrame> frames;
    const GifDecodeResult decoded = DecodeGif(SkinPicture("WaitGif"));
    if (!decoded) {
        return frames;
    }
    for (const GifFrame& frame : decoded.frames) {
        QImage image = ImageFromRgba(frame.image.width, frame.image.height, frame.image.pixels);
        if (!image.isNull()) {
            frames.push_back({std::move(image), frame.delay_ms});
        }
    }
    return frames;
}

}  // namespace velq::ui
