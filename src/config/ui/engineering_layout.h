#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <vector>

#include "shell/engineer_terms.h"

class QWidget;

namespace velq::ui {

// The hint line at the bottom of the factory page: the caption "Notes: " (`lbl_Notes`), then
// the hint of the control under the pointer.
inline constexpr QRect kNotesLine{10, 577, 60, 20};
inline constexpr QRect kHintLine{72, 577, 918, 20};

// What building the factory page needs from the window: an existing control by name (or null),
// and what a command button does when clicked (its object name is passed).
struct EngineeringPageHooks {
    std::function<QWidget*(const QString& name)> existing;
    std::function<void(const QString& name)> clicked;
};

// Builds the factory page into `page` (1000 x 600): the row of command buttons, and the page
// control `Pg_Parameter` with its operation and engineer tabs holding every setting as a plain
// control named after its field, captioned from the engineering terms in `language`. Controls
// the window made already are moved into place. Returns every widget it created, for the
// window to find by name.
std::vector<QWidget*> BuildEngineeringPage(QWidget& page, EngineerLanguage language,
                                           const EngineeringPageHooks& hooks);

}  // namespace velq::ui
