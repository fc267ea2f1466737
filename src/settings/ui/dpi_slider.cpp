#include "settings/ui/dpi_slider.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSlider>

#include <algorithm>

#include "settings/slider_snap.h"

namespace velq::ui {

DpiSlider::DpiSlider(QSlider& slider, int dpi_count, std::function<void(int)> dragged,
                     std::function<void(int)> released)
    : QObject(&slider),
      slider_(slider),
      dpi_count_(std::max(dpi_count, 1)),
      released_(std::move(released)) {
    slider_.setRange(0, (dpi_count_ - 1) * 100);
    slider_.setSingleStep(100);
    slider_.setPageStep(100);
    slider_.setFocusPolicy(Qt::NoFocus);
    slider_.installEventFilter(this);
    connect(&slider_, &QSlider::valueChanged, this, [this, dragged = std::move(dragged)](int v) {
        if (!showing_ && dragged) {
            dragged(v / 100);
        }
    });
}

void DpiSlider::Show(int entry) {
    showing_ = true;
    slider_.setValue(entry * 100);
    showing_ = false;
}

bool DpiSlider::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &slider_) {
        return false;
    }
    if (event->type() == QEvent::Wheel || event->type() == QEvent::KeyPress) {
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            // Let the slider end its drag first, then settle where the pointer let go.
            slider_.removeEventFilter(this);
            QCoreApplication::sendEvent(&slider_, event);
            slider_.installEventFilter(this);
            const int entry =
                DpiSliderSnap(static_cast<int>(mouse->position().x()), dpi_count_) / 100;
            Show(entry);
            if (released_) {
                released_(entry);
            }
            return true;
        }
    }
    return false;
}

}  // namespace velq::ui
