#pragma once

#include <QRect>

#include <optional>

#include "buttons/function_code.h"
#include "macros/device_macros.h"
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
    // change that would leave no button of the profile holding the left click is refused with
    // its message (the button shows the left click again and keeps its code). A main-page
    // target stores into the profile of the selected office or gaming tab, or nowhere when
    // neither is selected. False when refused.
    bool Assign(const FunctionCode& code, const QString& caption, bool left_click_rule);

    // The window's copy of the mouse's macro slots, which a macro picked in `LB_Name` goes
    // into (the device flows keep it with what the pages show); null: no macro can be given.
    void SetDeviceMacros(DeviceMacros* macros) { device_macros_ = macros; }
    // `LB_NameClick`: gives the target the library's macro at `index`: a slot is chosen and
    // filled, and the button plays it; refused with its message when no slot is free, and
    // taken back when the left-click rule refuses the button's new function.
    void AssignMacro(int index);

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
    // `LB_Name`: drawn as a menu, and filled with the library's names when it opens.
    void SetUpMacroNameList();
    void ResizeMainPanel();
    void FillMacroNameList();
    // The target's place among both profiles' eighteen codes (office first); none for a
    // main-page button while neither profile's tab is selected.
    std::optional<std::size_t> TargetCodeIndex();

    std::optional<int> main_panel_height_;
    AssignTarget target_;
    DeviceMacros* device_macros_ = nullptr;
    bool macro_list_set_up_ = false;
};

}  // namespace velq::ui
