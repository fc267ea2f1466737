#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "config/mouse_config.h"

class QObject;
class QWidget;

namespace velq::ui {

// A page's control by object name, nullptr when the page has none.
using ControlLookup = std::function<QWidget*(const QString& name)>;

// Moves the configuration between the model and a page's controls, found by their object
// names. A setting whose control the page does not have, or whose control shows no valid value
// (a list with no entry, a field that is no number), keeps its value in the model, so Apply
// still writes what was read.
void ReadPageValues(const ControlLookup& control, MouseConfig& config);
void ShowPageValues(const ControlLookup& control, const MouseConfig& config);

// Calls `edited` with a control's name each time the user changes one of the controls that
// show the configuration: a list entry or button chosen, a field typed in. A number field takes
// digits only and corrects its own text by its rule first (a colour component holds at most
// 255, the flowing light's step at most 7, ...), so `edited` sees the corrected value.
void ConnectPageValueEdits(const ControlLookup& control, QObject& context,
                           const std::function<void(const QString& name)>& edited);

// The object names of the controls that show the configuration.
std::vector<const char*> PageValueControls();

}  // namespace velq::ui
