#include "buttons/ui/function_menus.h"

#include <QWidget>

namespace velq::ui {

FunctionMenus::FunctionMenus(MainWindow& window, QWidget* container)
    : WindowPart(window, kMenuPart, container) {}

void FunctionMenus::SetMainPanelHeight(int height) {
    main_panel_height_ = height;
    if (built()) {
        Built();
    }
}

void FunctionMenus::Built() {
    if (!main_panel_height_) {
        return;
    }
    if (QWidget* panel = Control(QStringLiteral("Pnl_Main"))) {
        panel->resize(panel->width(), *main_panel_height_);
    }
}

void FunctionMenus::Arrange() {
    // Markers stand on their entry's row at its full width, the text right-aligned.
    for (QWidget* marker : controls()) {
        const QString name = marker->objectName();
        if (!name.startsWith(QStringLiteral("ST_"))) {
            continue;
        }
        if (const QWidget* row = Control(QStringLiteral("Key_") + name.mid(3))) {
            marker->setGeometry(row->geometry());
            marker->raise();
        }
    }
}

}  // namespace velq::ui
