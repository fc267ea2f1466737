#include "shell/ui/loading_window.h"

#include <QBitmap>
#include <QHash>
#include <QLabel>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace velq::ui {

namespace {

// A small push button drawn as light text on a dark, half see-through plate. Painted here
// rather than through a style sheet, whose machinery would cost the program more memory than
// the whole loading animation.
class PlateButton final : public QPushButton {
public:
    PlateButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
        setAttribute(Qt::WA_Hover, true);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        const QColor plate = isDown()       ? QColor(12, 12, 12, 230)
                             : underMouse() ? QColor(56, 56, 56, 210)
                                            : QColor(24, 24, 24, 190);
        painter.setPen(QColor(255, 255, 255, 90));
        painter.setBrush(plate);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter.setPen(isEnabled() ? QColor(232, 232, 232) : QColor(232, 232, 232, 110));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

}  // namespace

namespace {

// The same pixels with a colour table, when they have at most 256 colours (a GIF's frame
// does): a quarter of the memory of 32-bit pixels. Null when they have more.
QImage WithColourTable(const QImage& argb) {
    QList<QRgb> table;
    QHash<QRgb, uchar> index;
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            auto found = index.constFind(in[x]);
            if (found == index.cend()) {
                if (table.size() == 256) {
                    return {};
                }
                found = index.insert(in[x], static_cast<uchar>(table.size()));
                table.push_back(in[x]);
            }
            out[x] = *found;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

}  // namespace

QImage LoadingFrameImage(const QImage& frame) {
    if (frame.isNull()) {
        return {};
    }
    QImage image = frame.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0x00FFFFFFu) == 0) {
                row[x] = 0;
            }
        }
    }
    // Stretched by repeating pixels, the frame keeps the few colours of its GIF, and the twelve
    // frames of the animation are kept with a colour table instead of 32 bits a pixel.
    QImage stretched = image.scaled(LoadingWindow::kWidth, LoadingWindow::kHeight,
                                    Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage indexed = WithColourTable(stretched);
    return indexed.isNull() ? stretched : indexed;
}

namespace {

QRect CancelBox() {
    return {(LoadingWindow::kWidth - LoadingWindow::kCancelWidth) / 2,
            LoadingWindow::kHeight - LoadingWindow::kCancelHeight - 2, LoadingWindow::kCancelWidth,
            LoadingWindow::kCancelHeight};
}

// The pixels of a frame that are not fully see-through, with the Cancel button. Without a
// compositor a translucent window's clear pixels are black: the window is shaped to these, which
// changes nothing where a compositor blends them.
QRegion FrameShape(const QImage& image) {
    QRegion shape(CancelBox());
    if (!image.isNull()) {
        const QImage alpha = image.createAlphaMask(Qt::ThresholdAlphaDither);
        if (!alpha.isNull()) {
            shape += QRegion(QBitmap::fromImage(alpha));
        }
    }
    return shape;
}

}  // namespace

LoadingWindow::LoadingWindow(std::vector<AnimationFrame> frames, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      frames_(std::move(frames)) {
    setObjectName(QStringLiteral("FormLoadingUI"));
    setAttribute(Qt::WA_TranslucentBackground, true);
    setFixedSize(kWidth, kHeight);
    // The frames are converted once: a frame is drawn every few dozen milliseconds.
    for (AnimationFrame& frame : frames_) {
        frame.image = LoadingFrameImage(frame.image);
        shapes_.push_back(FrameShape(frame.image));
    }
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("WaitGif"));
    picture_->setGeometry(0, 0, kWidth, kHeight);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (frames_.empty()) {
            return;
        }
        ShowFrame((static_cast<size_t>(frame_) + 1) % frames_.size());
    });
    ShowFrame(0);
    if (frames_.empty()) {
        setMask(FrameShape({}));
    }

    // Plain and small under the animation: light text on a dark, half see-through plate, as
    // sober as the animation above it.
    cancel_ = new PlateButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Btn_CancelTransfer"));
    cancel_->setCursor(Qt::PointingHandCursor);
    cancel_->setFocusPolicy(Qt::NoFocus);
    cancel_->setGeometry(CancelBox());
    connect(cancel_, &QPushButton::clicked, this, [this] {
        // Once: the transfer stops at its next chunk, which may take a moment.
        cancel_->setEnabled(false);
        emit cancelRequested();
    });
}

void LoadingWindow::SetCancelCaption(const QString& text, const QStringList& font_families) {
    cancel_->setText(text);
    if (!font_families.isEmpty()) {
        QFont font = cancel_->font();
        font.setFamilies(font_families);
        cancel_->setFont(font);
    }
}

void LoadingWindow::showEvent(QShowEvent* event) {
    cancel_->setEnabled(true);
    QWidget::showEvent(event);
}

void LoadingWindow::ShowFrame(size_t index) {
    if (index >= frames_.size()) {
        return;
    }
    frame_ = static_cast<int>(index);
    picture_->setPixmap(QPixmap::fromImage(frames_[index].image));
    setMask(shapes_[index]);
    // A frame delay of 0 would spin the event loop; GIF viewers treat it as 100 ms.
    timer_->setInterval(frames_[index].delay_ms > 0 ? frames_[index].delay_ms : 100);
}

void LoadingWindow::CentreOver(const QWidget& owner, int drop) {
    const QRect frame = owner.frameGeometry();
    move(frame.x() + (frame.width() - kWidth) / 2,
         frame.y() + (frame.height() - kHeight) / 2 + drop);
}

void LoadingWindow::StartAnimation() {
    if (frames_.size() > 1) {
        timer_->start();
    }
}

void LoadingWindow::StopAnimation() {
    timer_->stop();
}

}  // namespace velq::ui
