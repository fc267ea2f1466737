#pragma once

#include <filesystem>
#include <memory>

#include "settings/pointer_backend.h"

namespace velq {

// GNOME keeps the pointer in GSettings `org.gnome.desktop.peripherals.mouse`, and its settings
// daemon applies every change to the running session itself:
//   "MouseSensitivity" 1..20 <-> `speed` -1..1 (AccelSpeedOfSensitivity);
//   "MouseSpeed"/"MouseThreshold1"/"MouseThreshold2" <-> `accel-profile`: "flat" for 0, 0, 0,
//       "adaptive" otherwise; "default" reads as adaptive, the profile libinput gives a mouse;
//   "DoubleClickSpeed" <-> `double-click` in ms;
//   "WheelScrollLines", which GNOME does not have, lives in a small file of our own in the
//       desktop's configuration folder (`wheel_file`, see pointer_file.h), written only when the
//       user changes it.
class GnomePointerBackend : public PointerBackend {
public:
    // The GSettings schema of the mouse, or nothing when the session has none installed.
    static std::unique_ptr<GnomePointerBackend> Open(std::filesystem::path wheel_file);
    ~GnomePointerBackend() override;

    std::string_view Name() const override { return "gnome"; }
    [[nodiscard]] PointerResult Read(PointerValues& values) override;
    [[nodiscard]] PointerResult Write(const PointerValues& values) override;
    bool OnlyInOwnFile(PointerKey key) const override {
        return key == PointerKey::kWheelScrollLines;
    }

    const std::filesystem::path& wheel_file() const { return wheel_file_; }

private:
    struct Gio;
    GnomePointerBackend(std::unique_ptr<Gio> gio, std::filesystem::path wheel_file);

    std::unique_ptr<Gio> gio_;
    std::filesystem::path wheel_file_;
};

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// True when this session's GSettings knows the mouse schema.
bool GnomeMouseSchemaInstalled();

}  // namespace velq
