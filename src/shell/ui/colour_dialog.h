#pragma once

#include <functional>
#include <optional>

#include "config/mouse_config.h"

class QWidget;

namespace velq::ui {

// Where a page asks the user for a colour, starting at the present one; none when cancelled.
// Tests put their own answer in its place.
using ColourChooser = std::function<std::optional<Colour>(const Colour& present)>;

// The desktop's colour dialog over `parent`.
ColourChooser DesktopColourChooser(QWidget* parent);

}  // namespace velq::ui
