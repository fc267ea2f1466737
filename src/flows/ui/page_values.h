#pragma once

#include <vector>

#include "image/engineering_values.h"

class QWidget;

namespace velq::ui {

// Moves the engineering view's values between the record and the window's controls, found by
// their object names. A field whose control the window does not have keeps its value in the
// record, so Apply still writes what was read.
void ReadPageValues(const QWidget& window, EngineeringValues& values);
void ShowPageValues(QWidget& window, const EngineeringValues& values);

// The object names of the controls the record's fields belong to.
std::vector<const char*> PageValueControls();

}  // namespace velq::ui
