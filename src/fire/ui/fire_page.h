#pragma once

#include "shell/ui/window_part.h"

namespace velq::ui {

// The fire macro page, reached from the gaming profile's function menu: the seven guns, their
// rows of recoil settings and colours.
class FirePage final : public WindowPart {
    Q_OBJECT

public:
    explicit FirePage(MainWindow& window) : WindowPart(window, kFirePart) {}
};

}  // namespace velq::ui
