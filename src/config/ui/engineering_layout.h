#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "shell/engineer_terms.h"

class QWidget;

namespace velq::ui {

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
