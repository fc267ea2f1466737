#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/user_dirs.h"
#include "settings/pointer_backend.h"

namespace velq {

// Which desktop keeps the pointer settings in this session.
enum class PointerBackendKind { kNone, kGnome, kX11 };

// What the session offers, as far as the choice goes.
struct PointerSession {
    bool gnome_schema = false;   // GSettings knows org.gnome.desktop.peripherals.mouse
    bool gnome_session = false;  // a GNOME desktop runs, or GSettings' store is named outright
    bool display = false;        // an X server answers
    bool wayland = false;        // a Wayland session (WAYLAND_DISPLAY or XDG_SESSION_TYPE)
};

// GNOME when its schema and a session are there (its daemon applies the settings to every
// kind of device, Wayland too); else, outside Wayland, the X server when one answers; else
// none. Under another Wayland desktop the X server that answers is XWayland, whose pointer
// control reaches no device: its changes would pass for applied and do nothing.
PointerBackendKind ChoosePointerBackend(const PointerSession& session);

// True when XDG_CURRENT_DESKTOP lists GNOME (alone or as in "ubuntu:GNOME"), or when
// GSETTINGS_BACKEND names GSettings' store outright (so a keyfile store is taken as meant).
bool IsGnomeSession(const EnvironmentLookup& env);

// True when WAYLAND_DISPLAY is set or XDG_SESSION_TYPE is "wayland".
bool IsWaylandSession(const EnvironmentLookup& env);

// Looks at the running session and opens the backend it offers; nullptr when none applies.
// `own_file` is where the values a desktop does not keep go (see pointer_file.h).
std::unique_ptr<PointerBackend> OpenPointerBackend(const EnvironmentLookup& env,
                                                   const std::filesystem::path& own_file);
std::unique_ptr<PointerBackend> OpenPointerBackend();

}  // namespace velq
