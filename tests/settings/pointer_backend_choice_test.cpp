#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "settings/desktop_env.h"
#include "settings/pointer_backend_choice.h"
#include "settings/pointer_file.h"

namespace velq {
namespace {

using Env = std::map<std::string, std::string>;

EnvironmentLookup LookUpIn(const Env& env) {
    return [&env](std::string_view name) -> std::optional<std::string> {
        const auto it = env.find(std::string(name));
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

std::string TestDisplay() {
    std::ifstream in(VELQ_TEST_XVFB_FILE);
    std::string name;
    std::getline(in, name);
    return name;
}

TEST(PointerBackendChoice, WhatTheSessionOffersDecides) {
    using Kind = PointerBackendKind;
    struct Case {
        PointerSession session;
        Kind kind;
    };
    const Case cases[] = {
        {{true, true, true}, Kind::kGnome},
        {{true, true, false}, Kind::kGnome},
        {{true, false, true}, Kind::kX11},
        {{false, true, true}, Kind::kX11},
        {{false, false, false}, Kind::kNone},
        {{true, false, false}, Kind::kNone},
        {{false, true, false}, Kind::kNone},
        // Under Wayland GNOME still applies; the X server that answers is XWayland.
        {{true, true, true, true}, Kind::kGnome},
        {{false, false, true, true}, Kind::kNone},
        {{true, false, true, true}, Kind::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.session.gnome_schema) +
                     std::to_string(c.session.gnome_session) + std::to_string(c.session.display) +
                     std::to_string(c.session.wayland));
        EXPECT_EQ(ChoosePointerBackend(c.session), c.kind);
    }
}

TEST(PointerBackendChoice, GnomeSessionFromTheEnvironment) {
    struct Case {
        Env env;
        bool gnome;
    };
    const Case cases[] = {
        {{{"XDG_CURRENT_DESKTOP", "GNOME"}}, true},
        {{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}, true},
        {{{"XDG_CURRENT_DESKTOP", "gnome"}}, true},
        {{{"XDG_CURRENT_DESKTOP", "GNOME-Flashback:GNOME"}}, true},
        {{{"XDG_CURRENT_DESKTOP", "KDE"}}, false},
        {{{"XDG_CURRENT_DESKTOP", "XFCE:GNOMEISH"}}, false},
        {{{"XDG_CURRENT_DESKTOP", ""}}, false},
        {{{"GSETTINGS_BACKEND", "keyfile"}}, true},
        {{}, false},
    };
    for (const Case& c : cases) {
        const auto it = c.env.begin();
        SCOPED_TRACE(it == c.env.end() ? "empty" : it->first + "=" + it->second);
        EXPECT_EQ(IsGnomeSession(LookUpIn(c.env)), c.gnome);
    }
}

TEST(PointerBackendChoice, OpensTheBackendTheSessionOffers) {
    const std::string display = TestDisplay();
    ASSERT_FALSE(display.empty());
    struct Case {
        Env env;
        const char* name;  // nullptr: no backend
    };
    const Case cases[] = {
        {{{"GSETTINGS_BACKEND", "keyfile"}, {"DISPLAY", display}}, "gnome"},
        {{{"XDG_CURRENT_DESKTOP", "GNOME"}}, "gnome"},
        {{{"XDG_CURRENT_DESKTOP", "KDE"}, {"DISPLAY", display}}, "x11"},
        {{{"DISPLAY", ":4711"}}, nullptr},
        // A Wayland desktop that is not GNOME: its XWayland answers, but reaches no device.
        {{{"XDG_CURRENT_DESKTOP", "KDE"}, {"DISPLAY", display}, {"WAYLAND_DISPLAY", "wayland-0"}},
         nullptr},
        {{{"DISPLAY", display}, {"XDG_SESSION_TYPE", "wayland"}}, nullptr},
        {{{"DISPLAY", display}, {"XDG_SESSION_TYPE", "x11"}}, "x11"},
        {{{"GSETTINGS_BACKEND", "keyfile"}, {"WAYLAND_DISPLAY", "wayland-0"}}, "gnome"},
        {{}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name == nullptr ? "none" : c.name);
        const auto backend = OpenPointerBackend(LookUpIn(c.env), DefaultPointerFile());
        if (c.name == nullptr) {
            EXPECT_EQ(backend, nullptr);
        } else {
            ASSERT_NE(backend, nullptr);
            EXPECT_EQ(backend->Name(), c.name);
        }
    }
}

}  // namespace
}  // namespace velq
