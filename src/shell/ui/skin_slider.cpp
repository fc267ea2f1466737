#include "shell/ui/skin_slider.h"

#include <QPainter>
#include <QStyle>

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
    const int span = std::max(0, width() - thumb_.width());
    const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), sliderPosition(), span,
                                                  invertedAppearance());
    painter.drawImage(QPoint(x, (height() - thumb_.height()) / 2), thumb_);
}

}  // namespace velq::ui
