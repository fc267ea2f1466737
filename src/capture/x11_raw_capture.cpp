#include "capture/x11_raw_capture.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <utility>

namespace velq {

namespace {

// A key held down: the server's repeats are marked.
constexpr int kKeyRepeatFlag = XIKeyRepeat;
// An X keycode is the kernel's key code + 8.
constexpr int kKeycodeOffset = 8;

}  // namespace

X11RawCapture::X11RawCapture(std::string display, CaptureTime time)
    : display_name_(std::move(display)), time_(std::move(time)) {}

X11RawCapture::~X11RawCapture() {
    Stop();
}

bool X11RawCapture::Start(Sink sink, std::string& error) {
    Stop();
    display_ = XOpenDisplay(display_name_.empty() ? nullptr : display_name_.c_str());
    if (display_ == nullptr) {
        error = "Cannot open the X display " + display_name_;
        return false;
    }
    int event = 0;
    int xi_error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &xi_opcode_, &event, &xi_error)) {
        error = "The X server has no XInput extension";
        Close();
        return false;
    }
    // 2.1: raw events reach every client that selected them, grabs or not.
    int major = 2;
    int minor = 1;
    if (XIQueryVersion(display_, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        error = "The X server's XInput is older than 2.1";
        Close();
        return false;
    }
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
    XISetMask(bits.data(), XI_RawKeyPress);
    XISetMask(bits.data(), XI_RawKeyRelease);
    XISetMask(bits.data(), XI_RawButtonPress);
    XISetMask(bits.data(), XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(bits.size()), bits.data()};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    // The selection is in place once the server answered.
    XSync(display_, False);
    wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd_ < 0) {
        error = "Cannot create the capture's wake-up descriptor";
        Close();
        return false;
    }
    sink_ = std::move(sink);
    worker_ = std::thread([this] { Run(); });
    return true;
}

void X11RawCapture::Stop() {
    if (worker_.joinable()) {
        const uint64_t one = 1;
        // The descriptor's counter cannot overflow from one write: the write always succeeds.
        static_cast<void>(write(wake_fd_, &one, sizeof one));
        worker_.join();
    }
    sink_ = nullptr;
    Close();
}

void X11RawCapture::Close() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    if (wake_fd_ >= 0) {
        close(wake_fd_);
        wake_fd_ = -1;
    }
}

void X11RawCapture::Run() {
    const int x_fd = ConnectionNumber(display_);
    for (;;) {
        // Everything the connection holds first: poll() only sees what Xlib has not read yet.
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != xi_opcode_ ||
                !XGetEventData(display_, cookie)) {
                continue;
            }
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            CapturedEvent taken;
            bool wanted = true;
            switch (cookie->evtype) {
                case XI_RawKeyPress:
                case XI_RawKeyRelease:
                    taken.kind = CapturedEvent::Kind::kKey;
                    taken.press = cookie->evtype == XI_RawKeyPress;
                    wanted = raw->detail >= kKeycodeOffset;
                    taken.key_code = static_cast<uint16_t>(raw->detail - kKeycodeOffset);
                    taken.repeat = (raw->flags & kKeyRepeatFlag) != 0;
                    break;
                case XI_RawButtonPress:
                case XI_RawButtonRelease:
                    taken.kind = CapturedEvent::Kind::kButton;
                    taken.press = cookie->evtype == XI_RawButtonPress;
                    wanted = ButtonOfX(raw->detail, taken.button);
                    break;
                default:
                    wanted = false;
                    break;
            }
            XFreeEventData(display_, cookie);
            if (wanted) {
                taken.time_ms = time_();
                sink_(taken);
            }
        }
        std::array<pollfd, 2> fds{{{x_fd, POLLIN, 0}, {wake_fd_, POLLIN, 0}}};
        if (poll(fds.data(), fds.size(), -1) < 0) {
            continue;  // a signal: look again
        }
        if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return;
        }
    }
}

}  // namespace velq
