#pragma once

#include <QString>

#include <cstdint>

#include "settings/light_rules.h"
#include "shell/ui/window_part.h"

namespace velq::ui {

class SnapSlider;

// The light page: the light on or off, the key combinations that switch it, whether the key mode
// is remembered, brightness, the modes of the lighting type the mouse has, the flowing light's
// speed and number of lamps. Which of its groups show follows the lighting type.
//
// Every choice changes the configuration at once, so the factory page's view follows; there is
// nothing left to collect.
class LightPage final : public WindowPart {
    Q_OBJECT

public:
    explicit LightPage(MainWindow& window);

    bool ShowsConfig() const override { return true; }
    void ShowConfig(const MouseConfig& config) override;
    void Arrange() override;
    bool LabelClicked(const QString& name) override;

    // The mode entries: flowing mode n shows when bit n - 1 of `flowing_modes` is set (0 for a
    // lighting type without them), the two-colour entries when `two_colour`.
    void ShowLightingEntries(uint8_t flowing_modes, bool two_colour);

protected:
    void Built() override;

private:
    // A choice by the name of its picture or caption without the "Img_" or "lbl_" prefix; false
    // for other names.
    bool Choose(const QString& option);
    // A bar of `segments` pictures named `stem`1 .. with `current` (1-based, 0: none) as the
    // segment of the current value, drawn in the program's bar style.
    void ShowBar(const char* stem, int segments, int current, const char* lit, const char* unlit);
    void ShowPair(const char* first, const char* second, bool first_chosen);

    uint8_t flowing_modes_ = 0x7F;  // the no-device image's flowing light offers all seven
    bool two_colour_entries_ = false;
    LightGroups groups_ = GroupsOfLight(LightType::kFlowing);
    SnapSlider* speed_slider_ = nullptr;
};

}  // namespace velq::ui
