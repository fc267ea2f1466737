#pragma once

#include <cstdint>

#include "shell/ui/window_part.h"

namespace velq::ui {

// The light page: lighting type, switches, brightness, speed and the mode entries of the
// lighting type the mouse has.
class LightPage final : public WindowPart {
    Q_OBJECT

public:
    explicit LightPage(MainWindow& window);

    bool ShowsConfig() const override { return true; }
    void ShowConfig(const MouseConfig& config) override;
    void Arrange() override;

    // The mode entries: flowing mode n shows when bit n - 1 of `flowing_modes` is set (0 for a
    // lighting type without them), the two-colour entries when `two_colour`.
    void ShowLightingEntries(uint8_t flowing_modes, bool two_colour);

private:
    uint8_t flowing_modes_ = 0x7F;  // the no-device image's flowing light offers all seven
    bool two_colour_entries_ = false;
};

}  // namespace velq::ui
