#include "buttons/ui/picture_buttons.h"

#include <QPainter>

#include <algorithm>

namespace velq::ui {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, true);
}

void PictureButton::SetPictures(NamedPicture normal, NamedPicture hover, NamedPicture pressed) {
    normal_ = std::move(normal);
    hover_ = std::move(hover);
    pressed_ = std::move(pressed);
    resize(normal_.pixmap.size());
    update();
}

const QString& PictureButton::ShownPicture() const {
    if (isDown()) {
        return pressed_.name;
    }
    return pointer_over_ ? hover_.name : normal_.name;
}

QSize PictureButton::sizeHint() const {
    return normal_.pixmap.size();
}

void PictureButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const NamedPicture& shown = isDown() ? pressed_ : (pointer_over_ ? hover_ : normal_);
    painter.drawPixmap(0, 0, shown.pixmap);
    if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    pointer_over_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    pointer_over_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

PictureCheckBox::PictureCheckBox(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void PictureCheckBox::SetPictures(NamedPicture clear, NamedPicture ticked) {
    clear_ = std::move(clear);
    ticked_ = std::move(ticked);
    resize(sizeHint());
    update();
}

const QString& PictureCheckBox::ShownPicture() const {
    return isChecked() ? ticked_.name : clear_.name;
}

QSize PictureCheckBox::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const QSize box = clear_.pixmap.size();
    return {box.width() + kGap + metrics.horizontalAdvance(text()) + 1,
            std::max(box.height(), metrics.height())};
}

void PictureCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QPixmap& box = isChecked() ? ticked_.pixmap : clear_.pixmap;
    painter.drawPixmap(0, (height() - box.height()) / 2, box);
    painter.setPen(palette().color(QPalette::WindowText));
    const int left = box.width() + kGap;
    painter.drawText(QRect(left, 0, width() - left, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
}

bool PictureCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

}  // namespace velq::ui
