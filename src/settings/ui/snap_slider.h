#pragma once

#include <QObject>

#include <functional>

#include "settings/slider_snap.h"

class QSlider;

namespace velq::ui {

// A slider that rests only on its positions: its values are 0, 100, .. (positions - 1) x 100.
// It takes the width of its track, and its thumb is drawn in the middle of the interval that
// snaps to its position. The pointer moves it, by the snap rule, from the press on: while the
// button is held `dragged` gets the position under the pointer; where the pointer lets go,
// `snap` turns the pixel into a value, the slider rests there and `released` gets the position.
// The wheel and the keys are left out: they would move the slider with no release to settle it.
class SnapSlider final : public QObject {
    Q_OBJECT

public:
    using Snap = std::function<int(int x)>;
    using Moved = std::function<void(int position)>;
    SnapSlider(QSlider& slider, const SliderTrack& track, Snap snap, Moved dragged, Moved released);

    // The DPI sliders (levels and aim key): the first `dpi_count` entries of the DPI value list.
    static SnapSlider* ForDpi(QSlider& slider, int dpi_count, Moved dragged, Moved released);

    // Puts the thumb on a position without telling anyone.
    void Show(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int PositionAt(int x) const;

    QSlider& slider_;
    SliderTrack track_;
    Snap snap_;
    Moved released_;
    bool showing_ = false;
    bool pressed_ = false;
};

}  // namespace velq::ui
