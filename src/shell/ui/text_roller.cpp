#include "shell/ui/text_roller.h"

namespace velq::ui {

void TextRoller::Start(const QString& caption) {
    saved_ = caption;
    text_ = caption;
    step_ = 0;
}

QString TextRoller::Tick() {
    ++step_;
    if (step_ > 20) {
        step_ = 2;
    }
    if (text_.isEmpty()) {
        return text_;
    }
    // Move one whole character: a surrogate pair travels as one.
    qsizetype first = 1;
    if (text_.size() > 1 && text_.at(0).isHighSurrogate() && text_.at(1).isLowSurrogate()) {
        first = 2;
    }
    const QString head = text_.left(first);
    const QString rest = text_.mid(first);
    text_ = step_ == 1 ? rest + QStringLiteral("    ") + head : rest + head;
    return text_;
}

}  // namespace velq::ui
