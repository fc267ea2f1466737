#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "gui_test_rig.h"
#include "shell/ui/loading_window.h"

namespace velq::ui {
namespace {

TEST(LoadingWindowTest, BlackIsSeeThroughAndFramesAreStretched) {
    testing::EnsureApplication();
    QImage frame(2, 1, QImage::Format_RGB32);
    frame.setPixel(0, 0, qRgb(0, 0, 0));
    frame.setPixel(1, 0, qRgb(200, 10, 10));
    const QImage shown = LoadingFrameImage(frame);
    EXPECT_EQ(shown.size(), QSize(LoadingWindow::kWidth, LoadingWindow::kHeight));
    EXPECT_EQ(qAlpha(shown.pixel(5, 100)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(200, 100)), 255);
    EXPECT_TRUE(LoadingFrameImage(QImage()).isNull());
}

// A frame of a GIF's few colours is kept with a colour table, every pixel as it was; one of
// more colours than a table holds keeps its 32-bit pixels.
TEST(LoadingWindowTest, FewColoursAreKeptWithAColourTable) {
    testing::EnsureApplication();
    for (const int colours : {3, 256, 257}) {
        // Of the window's size, so that stretching keeps every pixel.
        QImage frame(LoadingWindow::kWidth, LoadingWindow::kHeight, QImage::Format_ARGB32);
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                const int colour = (y * frame.width() + x) % colours;
                frame.setPixel(x, y, qRgb(colour % 256, colour / 256 + 1, 7));
            }
        }
        const QImage shown = LoadingFrameImage(frame);
        EXPECT_EQ(shown.format(), colours <= 256 ? QImage::Format_Indexed8 : QImage::Format_ARGB32)
            << colours;
        EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32), frame) << colours;
    }
}

TEST(LoadingWindowTest, FramelessTopmostCentredLowerAndAnimating) {
    testing::WindowRig rig;
    rig.Start();
    rig.window->move(100, 50);
    LoadingWindow loading(rig.pictures.WaitAnimation());
    EXPECT_EQ(loading.size(), QSize(206, 196));
    EXPECT_TRUE(loading.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(loading.windowFlags() & Qt::WindowStaysOnTopHint);
    loading.CentreOver(*rig.window, 40);
    const QRect owner = rig.window->frameGeometry();
    EXPECT_EQ(loading.x(), owner.x() + (owner.width() - 206) / 2);
    EXPECT_EQ(loading.y(), owner.y() + (owner.height() - 196) / 2 + 40);
    ASSERT_GT(loading.frame_count(), 1u);
    loading.StartAnimation();
    const int first = loading.frame_index();
    QTest::qWait(250);
    EXPECT_NE(loading.frame_index(), first);
    loading.StopAnimation();
}

// The window is shaped to what it shows, each frame's visible pixels and the Cancel button, so
// that an X server without a compositor does not show the see-through pixels black.
TEST(LoadingWindowTest, ShapedToTheFrameAndTheCancelButton) {
    testing::EnsureApplication();
    // Two frames: the left half lit, then the right half.
    std::vector<AnimationFrame> frames(2);
    for (int f = 0; f < 2; ++f) {
        QImage image(2, 1, QImage::Format_RGB32);
        image.setPixel(f, 0, qRgb(200, 10, 10));
        image.setPixel(1 - f, 0, qRgb(0, 0, 0));
        frames[static_cast<size_t>(f)] = {image, 100};
    }
    LoadingWindow loading(std::move(frames));
    const auto* cancel = loading.findChild<QPushButton*>(QStringLiteral("Btn_CancelTransfer"));
    ASSERT_NE(cancel, nullptr);
    const QPoint left(20, 40);
    const QPoint right(LoadingWindow::kWidth - 20, 40);
    ASSERT_FALSE(loading.mask().isEmpty());
    EXPECT_TRUE(loading.mask().contains(left));
    EXPECT_FALSE(loading.mask().contains(right));
    EXPECT_TRUE(loading.mask().contains(cancel->geometry()));
    loading.StartAnimation();
    EXPECT_TRUE(QTest::qWaitFor([&loading] { return loading.frame_index() == 1; }));
    loading.StopAnimation();
    EXPECT_FALSE(loading.mask().contains(left));
    EXPECT_TRUE(loading.mask().contains(right));
    EXPECT_TRUE(loading.mask().contains(cancel->geometry()));

    LoadingWindow without_frames({});
    EXPECT_EQ(without_frames.mask(), QRegion(cancel->geometry()));
}

// Cancel asks once: the button stays disabled until the window is shown for the next transfer.
TEST(LoadingWindowTest, CancelAsksOnceUntilShownAgain) {
    testing::WindowRig rig;
    rig.Start();
    LoadingWindow loading(rig.pictures.WaitAnimation());
    loading.SetCancelCaption(QStringLiteral("Cancelar"), {});
    auto* cancel = loading.findChild<QPushButton*>(QStringLiteral("Btn_CancelTransfer"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancelar"));
    EXPECT_TRUE(loading.rect().contains(cancel->geometry()));
    QSignalSpy asked(&loading, &LoadingWindow::cancelRequested);
    loading.show();
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(asked.count(), 1);
    EXPECT_FALSE(cancel->isEnabled());
    loading.hide();
    loading.show();
    EXPECT_TRUE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(asked.count(), 2);
}

}  // namespace
}  // namespace velq::ui
