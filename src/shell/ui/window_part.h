#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "config/mouse_config.h"
#include "shell/layout_ops.h"

namespace velq::ui {

class MainWindow;
enum class Page : uint8_t;

// The parts of the window that are built on their own: the six page containers (gbPage1..6)
// and the function menus, which lie on the first page.
inline constexpr int kOfficePart = 0;  // office and gaming share it
inline constexpr int kAdvancedPart = 1;
inline constexpr int kLightPart = 2;
inline constexpr int kMacroPart = 3;
inline constexpr int kFirePart = 4;
inline constexpr int kFactoryPart = 5;
inline constexpr int kMenuPart = 6;
inline constexpr int kPartCount = 7;

// A language's layout as the window applies it: its steps (the language's, then the web
// buttons' place), with the part each step's control lies on (-1: the window's own controls).
struct LayoutSteps {
    std::vector<LayoutOp> ops;
    std::vector<int8_t> part;
    LayoutStyle style;
    // The steps of the editor dialogs opened while the layout is current (index: EditorDialog).
    std::array<std::vector<LayoutOp>, kEditorDialogs.size()> dialogs;
};

// A part of the window. Start-up builds the first page; every other part is built the first
// time something shows it or asks for one of its controls: its controls are created, laid out
// by the current language's steps and captioned, then the page does its own set-up. Until then
// it keeps what the window did to it (the current layout's steps, pictures set on its
// controls), so that a part built late ends up as if it had been built at start-up.
//
// The pages derive from it: each owns its handlers, shows the configuration and collects what
// the user changed into it.
class WindowPart : public QObject {
    Q_OBJECT

public:
    // `container`: the page widget the part's controls lie on; null for a page of its own,
    // which then gets a container named gbPage<index + 1>.
    WindowPart(MainWindow& window, int index, QWidget* container = nullptr);
    ~WindowPart() override;

    int index() const { return index_; }
    bool built() const { return built_; }
    QWidget* container() const { return container_; }
    // The controls of this part the window created so far.
    const std::vector<QWidget*>& controls() const { return controls_; }

    // Builds the part, once; nothing before the window has started.
    void Build();

    // While the part is not built: the steps of a new layout that concern it, kept for the
    // building (replacing those of an earlier layout). The window checked that every picture
    // they name exists, so a step can fail later only on a picture that does not decode.
    void KeepLayout(std::shared_ptr<const LayoutSteps> layout, std::vector<uint32_t> steps);
    // A picture the window set on a control of this part while it is not built.
    void KeepPicture(const QString& control, const QString& picture);

    // The configuration shown on the part's controls, and what the user changed there taken
    // into it; settings the part does not show keep their values.
    virtual void ShowConfig(const MouseConfig& /*config*/) {}
    virtual void CollectConfig(MouseConfig& /*config*/) const {}
    // Whether the part shows any of the configuration.
    virtual bool ShowsConfig() const { return false; }
    // After every layout and captions (and after building): arrangements that follow from both.
    virtual void Arrange() {}
    // Its tab opened it (`page`: which of the pages sharing the container).
    virtual void Opened(Page /*page*/) {}
    // The language buttons' action, around the layout: what it keeps across a switch, and
    // whether the switch was applied.
    virtual void LanguageSwitching() {}
    virtual void LanguageSwitched(bool /*applied*/) {}
    // The mouse was read and the pages show what it holds; Apply is about to collect the pages
    // and write the mouse. For what a page keeps outside the mouse (the PC's settings).
    virtual void MouseRead() {}
    virtual void Applying() {}
    // Closes the part's menus and pop-up panels.
    virtual void HideMenus();
    // A click on one of the part's caption labels, and the pointer entering and leaving one;
    // false leaves it to the window's chrome.
    virtual bool LabelClicked(const QString& /*name*/) { return false; }
    virtual bool LabelEntered(const QString& /*name*/) { return false; }
    virtual bool LabelLeft(const QString& /*name*/) { return false; }

protected:
    // The page's own set-up once its controls exist, laid out and captioned.
    virtual void Built() {}

    MainWindow& window() const { return window_; }
    // A control of this window by name (see MainWindow::Control).
    QWidget* Control(const QString& name) const;
    // A control the page made itself joins the window's controls, found by its object name.
    void Adopt(QWidget* control);
    // Shows a skin picture on a picture control of the window.
    bool SetPicture(const QString& control, const QString& picture);
    // The same on a control whose size the layout gave (a button label's frame, wider than its
    // picture so that it covers the page's connector): the new picture keeps that size.
    bool SetPictureKeepingSize(const QString& control, const QString& picture);
    // A left click on the check picture `picture` acts as a click on its caption `label`.
    void ClickThrough(const QString& picture, const QString& label);
    // One of this part's own controls by name, nullptr when it has none (never builds).
    QWidget* OwnControl(const QString& name) const { return own_.value(name, nullptr); }

private:
    friend class MainWindow;
    void Register(QWidget* control) {
        controls_.push_back(control);
        if (!control->objectName().isEmpty()) {
            own_.insert(control->objectName(), control);
        }
    }
    void MarkBuilt() { built_ = true; }
    void ApplyKeptPictures(QHash<QString, QString>& pictures);

    MainWindow& window_;
    int index_;
    QWidget* container_;
    bool built_ = false;
    std::vector<QWidget*> controls_;
    QHash<QString, QWidget*> own_;
    std::shared_ptr<const LayoutSteps> layout_;
    std::vector<uint32_t> steps_;
    // Pictures set before the kept layout (in place when it measures them) and since.
    QHash<QString, QString> pictures_before_layout_;
    QHash<QString, QString> pictures_since_layout_;
};

}  // namespace velq::ui
