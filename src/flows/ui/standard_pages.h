#pragma once

#include <memory>
#include <vector>

#include "shell/ui/window_part.h"
#include "shell/ui/window_services.h"

namespace velq::ui {

// The program's pages in the window's part order: office and gaming, advanced, light, macro,
// fire, factory, and the function menus.
std::vector<std::unique_ptr<WindowPart>> StandardPages(MainWindow& window);

// `services` with the program's pages.
WindowServices WithStandardPages(WindowServices services);

}  // namespace velq::ui
