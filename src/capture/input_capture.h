#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace velq {

// What the recorder is given while a macro is recorded: presses and releases of the PC's keys and
// mouse buttons, wherever they happen. A capture only observes: every key and click still reaches
// its window.

enum class CapturedButton : uint8_t { kLeft, kRight, kMiddle, kForward, kBackward };

struct CapturedEvent {
    enum class Kind : uint8_t { kKey, kButton };
    Kind kind = Kind::kKey;
    bool press = true;
    // Keys: the physical key as the kernel names it (an X keycode less 8).
    uint16_t key_code = 0;
    // The server or the keyboard repeats a held key.
    bool repeat = false;
    CapturedButton button = CapturedButton::kLeft;
    // When the event was taken, in milliseconds of the capture's time source.
    int64_t time_ms = 0;
};

// The clock events are stamped with: milliseconds since a fixed origin.
using CaptureTime = std::function<int64_t()>;
// The machine's monotonic clock in milliseconds.
int64_t SteadyMs();

// The X server's button numbers: 1 left, 2 middle, 3 right, 8 back (the first extra button), 9
// forward (the second). False for the wheel's and any other number.
bool ButtonOfX(int number, CapturedButton& button);

// One source of events. Start hands every event, in the order it was taken, to `sink`, on a
// thread of the capture's own or on the window thread (as the backend says); Stop ends the
// capture and returns only once the sink has been called for the last time.
class InputCapture {
public:
    using Sink = std::function<void(const CapturedEvent&)>;

    virtual ~InputCapture() = default;
    // False with a reason in `error` when the capture cannot run.
    [[nodiscard]] virtual bool Start(Sink sink, std::string& error) = 0;
    virtual void Stop() = 0;
    // Keys and buttons anywhere on the desktop (true), or only while the program's own window
    // has the focus.
    virtual bool Global() const = 0;
};

// Which capture a session allows. In a Wayland session the X server, if any, is XWayland, whose
// raw events show only what happens over X clients; only the program's own window can be
// watched there. On X11 the whole desktop can.
enum class CaptureKind : uint8_t { kX11, kInWindow };
using EnvLookup = std::function<const char*(const char*)>;
CaptureKind ChooseCapture(const EnvLookup& env);

}  // namespace velq
