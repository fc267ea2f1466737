#include "settings/ui/snap_slider.h"

#include <QMouseEvent>
#include <QSlider>

#include <algorithm>

#include "shell/ui/skin_slider.h"

namespace velq::ui {

SnapSlider::SnapSlider(QSlider& slider, const SliderTrack& track, Snap snap, Moved dragged,
                       Moved released)
    : QObject(&slider),
      slider_(slider),
      track_(track),
      snap_(std::move(snap)),
      released_(std::move(released)) {
    track_.positions = std::max(track_.positions, 1);
    slider_.setRange(0, (track_.positions - 1) * 100);
    slider_.setSingleStep(100);
    slider_.setPageStep(100);
    slider_.setFocusPolicy(Qt::NoFocus);
    slider_.resize(track_.width, slider_.height());
    if (auto* skin = qobject_cast<SkinSlider*>(&slider_)) {
        skin->SetThumbCentre(
            [track = track_](int value) { return ThumbCentre(track, value / 100); });
    }
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
        slider, DpiSliderTrack(count), [count](int x) { return DpiSliderSnap(x, count); },
        std::move(dragged), std::move(released));
}

void SnapSlider::Show(int position) {
    showing_ = true;
    slider_.setValue(position * 100);
    showing_ = false;
}

int SnapSlider::PositionAt(int x) const {
    return std::clamp(snap_(x) / 100, 0, track_.positions - 1);
}

bool SnapSlider::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &slider_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Wheel:
        case QEvent::KeyPress:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            break;
        default:
            return false;
    }
    // The slider's own handling would place values where the style puts them, not where the
    // snap rule does; so the pointer is handled here entirely.
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int position = PositionAt(static_cast<int>(mouse->position().x()));
    if (event->type() == QEvent::MouseMove) {
        if (pressed_ && (mouse->buttons() & Qt::LeftButton) != 0) {
            slider_.setValue(position * 100);
        }
        return true;
    }
    if (mouse->button() != Qt::LeftButton || !slider_.isEnabled()) {
        return true;
    }
    if (event->type() != QEvent::MouseButtonRelease) {
        pressed_ = true;
        slider_.setValue(position * 100);
        return true;
    }
    if (!pressed_) {
        return true;
    }
    pressed_ = false;
    Show(position);
    if (released_) {
        released_(position);
    }
    return true;
}

}  // namespace velq::ui
