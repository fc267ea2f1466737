#include "shell/ui/widget_step.h"

#include <QWidget>

#include <algorithm>

#include "shell/ui/main_window_detail.h"

namespace velq::ui {

bool RunWidgetStep(QWidget& widget, const LayoutOp& op) {
    switch (op.kind) {
        case LayoutOpKind::kMove:
            widget.move(op.x, op.y);
            return true;
        case LayoutOpKind::kSetWidth:
            widget.resize(op.value, widget.height());
            return true;
        case LayoutOpKind::kSetHeight:
            widget.resize(widget.width(), op.value);
            return true;
        case LayoutOpKind::kFontSize: {
            // Only the size is set here; the family comes from the window (the caption font).
            QFont font;
            font.setPointSize(std::max(1, op.value));
            widget.setFont(font);
            return true;
        }
        case LayoutOpKind::kFontColor: {
            QPalette palette = widget.palette();
            const QColor colour = detail::ColourOf(static_cast<uint32_t>(op.value));
            for (QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
                palette.setColor(role, colour);
            }
            widget.setPalette(palette);
            return true;
        }
        case LayoutOpKind::kBackColor: {
            QPalette palette = widget.palette();
            const QColor colour = detail::ColourOf(static_cast<uint32_t>(op.value));
            palette.setColor(QPalette::Window, colour);
            palette.setColor(QPalette::Base, colour);
            widget.setPalette(palette);
            widget.setAutoFillBackground(true);
            return true;
        }
        case LayoutOpKind::kBorderColor:
            widget.setProperty("borderColor", detail::ColourOf(static_cast<uint32_t>(op.value)));
            return true;
        case LayoutOpKind::kShow:
        case LayoutOpKind::kHide:
        case LayoutOpKind::kPicture:
        case LayoutOpKind::kSliderThumb:
        case LayoutOpKind::kSliderTrack:
        case LayoutOpKind::kFitToPicture:
        case LayoutOpKind::kMoveInRow:
            return false;
    }
    return false;
}

}  // namespace velq::ui
