#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "settings/pointer_backend.h"

namespace velq {

// An X session without GNOME: the acceleration is applied to the X server live.
// Where pointer devices carry libinput's properties (through XInput 2), every such device gets
//   "MouseSensitivity" -> "libinput Accel Speed" (AccelSpeedOfSensitivity),
//   the precision triple -> "libinput Accel Profile Enabled": adaptive, or flat for 0, 0, 0;
// else the core pointer's control (XChangePointerControl), one factor over one threshold, set
// from the speed position and the precision together by the table in pointer_rules.h (the
// middle position with precision is the server's default 2/1 over 4 pixels; without it, 1/1).
// The double-click time and the wheel lines, which an X server does not keep, live in our own
// file (pointer_file.h), as do the values read back for them.
class X11PointerBackend : public PointerBackend {
public:
    // Connects to `display` (empty: DISPLAY); nothing when no X server answers.
    static std::unique_ptr<X11PointerBackend> Open(const std::string& display,
                                                   std::filesystem::path own_file);
    ~X11PointerBackend() override;

    std::string_view Name() const override { return "x11"; }
    [[nodiscard]] PointerResult Read(PointerValues& values) override;
    [[nodiscard]] PointerResult Write(const PointerValues& values) override;
    bool OnlyInOwnFile(PointerKey key) const override {
        return key == PointerKey::kDoubleClickSpeed || key == PointerKey::kWheelScrollLines;
    }

    // How many pointer devices carry libinput's acceleration properties (0: the core control).
    int LibinputDeviceCount() const;

private:
    struct Xlib;
    X11PointerBackend(std::unique_ptr<Xlib> x, std::filesystem::path own_file);

    std::unique_ptr<Xlib> x_;
    std::filesystem::path own_file_;
};

// The libinput property names, as the X driver publishes them.
inline constexpr const char* kLibinputAccelSpeed = "libinput Accel Speed";
inline constexpr const char* kLibinputAccelProfile = "libinput Accel Profile Enabled";

}  // namespace velq
