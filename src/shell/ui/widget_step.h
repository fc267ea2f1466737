#pragma once

#include "shell/layout_ops.h"

class QWidget;

namespace velq::ui {

// Runs a layout step that concerns the widget alone: its place and size, its font size (the
// family stays the one it inherits, the caption font) and its colours. Returns false for the
// steps that need the window (pictures, showing and hiding, measuring other controls), which
// are then left undone.
bool RunWidgetStep(QWidget& widget, const LayoutOp& op);

}  // namespace velq::ui
