#pragma once

#include <QRect>

#include <array>
#include <optional>

#include "config/mouse_config.h"
#include "fire/ui/gun_keys_view.h"
#include "shell/ui/window_part.h"

namespace velq::ui {

// The factory page: every setting of the mouse at once as plain controls named after their
// fields, both profiles' button columns, and a row of commands (the page tabs and the flows of
// the frame buttons). It is seen only after the engineer unlock and built on first use.
class EngineeringPage final : public WindowPart {
    Q_OBJECT

public:
    explicit EngineeringPage(MainWindow& window);

    bool ShowsConfig() const override { return true; }
    void ShowConfig(const MouseConfig& config) override;
    void CollectConfig(MouseConfig& config) const override;
    void Arrange() override;
    void Opened(Page page) override;

    // `EngineerUnlock` (a double click on the logo strip `Img_Logo4`, and every opening of the
    // page): the engineer tab shown, the fire area file button in place of Default, the light
    // type and sensor orientation enabled. It holds for the rest of the run.
    void EngineerUnlock();

    // The button test's share of the page: the test button disabled while the test runs and
    // showing its countdown ("5..." .. "0...", or its name during a blink), the office
    // column's buttons blinking; at the end everything as before the test.
    void ButtonTestStarted();
    void ShowTestCountdown(std::optional<int> seconds);
    void ShowTestedKey(int key, bool shown);
    void ButtonTestEnded();

    // The gun key list, which the button menus and the buttons' names use too.
    GunKeysView& gun_keys() { return gun_keys_; }

protected:
    void Built() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectLinkedSettings();
    void Edited(const QString& name);
    void FillDpiLists();
    void ShowLevelsInUse(int count);
    void ShowUnlocked(bool unlocked);
    void ShowLightGroups(LightType type);
    void PlaceHintLine();
    void ListFlowingModes(const std::array<bool, 7>& offered);
    void NameButtons(const MouseConfig& config);
    void OnCommand(const QString& name);

    GunKeysView gun_keys_;
    bool unlocked_ = false;
    // Where the window's hint label stands while another page is open.
    std::optional<QRect> hint_geometry_;
};

}  // namespace velq::ui
