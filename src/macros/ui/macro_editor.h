#pragma once

#include <QObject>
#include <QString>

namespace velq {
class MacroLibrary;
}

namespace velq::ui {

class MainWindow;

// The right half of the macro page: the event list of the selected library macro (`LB_macro`),
// its pop-up (`Pnl_DevContent`: edit, delete, insert), the edit dialogs, the insert box and the
// release and repeat options. Every change to the events is committed at once into the
// library entry, which saves its file.
class MacroEditor final : public QObject {
    Q_OBJECT

public:
    explicit MacroEditor(MainWindow& window);

    // The page's controls exist: connect them.
    void Built();
    // The macro to edit: entry `index` of `library`, or none (null or -1): the list empties.
    void Show(MacroLibrary* library, int index);
    // Closes the editor's pop-up.
    void HidePopups();
    // A click on one of the editor's caption labels; false when it is not one.
    bool LabelClicked(const QString& name);
    // After every layout and captions.
    void Arrange();

private:
    MainWindow& window_;
    MacroLibrary* library_ = nullptr;
    int index_ = -1;
};

}  // namespace velq::ui
