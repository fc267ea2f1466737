#pragma once

#include <vector>

#include "config/mouse_config.h"

class QWidget;

namespace velq::ui {

// Moves the configuration between the model and the window's controls, found by their object
// names. A setting whose control the window does not have (a page not built yet), or whose
// control shows no valid value (a list with no entry, a field that is no number), keeps its
// value in the model, so Apply still writes what was read.
void ReadPageValues(const QWidget& window, MouseConfig& config);
void ShowPageValues(QWidget& window, const MouseConfig& config);

// The object names of the controls that show the configuration.
std::vector<const char*> PageValueControls();

}  // namespace velq::ui
