#include "capture/ui/in_window_capture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <utility>

namespace velq::ui {

namespace {

// The platforms that give the physical key (xcb, Wayland) give its X keycode, the kernel's key
// code + 8.
constexpr quint32 kKeycodeOffset = 8;

bool ButtonOfQt(Qt::MouseButton qt, CapturedButton& button) {
    switch (qt) {
        case Qt::LeftButton:
            button = CapturedButton::kLeft;
            return true;
        case Qt::RightButton:
            button = CapturedButton::kRight;
            return true;
        case Qt::MiddleButton:
            button = CapturedButton::kMiddle;
            return true;
        case Qt::BackButton:
            button = CapturedButton::kBackward;
            return true;
        case Qt::ForwardButton:
            button = CapturedButton::kForward;
            return true;
        default:
            return false;
    }
}

}  // namespace

InWindowCapture::InWindowCapture(CaptureTime time) : time_(std::move(time)) {}

InWindowCapture::~InWindowCapture() {
    Stop();
}

bool InWindowCapture::Start(Sink sink, std::string& error) {
    Stop();
    if (QCoreApplication::instance() == nullptr) {
        error = "No application to watch";
        return false;
    }
    sink_ = std::move(sink);
    QCoreApplication::instance()->installEventFilter(this);
    started_ = true;
    return true;
}

void InWindowCapture::Stop() {
    if (started_ && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    started_ = false;
    sink_ = nullptr;
}

bool InWindowCapture::eventFilter(QObject* watched, QEvent* event) {
    // Input reaches the window first, then the widget it is for, then that widget's parents:
    // taken once, at the window.
    if (!started_ || !sink_ || qobject_cast<QWindow*>(watched) == nullptr) {
        return false;
    }
    CapturedEvent taken;
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->nativeScanCode() < kKeycodeOffset) {
                return false;  // a key the platform does not place
            }
            taken.kind = CapturedEvent::Kind::kKey;
            taken.press = event->type() == QEvent::KeyPress;
            taken.key_code = static_cast<uint16_t>(key->nativeScanCode() - kKeycodeOffset);
            taken.repeat = key->isAutoRepeat();
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!ButtonOfQt(mouse->button(), taken.button)) {
                return false;
            }
            taken.kind = CapturedEvent::Kind::kButton;
            taken.press = event->type() != QEvent::MouseButtonRelease;
            break;
        }
        default:
            return false;
    }
    taken.time_ms = time_();
    sink_(taken);
    return false;
}

}  // namespace velq::ui
