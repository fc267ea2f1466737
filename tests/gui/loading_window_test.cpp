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

}  // namespace
}  // namespace velq::ui
