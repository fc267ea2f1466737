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
    // Decoded straight into the window's 32-bit format (one integer 0xAARRGGBB a pixel): the
    // window's pixmap then takes the pixels as they are, without a conversion or copy.
    PngDecoder decoder(bytes);
    if (!decoder.ok()) {
        return {};
    }
    QImage image(decoder.width(), decoder.height(), QImage::Format_ARGB32);
    if (image.isNull()) {
        return {};
    }
    constexpr PngPixelOrder kOrder =
        std::endian::native == std::endian::little ? PngPixelOrder::kBgra : PngPixelOrder::kArgb;
    if (!decoder.DecodeInto(kOrder, image.bits(), static_cast<std::size_t>(image.bytesPerLine()))) {
        return {};
    }
    return image;
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
