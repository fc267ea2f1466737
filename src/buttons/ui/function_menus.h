#pragma once

#include <QRect>

#include <optional>

#include "buttons/function_code.h"
#include "shell/ui/window_part.h"

namespace velq::ui {

// The button an open menu acts on: a label of the main page (`Key1`..`Key9`: 1..9) or a button
// of the factory page's profile columns (`btn_Key101`..`btn_Key209`: 101..109, 201..209).
struct AssignTarget {
    enum class Kind : uint8_t { kNone, kLabel, kColumn };
    Kind kind = Kind::kNone;
    int number = 0;

    // The control that shows the target's function.
    QString Control() const;
    // The nine controls of the same profile (the left-click rule looks at them).
    QStringList ProfileControls() const;
};

// The cascading function menus of the button labels (`Pnl_Main` and the panels it opens, their
// entries and ">>" markers, the list of names): built the first time they are asked for, on
// the first page. Choosing an entry gives the target button its function in the configuration
// the pages show; Apply writes it.
class FunctionMenus final : public WindowPart {
    Q_OBJECT

public:
    FunctionMenus(MainWindow& window, QWidget* container);

    // The first menu panel is as tall as the functions of the tab that opens it need.
    void SetMainPanelHeight(int height);

    // Opens the menu for label `Key<button>` of the main page, at the label.
    void OpenForLabel(int button);
    // Opens the menu for a button of the factory page's columns; `button_box` is its place in
    // the parameter page control (`control`), `group_top` its column group's top there.
    void OpenForColumn(int column_button, const QRect& button_box, const QRect& control,
                       int group_top);
    const AssignTarget& target() const { return target_; }

    // Gives the target its function `code`, shown as `caption`. With `left_click_rule`, a
    // change that would leave no button of the profile showing the left click is refused with
    // its message (the button shows the left click again and keeps its code). A main-page
    // target stores into the profile of the selected office or gaming tab, or nowhere when
    // neither is selected. False when refused.
    bool Assign(const FunctionCode& code, const QString& caption, bool left_click_rule);

    void Arrange() override;
    void HideMenus() override;
    bool LabelClicked(const QString& name) override;
    bool LabelEntered(const QString& name) override;
    bool LabelLeft(const QString& name) override;

signals:
    // `Key_FireMacro` was chosen (its page is not the menus' to open).
    void fireMacroAsked();

protected:
    void Built() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowMain(bool column_target, const QPoint& at);
    // `Key_AssemblyClick`: the key combination dialog, whose confirm assigns the combination.
    void OpenKeyCombination();
    // A gun key of the list `LB_Script` chosen for the target.
    void AssignGunKey(int position);
    void OpenSubmenu(const QString& entry, int tag);
    void Highlight(const QString& entry, bool on);
    QRect Box(const QString& name);

    std::optional<int> main_panel_height_;
    AssignTarget target_;
};

}  // namespace velq::ui
