#include "shell/ui/colour_dialog.h"

#include <QColorDialog>

namespace velq::ui {

ColourChooser DesktopColourChooser(QWidget* parent) {
    return [parent](const Colour& present) -> std::optional<Colour> {
        const QColor chosen =
            QColorDialog::getColor(QColor(present.r, present.g, present.b), parent);
        if (!chosen.isValid()) {
            return std::nullopt;
        }
        return Colour{static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                      static_cast<uint8_t>(chosen.blue())};
    };
}

}  // namespace velq::ui
