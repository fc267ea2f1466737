#pragma once

#include <QHash>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "shell/caption_table.h"
#include "shell/layout_ops.h"
#include "shell/org_settings.h"
#include "shell/ui/control_kinds.h"
#include "shell/ui/text_roller.h"
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

// The main window: frameless, shaped by its background picture, six page containers, every
// control created by name, layouts and captions applied, the page tabs, window chrome, hover
// pictures, the scrolling caption and the status line. The device flows drive it through the
// small setters; until then it stays in the no-device state.
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
    // The four cover labels: shown, they swallow every click on the pages.
    void CoverPages(bool covered);
    // The no-device state's page: the first page in office mode, tabs in their first state.
    void ShowNoDevicePage();
    // The fire page (reached from the function menu, not from a tab).
    void ShowFirePage();
    // The light page's mode entries: flowing mode n shows when bit n - 1 of `flowing_modes` is
    // set (0 for a lighting type without them), the two-colour entries when `two_colour`.
    void ShowLightingEntries(uint8_t flowing_modes, bool two_colour);
    // Builds the factory page's controls, once; the engineering tab does it on first use.
    void EnsureEngineeringPage();
    // `EngineerUnlock`: shows the engineering tab (a double click on the logo runs it).
    void EngineerUnlock();
    // Where the logo stands on the background picture.
    static QRect LogoArea() { return QRect(16, 8, 110, 50); }
    // The page tabs' action (the same checks as a click on a tab label).
    void ClickTab(Page page);

    // Shows a caption key's text ("Str020") of the current language in the message window.
    void ShowMessageKey(std::string_view key);

    // The control of that name, nullptr when the window has none. A control of a page that
    // was not shown yet is built with the rest of its page first.
    QWidget* Control(const QString& name);
    // The skin picture a picture control shows now ("SetS_03"), empty when none.
    QString PictureOf(const QString& name);
    int language() const { return language_; }
    Page current_page() const { return page_; }
    bool no_device_page() const { return no_device_page_; }
    bool device_handle_present() const { return device_handle_; }
    const OrgSettings& org() const { return org_; }
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
    // The factory page's controls are about to be built (the values the other controls show
    // can be taken now), and exist now and want the current values.
    void engineeringPageBuilding();
    void engineeringPageBuilt();
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
    // Controls.
    // The control if it exists already; never builds anything.
    QWidget* Find(const QString& name) const;
    QWidget* EnsureControl(const QString& name);
    // The page a control lies on (0..5 for gbPage1..6, kMenuParts for the function menus), -1
    // for the window's own controls.
    int PageIndexOf(const QString& name);
    // Whether the control belongs to a page whose controls are not built yet.
    bool OnUnbuiltPage(const QString& name);
    // Creates a page's controls, lays them out, captions them and gives them the state the
    // window keeps for every page (tab and language marks, cover, unlocked engineering tab).
    void BuildPage(int index);
    // BuildPage, or for the factory page EnsureEngineeringPage.
    void BuildPart(int index);
    void UnlockEngineerCopy(int copy);
    void SetListItemHeights();
    void FillInsertList();
    QWidget* CreateControl(const QString& name, const ControlSpec& entry);
    QWidget* ParentFor(const QString& name, const ControlSpec& entry);
    void CreateFixedControls();
    // Show and hide a control, or during start-up note it to be shown with the others.
    void ShowControl(QWidget* widget);
    void HideControl(QWidget* widget);
    void ShowWaitingControls();
    void WireControl(const QString& name, QWidget* widget, const ControlSpec& entry);
    [[nodiscard]] bool SetPicture(const QString& control, const QString& picture);
    QPixmap SkinPixmap(const QString& picture);
    ShellResult StartWindow();
    void SetPictureOnCopies(const QString& stem, const QString& picture);
    void Restack();
    void PlaceMenuEntries();
    void IndentOptionCaptions();

    // Layout and captions.
    [[nodiscard]] ShellResult RunLayoutOp(const LayoutOp& op);
    // A layout's steps (the language's, then the web buttons' place), with the page each
    // step's control lies on; shared by the pages whose steps wait.
    struct LayoutSteps {
        std::vector<LayoutOp> ops;
        std::vector<int8_t> page;  // -1: the window's own controls
        LayoutStyle style;
    };
    struct WaitingSteps {
        std::shared_ptr<const LayoutSteps> layout;
        std::vector<uint32_t> steps;  // indices into layout->ops, in order
    };
    std::shared_ptr<const LayoutSteps> StepsOf(LayoutPlan plan);
    LayoutContext ContextOf(int language) const;
    [[nodiscard]] ShellResult TakeStartLayout(const LayoutContext& context,
                                              LayoutResult<LayoutPlan> plan);
    QWidget* LaidOutControl(const QString& name);
    [[nodiscard]] ShellResult LoadCaptionTables();
    // The captions of every built page's controls, or (page >= 0) of one page's controls only.
    void ApplyCaptions(const CaptionTable& table, int page = -1);
    void FillDpiLists(const CaptionTable& table);
    LayoutPage CurrentLayoutPage() const;

    // Navigation and chrome.
    void OnLabelClicked(const QString& name);
    void OnLabelEntered(const QString& name);
    void OnLabelLeft(const QString& name);
    void OnLabelPressed(const QString& name);
    void OnTab(Page page);
    void OnWeb();
    void ShowContainer(Page page);
    void MarkCurrentTab();
    void MarkCurrentLanguage();
    void RefreshPage();
    void StartRolling(const QString& name);
    void StopRolling();
    void RollTick();
    void StartDrag(QWidget* picture, const QPoint& global);
    void ApplyWindowShape();
    void ApplyLightingEntries();
    void FitKeyLabels();
    // The page container a control lies on, or nullptr for the window's own controls.
    QWidget* PageOf(QWidget* widget) const;
    void ShowPendingPictures(const QWidget* page);
    void PlaceEngineeringControls();
    void OnEngineeringCommand(const QString& name);

    WindowServices services_;
    OrgSettings org_;
    LayoutStyle style_;
    std::array<CaptionTable, 3> tables_;
    QHash<QString, QWidget*> controls_;
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
    // Pages 2 to 5 are built when first shown, and the function menus of the first page
    // (index kMenuParts) when first asked for: start-up creates only what the first page and
    // the window show. Until then their share of the layout waits here, with the pictures the
    // window set on controls not created yet (the four copies of the tabs, for instance).
    static constexpr int kFactoryPage = 5;
    static constexpr int kMenuParts = 6;
    bool started_ = false;
    std::array<bool, 7> page_built_{true, false, false, false, false, false, false};
    std::array<WaitingSteps, 7> deferred_ops_;
    // The first menu panel's height the tabs chose, for when the menus are built.
    std::optional<int> main_panel_height_;
    // During start-up: controls to be shown together once laid out and captioned.
    std::optional<std::vector<QWidget*>> showing_later_;
    // Pictures the window set on controls not built yet: before the last layout applied, and
    // since.
    QHash<QString, QString> pictures_under_layout_;
    QHash<QString, QString> deferred_pictures_;
    QHash<QString, int> page_index_of_;
    bool pages_covered_ = false;
    bool engineer_unlocked_ = false;

    int language_ = 1;
    Page page_ = Page::kOffice;
    bool no_device_page_ = true;
    bool device_handle_ = false;
    bool macro_insert_mode_ = false;
    bool engineering_page_built_ = false;
    uint8_t flowing_modes_ = 0x7F;  // the no-device image's flowing light offers all seven
    bool two_colour_entries_ = false;

    QTimer* label_run_ = nullptr;
    TextRoller roller_;
    QString rolling_label_;

    std::optional<QPoint> manual_drag_offset_;
};

}  // namespace velq::ui
