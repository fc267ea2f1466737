#pragma once

#include <array>
#include <functional>
#include <optional>

#include "fire/fire_blocks.h"
#include "fire/fire_scan.h"
#include "flows/flow_host.h"
#include "shell/ui/colour_dialog.h"
#include "shell/ui/window_part.h"

class QLineEdit;

namespace velq::ui {

// The fire macro page, reached from the gaming profile's function menu: the seven guns, the
// rows of their slots (stop on release, count, X, Y, Y adjustment, time, colour), Confirm and
// Cancel. Confirm gives the button the menu was opened for the gun's code and writes the fire
// regions to the mouse.
//
// The page keeps the window's copy of the fire area and entry table (ShownFire), edited in
// place: the device flows show it here, and Apply and Confirm take it back (the device side
// writes it only while its fire area is the mouse's). The Y adjustments and colours are
// settings of the configuration, which the factory page shows too.
class FirePage final : public WindowPart {
    Q_OBJECT

public:
    explicit FirePage(MainWindow& window);

    // What the device side holds now; a built page shows it for the selected gun.
    void ShowFire(const ShownFire& fire);
    // The page's copy with its edits.
    const ShownFire& Fire() const { return fire_; }
    // The selected gun, 1..7.
    int gun() const { return gun_; }

    void SetColourChooser(ColourChooser choose) { choose_colour_ = std::move(choose); }

    bool ShowsConfig() const override { return true; }
    void ShowConfig(const MouseConfig& config) override;
    void Arrange() override;
    void Opened(Page page) override;
    bool LabelClicked(const QString& name) override;
    bool LabelEntered(const QString& name) override;
    bool LabelLeft(const QString& name) override;

protected:
    void Built() override;

private:
    // `Btn_Fire<n>Click`: the gun's rows filled from its slots.
    void SelectGun(int gun);
    int Rows() const;
    int SlotOfRow(int row) const;
    void FieldEdited(int row, FireParam param);
    void YAdjustmentEdited(int row);
    void ToggleStop(int row);
    void ChooseColour(int row);
    void ShowRowSettings(int row, const MouseConfig& config);
    // Scans the row's slot and shows what it holds.
    void ShowScannedRow(int row);
    void Confirm();
    void Leave(const QString& button_picture);
    void SetText(const QString& field, const QString& text);
    void ShowGunName();
    QLineEdit* Field(const QString& stem, int row, const char* suffix = "") const;

    ShownFire fire_;
    FireBlocks blocks_;
    int gun_ = 1;
    // `cb_FireRKFS1`..3: the rows' stop-on-release boxes (kept when a block is unreadable).
    std::array<bool, 3> stop_ticked_{};
    // The page-fill guard: set while a gun is loaded into the rows.
    bool filling_ = false;
    ColourChooser choose_colour_;
};

}  // namespace velq::ui
