#pragma once

#include <string_view>
#include <vector>

#include "shell/ui/picture_source.h"

namespace velq::ui {

// The program's pictures: the embedded skin's PNG pictures and the `WaitGif` animation,
// decoded to RGBA and converted for the window. A picture that is missing or does not decode
// gives a null image, which stops start-up with the picture's name.
class SkinPictures final : public PictureSource, public AnimationSource {
public:
    QImage Picture(std::string_view name) const override;
    QSize PictureDimensions(std::string_view name) const override;
    std::vector<AnimationFrame> WaitAnimation() const override;
};

}  // namespace velq::ui
