#include "settings/pointer_backend_choice.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "settings/gnome_pointer_backend.h"
#include "settings/pointer_file.h"
#include "settings/x11_pointer_backend.h"

namespace velq {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

PointerBackendKind ChoosePointerBackend(const PointerSession& session) {
    if (session.gnome_schema && session.gnome_session) {
        return PointerBackendKind::kGnome;
    }
    if (session.display && !session.wayland) {
        return PointerBackendKind::kX11;
    }
    return PointerBackendKind::kNone;
}

bool IsGnomeSession(const EnvironmentLookup& env) {
    if (const std::optional<std::string> store = env("GSETTINGS_BACKEND");
        store && !store->empty()) {
        return true;
    }
    const std::optional<std::string> desktops = env("XDG_CURRENT_DESKTOP");
    if (!desktops) {
        return false;
    }
    std::string_view rest(*desktops);
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        if (SameLetters(rest.substr(0, colon), "GNOME")) {
            return true;
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
}

bool IsWaylandSession(const EnvironmentLookup& env) {
    if (const std::optional<std::string> wayland = env("WAYLAND_DISPLAY");
        wayland && !wayland->empty()) {
        return true;
    }
    const std::optional<std::string> type = env("XDG_SESSION_TYPE");
    return type && SameLetters(*type, "wayland");
}

std::unique_ptr<PointerBackend> OpenPointerBackend(const EnvironmentLookup& env,
                                                   const std::filesystem::path& own_file) {
    PointerSession session;
    session.wayland = IsWaylandSession(env);
    session.gnome_session = IsGnomeSession(env);
    session.gnome_schema = session.gnome_session && GnomeMouseSchemaInstalled();
    std::unique_ptr<X11PointerBackend> x11;
    const std::optional<std::string> display = env("DISPLAY");
    if (display && !display->empty()) {
        x11 = X11PointerBackend::Open(*display, own_file);
        session.display = x11 != nullptr;
    }
    switch (ChoosePointerBackend(session)) {
        case PointerBackendKind::kGnome:
            return GnomePointerBackend::Open(own_file);
        case PointerBackendKind::kX11:
            return x11;
        case PointerBackendKind::kNone:
            break;
    }
    return nullptr;
}

std::unique_ptr<PointerBackend> OpenPointerBackend() {
    return OpenPointerBackend(ProcessEnvironment(), DefaultPointerFile());
}

}  // namespace velq
