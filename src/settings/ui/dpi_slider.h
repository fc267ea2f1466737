#pragma once

#include <QObject>

#include <functional>

class QSlider;

namespace velq::ui {

// Makes a slider one of the DPI sliders: its range covers the first `dpi_count` entries of the
// DPI value list (value = entry x 100). While it is dragged `dragged` gets the entry under the
// thumb; where the pointer lets go, the slider snaps to an entry and `released` gets it. The
// wheel and the keys are left out: they would move the slider between entries with no release
// to settle the value.
class DpiSlider final : public QObject {
    Q_OBJECT

public:
    DpiSlider(QSlider& slider, int dpi_count, std::function<void(int entry)> dragged,
              std::function<void(int entry)> released);

    // Puts the thumb on an entry without telling anyone.
    void Show(int entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSlider& slider_;
    int dpi_count_;
    std::function<void(int)> released_;
    bool showing_ = false;
};

}  // namespace velq::ui
