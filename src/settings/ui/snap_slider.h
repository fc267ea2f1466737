#pragma once

#include <QObject>

#include <functional>

class QSlider;

namespace velq::ui {

// A slider that rests only on its positions: its values are 0, 100, .. (positions - 1) x 100.
// While it is dragged `dragged` gets the position under the thumb; where the pointer lets go,
// `snap` turns the pixel into a value, the slider rests there and `released` gets the position.
// The wheel and the keys are left out: they would move the slider with no release to settle it.
class SnapSlider final : public QObject {
    Q_OBJECT

public:
    using Snap = std::function<int(int x)>;
    using Moved = std::function<void(int position)>;
    SnapSlider(QSlider& slider, int positions, Snap snap, Moved dragged, Moved released);

    // The DPI sliders (levels and aim key): the first `dpi_count` entries of the DPI value list.
    static SnapSlider* ForDpi(QSlider& slider, int dpi_count, Moved dragged, Moved released);

    // Puts the thumb on a position without telling anyone.
    void Show(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSlider& slider_;
    Snap snap_;
    Moved released_;
    bool showing_ = false;
};

}  // namespace velq::ui
