#pragma once

#include <string>
#include <thread>

#include "capture/input_capture.h"

// Xlib's Display, declared as Xlib declares it, so that its macros stay out of this header.
struct _XDisplay;

namespace velq {

// Keys and mouse buttons anywhere on an X11 desktop: the XInput 2 raw events of the master
// devices, selected on the root window. Raw events go to every client that asks, even while
// another client holds a grab (XInput 2.1), and they take nothing from anybody: the window under
// the pointer or with the focus still gets its click or key.
//
// The capture has an X connection of its own and a worker thread that sleeps in poll() on that
// connection and on a wake-up descriptor: no polling timer, nothing to do while no input
// arrives. Stop wakes it, joins it and closes the connection.
class X11RawCapture final : public InputCapture {
public:
    // `display`: the X display's name, the environment's DISPLAY when empty. `time` stamps the
    // events as they are taken.
    explicit X11RawCapture(std::string display = {}, CaptureTime time = SteadyMs);
    ~X11RawCapture() override;
    X11RawCapture(const X11RawCapture&) = delete;
    X11RawCapture& operator=(const X11RawCapture&) = delete;

    // Opens the connection and selects the raw events before it returns: an event that happens
    // after Start returned is taken. The sink is called on the worker thread.
    [[nodiscard]] bool Start(Sink sink, std::string& error) override;
    void Stop() override;
    bool Global() const override { return true; }

private:
    void Run();
    void Close();

    std::string display_name_;
    CaptureTime time_;
    _XDisplay* display_ = nullptr;
    int xi_opcode_ = 0;
    int wake_fd_ = -1;
    Sink sink_;
    std::thread worker_;
};

}  // namespace velq
