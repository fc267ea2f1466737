#include "shell/ui/skin_slider.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace velq::ui {

SkinSlider::SkinSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    resize(200, 25);
}

void SkinSlider::SetThumb(const QImage& thumb) {
    thumb_ = thumb;
    update();
}

void SkinSlider::SetTrack(const QImage& track) {
    track_ = track;
    update();
}

void SkinSlider::SetThumbCentre(std::function<int(int value)> centre) {
    thumb_centre_ = std::move(centre);
    update();
}

QRect SkinSlider::ThumbRect() const {
    int x = 0;
    if (thumb_centre_) {
        // The end positions' middles lie closer to the edge than half a thumb; the thumb stays
        // whole there, still over the pixels that snap to its position.
        x = std::clamp(thumb_centre_(sliderPosition()) - thumb_.width() / 2, 0,
                       std::max(0, width() - thumb_.width()));
    } else {
        const int span = std::max(0, width() - thumb_.width());
        x = QStyle::sliderPositionFromValue(minimum(), maximum(), sliderPosition(), span,
                                            invertedAppearance());
    }
    return {QPoint(x, (height() - thumb_.height()) / 2), thumb_.size()};
}

void SkinSlider::paintEvent(QPaintEvent* event) {
    if (!skinned()) {
        QSlider::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (autoFillBackground()) {
        painter.fillRect(rect(), palette().window());
    }
    const int track_height = std::min(track_.height(), height());
    painter.drawImage(QRect(0, (height() - track_height) / 2, width(), track_height), track_);
    painter.drawImage(ThumbRect().topLeft(), thumb_);
}

}  // namespace velq::ui
