#pragma once

#include <QImage>

#include <string>
#include <string_view>
#include <vector>

namespace velq::ui {

// Where the window's pictures come from, by resource name ("L1_BackGround", "SetS_03", ...).
// A null image means the resource does not exist; the caller reports it.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual QImage Picture(std::string_view name) const = 0;
    // The picture's size; sources that can tell it without decoding say so cheaply.
    virtual QSize PictureDimensions(std::string_view name) const { return Picture(name).size(); }
};

// One frame of the loading animation and how long it stays.
struct AnimationFrame {
    QImage image;
    int delay_ms = 100;
};

// The frames of the loading window's animation (`WaitGif`); empty when it cannot be decoded.
class AnimationSource {
public:
    virtual ~AnimationSource() = default;
    virtual std::vector<AnimationFrame> WaitAnimation() const = 0;
};

// An image from tightly packed 8-bit RGBA rows (the skin decoders' output). Wrong sizes give a
// null image rather than reading past the buffer.
QImage ImageFromRgba(int width, int height, const std::vector<uint8_t>& rgba);

// The same pixels as ImageFromRgba gives, with a colour table (one byte a pixel) when they have
// at most 256 colours, as an animation's frames do; in 32 bits a pixel when they have more.
QImage CompactImageFromRgba(int width, int height, const std::vector<uint8_t>& rgba);

// Stand-in pictures of the skin's sizes, flat shades with the resource name written on them, for
// headless tests and for builds without the skin artwork. Unknown names give a null image, like
// a missing resource. The background pictures (the dialogs' "Msg" too) carry the colour key in
// their corners so that the window shape code has something to cut.
class PlaceholderPictures final : public PictureSource, public AnimationSource {
public:
    QImage Picture(std::string_view name) const override;
    std::vector<AnimationFrame> WaitAnimation() const override;
};

// The size of a skin picture by its resource name, {0, 0} when the skin has no such picture.
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize SkinPictureSize(std::string_view name);

}  // namespace velq::ui
