#pragma once

#include "shell/ui/picture_source.h"

namespace velq::ui {

// The program's pictures: the embedded skin decoded to RGBA, converted for the window.
// Pictures the embedded skin does not hold yet are drawn as stand-ins of the skin's sizes, so
// the window can be laid out and tried before all artwork is in.
class SkinPictures final : public PictureSource, public AnimationSource {
public:
    QImage Picture(std::string_view name) const override;
    std::vector<AnimationFrame> WaitAnimation() const override;

private:
    PlaceholderPictures stand_ins_;
};

}  // namespace velq::ui
