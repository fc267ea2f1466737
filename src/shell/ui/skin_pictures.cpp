#include "shell/ui/skin_pictures.h"

namespace velq::ui {

QImage SkinPictures::Picture(std::string_view name) const {
    return stand_ins_.Picture(name);
}

std::vector<AnimationFrame> SkinPictures::WaitAnimation() const {
    return stand_ins_.WaitAnimation();
}

}  // namespace velq::ui
