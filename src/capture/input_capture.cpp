#include "capture/input_capture.h"

#include <chrono>
#include <string_view>

namespace velq {

int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool ButtonOfX(int number, CapturedButton& button) {
    switch (number) {
        case 1:
            button = CapturedButton::kLeft;
            return true;
        case 2:
            button = CapturedButton::kMiddle;
            return true;
        case 3:
            button = CapturedButton::kRight;
            return true;
        case 8:
            button = CapturedButton::kBackward;
            return true;
        case 9:
            button = CapturedButton::kForward;
            return true;
        default:
            return false;
    }
}

CaptureKind ChooseCapture(const EnvLookup& env) {
    const auto set = [&env](const char* name) {
        const char* value = env(name);
        return value != nullptr && *value != '\0';
    };
    const char* session = env("XDG_SESSION_TYPE");
    if (set("WAYLAND_DISPLAY") || (session != nullptr && std::string_view(session) == "wayland")) {
        return CaptureKind::kInWindow;
    }
    return CaptureKind::kX11;
}

}  // namespace velq
