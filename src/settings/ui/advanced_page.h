#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>

#include "common/dpi.h"
#include "settings/pointer_settings.h"
#include "shell/ui/colour_dialog.h"
#include "shell/ui/window_part.h"

namespace velq::ui {

class SnapSlider;

// The advanced page: the DPI levels and their colours, the aim key and fire key settings, and
// the PC's pointer settings.
//
// Its aim and fire key controls change the configuration as soon as they are edited, so the
// factory page's view of the same settings follows at once; they have nothing left to collect.
class AdvancedPage final : public WindowPart {
    Q_OBJECT

public:
    explicit AdvancedPage(MainWindow& window);

    bool ShowsConfig() const override { return true; }
    void ShowConfig(const MouseConfig& config) override;
    void Arrange() override;
    bool LabelClicked(const QString& name) override;
    void MouseRead() override;
    void Applying() override;

    // Where the PC's pointer settings are kept: asked once, when the page is built (nullptr:
    // the page keeps and shows its values and writes nowhere). The program opens the
    // session's backend; tests give theirs.
    using PointerBackendSource = std::function<PointerBackend*()>;
    void SetPointerBackendSource(PointerBackendSource source) {
        pointer_source_ = std::move(source);
    }
    const PointerSettings& pointer() const { return pointer_; }

    // Asks the user for a level's colour, starting from its present one; nothing when the
    // user cancels. The colour dialog by default; tests put their answer here.
    void SetColourChooser(ColourChooser chooser) { choose_colour_ = std::move(chooser); }

protected:
    void Built() override;

private:
    // The aim value's slider and text at an entry of the DPI value list.
    void ShowAim(int entry);
    void ShowAimText(int entry);
    void AimReleased(int entry);
    void FireCountEdited(const QString& text);
    void FireWaitEdited(const QString& text);
    void ShowFireKey(const FireKeyConfig& fire);
    void BuildLevels();
    void ShowLevels(const MouseConfig& config);
    // A click on one of the level rows' labels or pictures; false for other names.
    bool LevelClicked(const QString& name);

    // The pointer rows (advanced_page_pointer.cpp).
    void BuildPointerRows();
    void ShowPointer();
    void FitPointerScales();
    // The notes beside the rows whose settings do not reach the desktop.
    void ShowPointerNotes();
    bool PointerClicked(const QString& name);
    void Report(const PointerResult& result);

    SnapSlider* aim_slider_ = nullptr;
    std::array<SnapSlider*, kDpiLevels> level_sliders_{};
    ColourChooser choose_colour_;
    PointerSettings pointer_;
    PointerBackendSource pointer_source_;
    std::array<SnapSlider*, 3> pointer_sliders_{};
    int aim_entry_ = 0;
};

}  // namespace velq::ui
