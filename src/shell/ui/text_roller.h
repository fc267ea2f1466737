#pragma once

#include <QString>

namespace velq::ui {

// The scrolling caption of the label under the pointer: each tick moves the first character to
// the end, with four blanks between the end of the text and its start on the first pass, so the
// caption runs like a ticker. The step counter wraps from 20 back to 2, so the blanks are put in
// only once per hover.
class TextRoller {
public:
    // Starts over with `caption` (the label's caption when the pointer entered it).
    void Start(const QString& caption);
    // One tick: the text to show now.
    QString Tick();

    const QString& saved() const { return saved_; }
    int step() const { return step_; }

private:
    QString saved_;
    QString text_;
    int step_ = 0;
};

}  // namespace velq::ui
