#include "settings/ui/snap_slider.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSlider>

#include <algorithm>

#include "settings/slider_snap.h"

namespace velq::ui {

SnapSlider::SnapSlider(QSlider& slider, int positions, Snap snap, Moved dragged, Moved released)
    : QObject(&slider), slider_(slider), snap_(std::move(snap)), released_(std::move(released)) {
    slider_.setRange(0, (std::max(positions, 1) - 1) * 100);
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

SnapSlider* SnapSlider::ForDpi(QSlider& slider, int dpi_count, Moved dragged, Moved released) {
    const int count = std::max(dpi_count, 1);
    return new SnapSlider(
        slider, count, [count](int x) { return DpiSliderSnap(x, count); }, std::move(dragged),
        std::move(released));
}

void SnapSlider::Show(int position) {
    showing_ = true;
    slider_.setValue(position * 100);
    showing_ = false;
}

bool SnapSlider::eventFilter(QObject* watched, QEvent* event) {
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
            const int position = snap_(static_cast<int>(mouse->position().x())) / 100;
            Show(position);
            if (released_) {
                released_(position);
            }
            return true;
        }
    }
    return false;
}

}  // namespace velq::ui
