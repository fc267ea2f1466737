#pragma once

#include <QHash>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "buttons/function_code.h"
#include "config/mouse_config.h"
#include "shell/caption_table.h"
#include "shell/layout_ops.h"
#include "shell/org_settings.h"
#include "shell/ui/control_kinds.h"
#include "shell/ui/text_roller.h"
#include "shell/ui/window_part.h"
#include "shell/ui/window_services.h"

class QButtonGroup;
class QLabel;
class QTimer;

namespace velq::ui {

class SkinLabel;

// The outline of a window picture: every pixel except those in the colour key RGB(128, 0, 0).
QRegion ShapeOf(const QImage& picture);

// The caption the window is found by: a second start looks for it.
inline constexpr char kMainWindowCaption[] = "VELQ540B Gaming Mouse v1.0";

// The pages the user moves between. Office and gaming share the first container.
enum class Page : uint8_t { kOffice, kGaming, kAdvanced, kLight, kMacro, kFire, kEngineering };

// Success, or the readable reason why start-up or a language switch stopped.
struct ShellResult {
    bool ok = true;
    QString error;
    explicit operator bool() const { return ok; }
};

// The main window: the chrome around the pages. Frameless, shaped by its background picture;
// every control created by name from one kind table; the layouts and captions of a language
// planned and handed to the parts (pages and function menus, see WindowPart); the page tabs,
// language buttons, window buttons, hover pictures, the scrolling caption, the status line and
// the page covers. The pages show the configuration; the device flows drive the window through
// ShowConfig, CollectConfig and the small setters, and until then it stays in the no-device
// state.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's share of start-up: skin, size and shape, [org] settings, pages, initial
    // pictures, then language 1 applied (twice, the second time through the language button's
    // action, as every start does). On failure the window must not be shown.
    [[nodiscard]] ShellResult Start();

    // The language buttons' action: pictures of the three buttons, layout and captions of
    // language `language`, the page kept. A failed layout leaves the window as it was.
    [[nodiscard]] ShellResult SwitchLanguage(int language);
    // Applies the layout and captions of `language` (1..3) without the language-button steps.
    [[nodiscard]] ShellResult ApplyLayout(int language);

    // Device state that the tabs consult (the device flows set them).
    void SetDeviceHandlePresent(bool present);
    void SetNoDevicePage(bool no_device_page);
    // The four cover labels: shown, they swallow every click on the pages. Uncovering the
    // pages takes the cover's note away.
    void CoverPages(bool covered);
    // A note on the covers, over the middle of the pages: why they stay covered and what to do
    // (message text: "\r" breaks a line). Empty for none; pages not covered take none.
    void SetCoverNote(const QString& text);
    const QString& cover_note() const { return cover_note_; }
    // The no-device state's page: the first page in office mode, tabs in their first state.
    void ShowNoDevicePage();
    // The fire page (reached from the function menu, not from a tab).
    void ShowFirePage();
    // The fire page's Confirm and Cancel: back to the first page of the selected profile.
    void LeaveFirePage();
    // Every page shows the configuration (pages built later show it when built).
    void ShowConfig(const MouseConfig& config);
    // What the pages show, taken into `config`; settings no page shows keep their values.
    void CollectConfig(MouseConfig& config);
    // Tell the built pages that the mouse was read, or that Apply is about to write it.
    void MouseRead();
    void Applying();
    // The name of a function code in the current language, for the pages' button labels.
    using FunctionNamer = std::function<QString(const FunctionCode&)>;
    void SetFunctionNamer(FunctionNamer namer);
    const FunctionNamer& function_namer() const { return function_namer_; }
    // The configuration the pages show now, once the device flows showed one.
    const MouseConfig& shown_config() const { return config_; }
    bool config_shown() const { return config_shown_; }
    // Names the buttons' functions again (slot names or the language changed).
    void RelabelButtons() { ChangeConfig({}); }
    // A part of the window, built or not (see kOfficePart ..).
    WindowPart& Part(int index) const { return *parts_[static_cast<size_t>(index)]; }
    // The part of type `T`, or nullptr when the window has none.
    template <class T>
    T* PageOf() const {
        for (const auto& part : parts_) {
            if (auto* page = dynamic_cast<T*>(part.get())) {
                return page;
            }
        }
        return nullptr;
    }
    // Builds the factory page's controls, once; the engineering tab does it on first use.
    void EnsureEngineeringPage() { parts_[kFactoryPart]->Build(); }
    // A frame button's flow asked for by a page ("Btn_Apply_1", "btn_loadDefaultCPI").
    void RequestFlow(const QString& name) { emit frameButtonClicked(name); }
    // `EngineerUnlock`: shows the engineering tab (a double click on the logo runs it).
    void EngineerUnlock();
    // Where the logo stands on the background picture.
    static QRect LogoArea() { return QRect(16, 8, 110, 50); }
    // The page tabs' action (the same checks as a click on a tab label).
    void ClickTab(Page page);

    // Shows a caption key's text ("Str020") of the current language in the message window.
    void ShowMessageKey(std::string_view key);
    // Shows a text (a reason, a file name) in the message window.
    void ShowMessage(const QString& text);
    // The scrolling caption of a hovered label (when the settings enable it), and its end,
    // which gives the label back its caption.
    void StartRolling(const QString& name);
    void StopRolling();
    // A change the user made on one page that others show too (a button's new function, a
    // combo-key option): what every page shows is taken first, so nothing typed elsewhere is
    // lost, then changed and shown on every page. Apply collects it.
    void ChangeConfig(const std::function<void(MouseConfig&)>& change);

    // The control of that name, nullptr when the window has none. A control of a part not
    // built yet is built with the rest of its part first.
    QWidget* Control(const QString& name);
    // The skin picture a picture control shows now ("SetS_03"), empty when none.
    QString PictureOf(const QString& name);
    // A skin picture by its resource name, decoded once and kept; null when the skin has none.
    QPixmap SkinPixmap(const QString& picture);
    // The steps of the current layout that lay out an editor dialog.
    const std::vector<LayoutOp>& DialogSteps(EditorDialog dialog) const {
        return dialog_steps_[static_cast<size_t>(dialog)];
    }
    int language() const { return language_; }
    Page current_page() const { return page_; }
    bool no_device_page() const { return no_device_page_; }
    bool device_handle_present() const { return device_handle_; }
    const OrgSettings& org() const { return org_; }
    // Where the pages ask the user for a file.
    FileDialogs* files() const { return services_.files; }
    const LayoutStyle& style() const { return style_; }
    const CaptionTable& captions() const { return tables_[static_cast<size_t>(language_ - 1)]; }
    // Names of controls a layout or caption table mentioned that the kind table does not know.
    const std::vector<QString>& unknown_controls() const { return unknown_controls_; }
    bool text_rolling_active() const;
    QSize BackgroundSize() const { return background_size_; }
    // `HideAllMenu`: closes the open menus and pop-up panels (every flow starts with it).
    void HideAllMenu();

signals:
    // A tab opened its page (after the page is shown), so its content can be refreshed.
    void pageShown(velq::ui::Page page);
    // The layout and captions of `language` were applied (a language switch, or the start-up's
    // own): labels that show data in the language, such as the buttons' function names, are
    // named again in it.
    void languageChanged(int language);

    // A frame button whose work belongs to the device flows ("Btn_Apply_2", "Btn_Confirm1_1").
    void frameButtonClicked(const QString& name);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowPart;

    // Controls.
    // Creates the control (by the kind table) unless it exists.
    QWidget* EnsureControl(const QString& name);
    // The part a control lies on (kOfficePart .. kMenuPart), -1 for the window's own controls.
    int PartIndexOf(const QString& name);
    bool OnUnbuiltPart(const QString& name);
    // The controls that exist before any layout names them, of one part or (-1) the window.
    void CreatePartControls(int part);
    // A part was built: it takes the state the window keeps for every page (cover, tab and
    // language marks, unlocked engineering tab) and shows the configuration.
    void PartBuilt(WindowPart& part);
    void UnlockEngineerCopy(int copy);
    // The cover's note as the window keeps it, on one cover.
    void ShowCoverNote(QWidget* cover);
    void SetListItemHeights();
    QWidget* CreateControl(const QString& name, const ControlSpec& entry);
    QWidget* ParentFor(const QString& name, const ControlSpec& entry);
    // Show and hide a control, or during start-up note it to be shown with the others.
    void ShowControl(QWidget* widget);
    void HideControl(QWidget* widget);
    void ShowWaitingControls();
    void WireControl(const QString& name, QWidget* widget, const ControlSpec& entry);
    [[nodiscard]] bool SetPicture(const QString& control, const QString& picture);
    ShellResult StartWindow();
    void SetPictureOnCopies(const QString& stem, const QString& picture);
    void Restack();
    void IndentOptionCaptions();
    void ArrangeParts();

    // Layout and captions.
    [[nodiscard]] ShellResult RunLayoutOp(const LayoutOp& op);
    std::shared_ptr<const LayoutSteps> StepsOf(LayoutPlan plan);
    LayoutContext ContextOf(int language) const;
    [[nodiscard]] ShellResult TakeStartLayout(const LayoutContext& context,
                                              LayoutResult<LayoutPlan> plan);
    // Every picture the steps name exists (those of parts not built too), checked before a
    // layout changes anything.
    [[nodiscard]] ShellResult CheckPictures(const LayoutSteps& steps) const;
    QWidget* LaidOutControl(const QString& name);
    [[nodiscard]] ShellResult LoadCaptionTables();
    // The captions of every built part's controls, or (part >= 0) of one part's only.
    void ApplyCaptions(const CaptionTable& table, int part = -1);
    LayoutPage CurrentLayoutPage() const;

    // Navigation and chrome.
    void OnLabelClicked(const QString& name);
    void OnLabelEntered(const QString& name);
    void OnLabelLeft(const QString& name);
    void OnLabelPressed(const QString& name);
    void OnTab(Page page);
    void OnExit(const QString& name);
    void OnMinimize(const QString& name);
    void OnLanguage(const QString& name);
    void OnWeb(const QString& name);
    void OnFrameButton(const QString& name);
    void ShowContainer(Page page);
    void MarkCurrentTab();
    void MarkCurrentLanguage();
    void RefreshPage();
    void RollTick();
    void StartDrag(QWidget* picture, const QPoint& global);
    void ApplyWindowShape();
    // The page container a control lies on, or nullptr for the window's own controls.
    QWidget* ContainerOf(QWidget* widget) const;
    void ShowPendingPictures(const QWidget* page);

    WindowServices services_;
    OrgSettings org_;
    LayoutStyle style_;
    std::array<std::vector<LayoutOp>, kEditorDialogs.size()> dialog_steps_;
    std::array<CaptionTable, 3> tables_;
    QHash<QString, QWidget*> controls_;
    std::array<std::unique_ptr<WindowPart>, kPartCount> parts_;
    std::array<QWidget*, 6> pages_{};
    QButtonGroup* page_radios_ = nullptr;
    QButtonGroup* language_radios_ = nullptr;
    std::vector<QString> unknown_controls_;
    QSize background_size_;
    QRegion shape_;
    QHash<QString, QPixmap> pixmaps_;
    // During start-up: language 1's layout, made once for both applications.
    LayoutContext start_context_;
    std::shared_ptr<const LayoutSteps> start_steps_;
    // The skin picture each picture control shows now, by control.
    QHash<const QWidget*, QString> shown_pictures_;
    // Pictures set on controls of hidden pages, decoded when their page is first shown.
    QHash<QLabel*, QString> pending_pictures_;
    bool started_ = false;
    // During start-up: controls to be shown together once laid out and captioned.
    std::optional<std::vector<QWidget*>> showing_later_;
    QHash<QString, int> part_index_of_;
    bool pages_covered_ = false;
    QString cover_note_;
    bool engineer_unlocked_ = false;
    // What the pages show, once the device flows showed a configuration.
    MouseConfig config_{};
    bool config_shown_ = false;
    FunctionNamer function_namer_;

    int language_ = 1;
    Page page_ = Page::kOffice;
    bool no_device_page_ = true;
    bool device_handle_ = false;

    QTimer* label_run_ = nullptr;
    TextRoller roller_;
    QString rolling_label_;

    std::optional<QPoint> manual_drag_offset_;
};

}  // namespace velq::ui
