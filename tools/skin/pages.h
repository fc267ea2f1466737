#pragma once

#include <optional>
#include <string_view>

#include "canvas.h"
#include "mouse_art.h"

namespace velq::skin {

// The window background: the colour key outside a chamfered outline, drawn without
// antialiasing against the key so no blend of key and body remains at the edge.
Canvas DrawWindowBackground(int width, int height);
// The editor dialogs' background, shaped by the colour key like the window.
Canvas DrawDialogBackground(int width, int height);

// Page pictures 2 to 6 ("Back2".."Back6" without the language prefix), the insert panels
// and the gun buttons. Empty when `name` is not one of them.
std::optional<Canvas> DrawPanel(std::string_view name, int width, int height);

}  // namespace velq::skin
