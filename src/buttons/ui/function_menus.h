#pragma once

#include <optional>

#include "shell/ui/window_part.h"

namespace velq::ui {

// The cascading function menus of the button labels (`Pnl_Main` and the panels it opens, their
// entries and ">>" markers, the list of names): built the first time they are asked for, on
// the first page.
class FunctionMenus final : public WindowPart {
    Q_OBJECT

public:
    FunctionMenus(MainWindow& window, QWidget* container);

    // The first menu panel is as tall as the functions of the tab that opens it need.
    void SetMainPanelHeight(int height);

    void Arrange() override;

protected:
    void Built() override;

private:
    std::optional<int> main_panel_height_;
};

}  // namespace velq::ui
