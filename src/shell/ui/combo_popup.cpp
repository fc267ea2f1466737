#include "shell/ui/combo_popup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

namespace velq::ui {
namespace {

void ShowInComboColours(QComboBox& combo) {
    QPalette palette = combo.palette();
    // The list's rows are drawn on Base in Text; the combo box shows its entry on Button.
    palette.setColor(QPalette::Base, combo.palette().color(QPalette::Base));
    palette.setColor(QPalette::Text, combo.palette().color(QPalette::Text));
    QAbstractItemView* view = combo.view();
    view->setPalette(palette);
    // The frame around the list is the pop-up window itself.
    if (QWidget* popup = view->window(); popup != &combo && popup != combo.window()) {
        popup->setPalette(palette);
    }
}

class ComboColours final : public QObject {
public:
    explicit ComboColours(QComboBox& combo) : QObject(&combo), combo_(combo) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &combo_ && event->type() == QEvent::PaletteChange) {
            ShowInComboColours(combo_);
        }
        return false;
    }

private:
    QComboBox& combo_;
};

}  // namespace

void PopupFollowsCombo(QComboBox& combo) {
    combo.installEventFilter(new ComboColours(combo));
    ShowInComboColours(combo);
}

}  // namespace velq::ui
