#pragma once

#include <QImage>
#include <QSlider>

#include <functional>

namespace velq::ui {

// A horizontal slider drawn with the skin's track and thumb pictures once the layout gives
// them; before that it looks like any slider.
class SkinSlider : public QSlider {
    Q_OBJECT

public:
    explicit SkinSlider(QWidget* parent = nullptr);
    void SetThumb(const QImage& thumb);
    void SetTrack(const QImage& track);
    // Where the thumb of a value is drawn, as the pixel under its middle; without it the thumb
    // goes where the style places the value.
    void SetThumbCentre(std::function<int(int value)> centre);
    // Where the thumb is drawn (once skinned).
    QRect ThumbRect() const;
    bool skinned() const { return !thumb_.isNull() && !track_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage thumb_;
    QImage track_;
    std::function<int(int value)> thumb_centre_;
};

}  // namespace velq::ui
