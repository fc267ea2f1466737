#include "shell/layout_ops.h"

namespace velq {
namespace {

std::string Pair(int a, int b) {
    return "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
}

}  // namespace

std::string DescribeLayoutOp(const LayoutOp& op) {
    const std::string& c = op.control;
    switch (op.kind) {
        case LayoutOpKind::kMove:
            return "Move " + c + " " + Pair(op.x, op.y);
        case LayoutOpKind::kSetWidth:
            return "Width " + c + " " + std::to_string(op.value);
        case LayoutOpKind::kSetHeight:
            return "Height " + c + " " + std::to_string(op.value);
        case LayoutOpKind::kShow:
            return "Show " + c;
        case LayoutOpKind::kHide:
            return "Hide " + c;
        case LayoutOpKind::kFontSize:
            return "FontSize " + c + " " + std::to_string(op.value);
        case LayoutOpKind::kFontColor:
            return "FontColor " + c + " " + std::to_string(op.value);
        case LayoutOpKind::kBackColor:
            return "BackColor " + c + " " + std::to_string(op.value);
        case LayoutOpKind::kBorderColor:
            return "BorderColor " + c + " " + std::to_string(op.value);
        case LayoutOpKind::kPicture:
            return "Picture " + c + " " + op.text;
        case LayoutOpKind::kSliderThumb:
            return "SliderThumb " + c + " " + op.text;
        case LayoutOpKind::kSliderTrack:
            return "SliderTrack " + c + " " + op.text;
        case LayoutOpKind::kFitToPicture:
            return "Fit " + c + " to " + op.reference + " offset " + Pair(op.x, op.y) + " grow " +
                   Pair(op.value, op.extra);
        case LayoutOpKind::kMoveInRow:
            return "Row " + c + " " + Pair(op.x, op.y) + " cell " + std::to_string(op.value) +
                   " of " + op.reference + " gap " + std::to_string(op.extra);
    }
    return "? " + c;
}

}  // namespace velq
