#pragma once

#include <QImage>
#include <QSlider>

namespace velq::ui {

// A horizontal slider drawn with the skin's track and thumb pictures once the layout gives
// them; before that it looks like any slider.
class SkinSlider : public QSlider {
    Q_OBJECT

public:
    explicit SkinSlider(QWidget* parent = nullptr);
    void SetThumb(const QImage& thumb);
    void SetTrack(const QImage& track);
    bool skinned() const { return !thumb_.isNull() && !track_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage thumb_;
    QImage track_;
};

}  // namespace velq::ui
