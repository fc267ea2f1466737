#include "settings/gnome_pointer_backend.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "settings/pointer_file.h"

namespace velq {
namespace {

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

bool GnomeMouseSchemaInstalled() {
    GSettingsSchema* schema = LookUpMouseSchema();
    if (schema == nullptr) {
        return false;
    }
    g_settings_schema_unref(schema);
    return true;
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
        std::to_string(SensitivityOfAccelSpeed(g_settings_get_double(s, kSpeedKey)));
    gchar* profile = g_settings_get_string(s, kProfileKey);
    const bool flat = std::string_view(profile) == kFlat;
    g_free(profile);
    const PrecisionValues precision = flat ? kPrecisionOff : kPrecisionOn;
    values[PointerKey::kMouseSpeed] = std::to_string(precision.mouse_speed);
    values[PointerKey::kMouseThreshold1] = std::to_string(precision.threshold1);
    values[PointerKey::kMouseThreshold2] = std::to_string(precision.threshold2);
    values[PointerKey::kDoubleClickSpeed] = std::to_string(g_settings_get_int(s, kDoubleClickKey));

    // Only the wheel lines come from our file: GNOME keeps the rest itself.
    PointerValues own;
    if (PointerResult read = ReadPointerFile(wheel_file_, own); !read) {
        return read;
    }
    if (const auto it = own.find(PointerKey::kWheelScrollLines); it != own.end()) {
        values[PointerKey::kWheelScrollLines] = it->second;
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
        if (!g_settings_set_double(s, kSpeedKey, AccelSpeedOfSensitivity(*v))) {
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
        return WritePointerFile(wheel_file_, {{PointerKey::kWheelScrollLines, it->second}});
    }
    return PointerOk();
}

}  // namespace velq
