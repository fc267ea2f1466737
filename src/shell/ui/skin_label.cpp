#include "shell/ui/skin_label.h"

#include <QMouseEvent>

namespace velq::ui {

SkinLabel::SkinLabel(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_Hover, true);
}

void SkinLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit entered();
}

void SkinLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit left();
}

void SkinLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        press_inside_ = true;
        emit pressed();
    }
    QLabel::mousePressEvent(event);
}

void SkinLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release on the label; a release after dragging off it is not.
    const bool click = press_inside_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    press_inside_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

}  // namespace velq::ui
