#include <gtest/gtest.h>

#include <map>
#include <string>

#include "capture/input_capture.h"

namespace velq {
namespace {

TEST(CaptureChoice, WaylandSessionsWatchTheWindowAndX11TheDesktop) {
    using Env = std::map<std::string, std::string>;
    struct Case {
        Env env;
        CaptureKind kind;
    };
    const Case cases[] = {
        {{{"DISPLAY", ":0"}}, CaptureKind::kX11},
        {{{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}, CaptureKind::kX11},
        // XWayland's raw events show only X clients: the window's own capture.
        {{{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, CaptureKind::kInWindow},
        {{{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "wayland"}}, CaptureKind::kInWindow},
        {{{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", ""}}, CaptureKind::kX11},
    };
    for (const Case& c : cases) {
        const EnvLookup env = [&c](const char* name) -> const char* {
            const auto it = c.env.find(name);
            return it == c.env.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(ChooseCapture(env), c.kind);
    }
}

TEST(CaptureChoice, TheServersButtonNumbers) {
    const std::pair<int, CapturedButton> buttons[] = {
        {1, CapturedButton::kLeft},     {2, CapturedButton::kMiddle},  {3, CapturedButton::kRight},
        {8, CapturedButton::kBackward}, {9, CapturedButton::kForward},
    };
    for (const auto& [number, expected] : buttons) {
        CapturedButton button{};
        EXPECT_TRUE(ButtonOfX(number, button)) << number;
        EXPECT_EQ(button, expected) << number;
    }
    for (const int wheel : {4, 5, 6, 7, 10}) {
        CapturedButton button{};
        EXPECT_FALSE(ButtonOfX(wheel, button)) << wheel;
    }
}

}  // namespace
}  // namespace velq
