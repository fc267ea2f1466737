#pragma once

#include <QLabel>

namespace velq::ui {

// A transparent caption label that lies over its picture and reports the pointer entering and
// leaving it, presses and clicks, so the window can swap the picture underneath. Used for
// buttons, option captions and plain captions alike.
class SkinLabel : public QLabel {
    Q_OBJECT

public:
    explicit SkinLabel(QWidget* parent = nullptr);

signals:
    void entered();
    void left();
    void pressed();
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool press_inside_ = false;
};

}  // namespace velq::ui
