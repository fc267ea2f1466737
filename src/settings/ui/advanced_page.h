#pragma once

#include "shell/ui/window_part.h"

namespace velq::ui {

// The advanced page: the DPI levels and their colours, the aim key and fire key settings, and
// the PC's pointer settings.
class AdvancedPage final : public WindowPart {
    Q_OBJECT

public:
    explicit AdvancedPage(MainWindow& window) : WindowPart(window, kAdvancedPart) {}
};

}  // namespace velq::ui
