#include "settings/ui/light_page.h"

#include <QWidget>

#include "shell/ui/main_window.h"

namespace velq::ui {

LightPage::LightPage(MainWindow& window) : WindowPart(window, kLightPart) {}

void LightPage::ShowConfig(const MouseConfig& config) {
    uint8_t flowing = 0;
    if (config.lighting.type == LightType::kFlowing) {
        for (std::size_t n = 0; n < config.lighting.modes_offered.size(); ++n) {
            flowing =
                static_cast<uint8_t>(flowing | (config.lighting.modes_offered[n] ? 1 << n : 0));
        }
    }
    ShowLightingEntries(flowing, config.lighting.type == LightType::kTwoColour);
}

void LightPage::ShowLightingEntries(uint8_t flowing_modes, bool two_colour) {
    flowing_modes_ = flowing_modes;
    two_colour_entries_ = two_colour;
    if (built()) {
        Arrange();
    }
}

void LightPage::Arrange() {
    // The flowing and the two-colour mode entries share one row of the page: only the lighting
    // type's own entries are on screen, and of the flowing ones only the modes the mouse
    // offers. The layout places them; this decides whether they show.
    for (int n = 1; n <= 7; ++n) {
        const bool flowing = (flowing_modes_ >> (n - 1) & 1) != 0;
        for (const QString& stem :
             {QStringLiteral("Img_MCULEDMode"), QStringLiteral("lbl_MCULEDMode")}) {
            if (QWidget* widget = Control(stem + QString::number(n))) {
                widget->setVisible(flowing);
            }
        }
        for (const QString& stem :
             {QStringLiteral("Img_RBLEDMode"), QStringLiteral("lbl_RBLEDMode")}) {
            if (QWidget* widget = Control(stem + QString::number(n))) {
                widget->setVisible(two_colour_entries_);
            }
        }
    }
}

}  // namespace velq::ui
