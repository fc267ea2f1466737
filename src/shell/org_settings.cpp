#include "shell/org_settings.h"

#include <algorithm>
#include <optional>

#include "shell/shell_resources.h"

namespace velq {
namespace {

constexpr std::string_view kOrgSection = "org";

// Reads keys in turn and keeps the first error, so the reader can be written straight through.
class OrgReader {
public:
    explicit OrgReader(const ConfigSection& section) : section_(section) {}

    int Int(std::string_view key) {
        if (error_) {
            return 0;
        }
        LayoutResult<int> value = section_.ReadInt(key);
        if (!value) {
            error_ = std::move(value.error);
            return 0;
        }
        return *value.value;
    }

    bool Enabled(std::string_view key) { return Int(key) == 1; }

    // A key with a default used only when the key is absent; a present value must be a number.
    int IntOr(std::string_view key, int fallback) {
        return section_.Has(key) ? Int(key) : fallback;
    }

    std::string Text(std::string_view key) {
        if (error_) {
            return {};
        }
        LayoutResult<std::string> value = section_.ReadString(key);
        if (!value) {
            error_ = std::move(value.error);
            return {};
        }
        return std::move(*value.value);
    }

    // A value that must lie in [low, high]; anything else cannot be acted on safely.
    int Ranged(std::string_view key, int low, int high) {
        const int value = Int(key);
        if (!error_ && (value < low || value > high)) {
            error_ = LayoutError{std::string(key), section_.name(),
                                 "Key \"" + std::string(key) + "\" in section [" + section_.name() +
                                     "] must lie between " + std::to_string(low) + " and " +
                                     std::to_string(high) + ", not " + std::to_string(value)};
        }
        return value;
    }

    const std::optional<LayoutError>& error() const { return error_; }

private:
    const ConfigSection& section_;
    std::optional<LayoutError> error_;
};

}  // namespace

LayoutResult<OrgSettings> ReadOrgSettings(const ConfigSection& section) {
    OrgReader r(section);
    OrgSettings s;
    s.web_enabled = r.Enabled("Web_Enable");
    s.web = r.Text("Web");
    s.web_x = r.Int("Web_X");
    s.web_y = r.Int("Web_Y");
    // The ID bytes are compared with single bytes of the device identity.
    s.rev_manu_id = r.Ranged("Rev_Manu_ID", 0, 255);
    s.rev_pro_id = r.Ranged("Rev_Pro_ID", 0, 255);
    s.path = r.Text("Path");
    s.text_rolling = r.Enabled("TR_Enable");
    s.gun_display = r.Enabled("GD_Enable");
    s.main_panel_height_with_gun = r.IntOr("Main_Pnl_Height_With_Gun", 190);
    s.main_panel_height_without_gun = r.IntOr("Main_Pnl_Height_WithNo_Gun", 170);
    s.dpi_led_marker_style = r.Int("DPILED_Status") == 1;
    s.gun6_slots = std::clamp(r.Int("Gun6_Num"), 1, 2);
    s.gun7_slots = std::clamp(r.Int("Gun7_Num"), 1, 3);
    s.num_order = std::clamp(r.Int("Num_Order"), 0, 1);
    s.ap_mode = r.Ranged("Ap_Mode", 0, 2);
    s.eeprom_mode = s.ap_mode != 1;
    if (!s.eeprom_mode) {
        s.gun_display = false;  // the fire page needs the mouse's own fire area
    }
    // The sliders divide by this count and index the twelve DPI values with it, so it is held
    // to 1..12.
    s.dpi_count = std::clamp(r.Int("DPI_Count"), 1, 12);
    s.special_config = section.Has("Special_Config") ? r.Text("Special_Config")
                                                     : std::string(kDefaultSpecialConfig);
    if (r.error()) {
        return LayoutResult<OrgSettings>::Failure(*r.error());
    }
    return LayoutResult<OrgSettings>::Success(std::move(s));
}

LayoutResult<OrgSettings> ParseOrgSettings(std::string_view text) {
    LayoutResult<ConfigSection> section = ParseConfigText(text, kOrgSection);
    if (!section) {
        return LayoutResult<OrgSettings>::Failure(std::move(section.error));
    }
    return ReadOrgSettings(*section.value);
}

LayoutResult<OrgSettings> LoadOrgSettings() {
    const auto bytes = ShellResource(kOrgSection);
    if (bytes.empty()) {
        return LayoutResult<OrgSettings>::Failure(
            LayoutError{"", "org", "Settings resource \"org\" is missing"});
    }
    return ParseOrgSettings(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<LayoutOp> WebButtonOps(const OrgSettings& settings) {
    std::vector<LayoutOp> ops;
    for (int i = 1; i <= 4; ++i) {
        const std::string picture = "Img_Web_" + std::to_string(i);
        LayoutOp move;
        move.kind = LayoutOpKind::kMove;
        move.control = picture;
        move.x = settings.web_x;
        move.y = settings.web_y;
        ops.push_back(std::move(move));
        LayoutOp fit;
        fit.kind = LayoutOpKind::kFitToPicture;
        fit.control = "Btn_Web_" + std::to_string(i);
        fit.reference = picture;
        ops.push_back(std::move(fit));
    }
    return ops;
}

}  // namespace velq
