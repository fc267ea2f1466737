#pragma once

#include <QRegion>
#include <QWidget>

#include <vector>

#include "shell/ui/picture_source.h"

class QLabel;
class QPushButton;
class QTimer;

namespace velq::ui {

// The small window shown while the mouse is being talked to: frameless, above the other
// windows, its black pixels see-through (by a window shape too, for an X server without a
// compositor, where a translucent window's clear pixels come out black), the waiting animation
// stretched over it, and a small Cancel button at its foot that asks for the transfer to stop.
class LoadingWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 206;
    static constexpr int kHeight = 196;
    static constexpr int kCancelWidth = 96;
    static constexpr int kCancelHeight = 20;

    explicit LoadingWindow(std::vector<AnimationFrame> frames, QWidget* parent = nullptr);

    // Centres the window over `owner`, `drop` pixels lower than centred (40 at creation, 0 for
    // every later use).
    void CentreOver(const QWidget& owner, int drop);
    void StartAnimation();
    void StopAnimation();
    int frame_index() const { return frame_; }
    size_t frame_count() const { return frames_.size(); }
    // The Cancel button's caption, in the caption font of the window's language.
    void SetCancelCaption(const QString& text, const QStringList& font_families);

signals:
    // The user pressed Cancel; the button stays disabled until the window is shown again.
    void cancelRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowFrame(size_t index);

    std::vector<AnimationFrame> frames_;
    // Each frame's shape: its visible pixels and the Cancel button.
    std::vector<QRegion> shapes_;
    QLabel* picture_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
    int frame_ = 0;
};

// The frame with its black pixels made transparent and stretched to the window's size.
QImage LoadingFrameImage(const QImage& frame);

}  // namespace velq::ui
