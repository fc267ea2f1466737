#include "settings/gnome_pointer_backend.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/atomic_file.h"

namespace velq {
namespace {

constexpr int kMiddleSensitivity = 10;
constexpr int kMinSensitivity = 1;
constexpr int kMaxSensitivity = 20;
// The wheel file is a handful of bytes; anything bigger is not ours.
constexpr std::uintmax_t kWheelFileMaxSize = 4096;
constexpr std::string_view kWheelFileKey = "WheelScrollLines=";

constexpr const char* kSpeedKey = "speed";
constexpr const char* kProfileKey = "accel-profile";
constexpr const char* kDoubleClickKey = "double-click";
constexpr const char* kFlat = "flat";
constexpr const char* kAdaptive = "adaptive";

std::optional<int> Number(const PointerValues& values, PointerKey key) {
    const auto it = values.find(key);
    return it == values.end() ? std::nullopt : ParseStoredNumber(it->second);
}

GSettingsSchema* LookUpMouseSchema() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    return g_settings_schema_source_lookup(source, kGnomeMouseSchema, TRUE);
}

}  // namespace

struct GnomePointerBackend::Gio {
    GSettings* settings = nullptr;
    ~Gio() {
        if (settings != nullptr) {
            g_object_unref(settings);
        }
    }
};

double GnomeSpeedOfSensitivity(int sensitivity) {
    const int s = std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity);
    const double below = kMiddleSensitivity - kMinSensitivity;
    const double above = kMaxSensitivity - kMiddleSensitivity;
    return s <= kMiddleSensitivity ? (s - kMiddleSensitivity) / below
                                   : (s - kMiddleSensitivity) / above;
}

int SensitivityOfGnomeSpeed(double speed) {
    const double v = std::clamp(speed, -1.0, 1.0);
    const double below = kMiddleSensitivity - kMinSensitivity;
    const double above = kMaxSensitivity - kMiddleSensitivity;
    return static_cast<int>(std::lround(kMiddleSensitivity + v * (v <= 0 ? below : above)));
}

bool GnomeMouseSchemaInstalled() {
    GSettingsSchema* schema = LookUpMouseSchema();
    if (schema == nullptr) {
        return false;
    }
    g_settings_schema_unref(schema);
    return true;
}

std::filesystem::path DefaultWheelFile() {
    std::filesystem::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != 0) {
        folder = config;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0) {
        folder = std::filesystem::path(home) / ".config";
    } else {
        folder = g_get_user_config_dir();
    }
    return folder / "velq540b" / "pointer.conf";
}

std::unique_ptr<GnomePointerBackend> GnomePointerBackend::Open(std::filesystem::path wheel_file) {
    GSettingsSchema* schema = LookUpMouseSchema();
    if (schema == nullptr) {
        return nullptr;
    }
    auto gio = std::make_unique<Gio>();
    gio->settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return std::unique_ptr<GnomePointerBackend>(
        new GnomePointerBackend(std::move(gio), std::move(wheel_file)));
}

GnomePointerBackend::GnomePointerBackend(std::unique_ptr<Gio> gio, std::filesystem::path wheel_file)
    : gio_(std::move(gio)), wheel_file_(std::move(wheel_file)) {}

GnomePointerBackend::~GnomePointerBackend() = default;

PointerResult GnomePointerBackend::Read(PointerValues& values) {
    values.clear();
    GSettings* s = gio_->settings;
    values[PointerKey::kMouseSensitivity] =
        std::to_string(SensitivityOfGnomeSpeed(g_settings_get_double(s, kSpeedKey)));
    gchar* profile = g_settings_get_string(s, kProfileKey);
    const bool flat = std::string_view(profile) == kFlat;
    g_free(profile);
    const PrecisionValues precision = flat ? kPrecisionOff : kPrecisionOn;
    values[PointerKey::kMouseSpeed] = std::to_string(precision.mouse_speed);
    values[PointerKey::kMouseThreshold1] = std::to_string(precision.threshold1);
    values[PointerKey::kMouseThreshold2] = std::to_string(precision.threshold2);
    values[PointerKey::kDoubleClickSpeed] = std::to_string(g_settings_get_int(s, kDoubleClickKey));

    std::error_code ec;
    if (!std::filesystem::exists(wheel_file_, ec)) {
        return PointerOk();  // never changed here: the wheel settings stay as the page has them
    }
    std::vector<uint8_t> bytes;
    if (FileResult read = ReadWholeFile(wheel_file_, bytes, kWheelFileMaxSize); !read) {
        return PointerError(read.error);
    }
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t at = text.find(kWheelFileKey);
    if (at != std::string::npos) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::size_t start = at + kWheelFileKey.size();
        values[PointerKey::kWheelScrollLines] = text.substr(start, end - start);
    }
    return PointerOk();
}

PointerResult GnomePointerBackend::Write(const PointerValues& values) {
    GSettings* s = gio_->settings;
    // GSettings checks the types and ranges itself; a refusal is reported, never skipped.
    g_settings_delay(s);
    bool ok = true;
    std::string failed;
    if (const auto v = Number(values, PointerKey::kMouseSensitivity)) {
        if (!g_settings_set_double(s, kSpeedKey, GnomeSpeedOfSensitivity(*v))) {
            ok = false;
            failed = kSpeedKey;
        }
    }
    if (values.count(PointerKey::kMouseSpeed) != 0) {
        const bool on = Number(values, PointerKey::kMouseSpeed).value_or(0) != 0 ||
                        Number(values, PointerKey::kMouseThreshold1).value_or(0) != 0 ||
                        Number(values, PointerKey::kMouseThreshold2).value_or(0) != 0;
        if (!g_settings_set_string(s, kProfileKey, on ? kAdaptive : kFlat)) {
            ok = false;
            failed = kProfileKey;
        }
    }
    if (const auto v = Number(values, PointerKey::kDoubleClickSpeed)) {
        if (!g_settings_set_int(s, kDoubleClickKey, *v)) {
            ok = false;
            failed = kDoubleClickKey;
        }
    }
    if (!ok) {
        g_settings_revert(s);
        g_settings_apply(s);
        return PointerError(std::string("GSettings refused ") + kGnomeMouseSchema + " " + failed);
    }
    g_settings_apply(s);
    g_settings_sync();

    if (const auto it = values.find(PointerKey::kWheelScrollLines); it != values.end()) {
        std::error_code ec;
        std::filesystem::create_directories(wheel_file_.parent_path(), ec);
        if (ec) {
            return PointerError("cannot create " + wheel_file_.parent_path().string() + ": " +
                                ec.message());
        }
        const std::string text = std::string(kWheelFileKey) + it->second + "\n";
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        if (FileResult written = WriteFileAtomically(wheel_file_, bytes); !written) {
            return PointerError(written.error);
        }
    }
    return PointerOk();
}

}  // namespace velq
