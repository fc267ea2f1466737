#include "shell/ui/skin_group.h"

#include <QPainter>

namespace velq::ui {

SkinGroup::SkinGroup(QWidget* parent) : QGroupBox(parent) {
    setFlat(true);
}

void SkinGroup::paintEvent(QPaintEvent* /*event*/) {
    if (title().isEmpty()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
}

}  // namespace velq::ui
