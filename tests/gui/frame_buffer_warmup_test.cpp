#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QtTest/QTest>

#include "gui/gui_test_rig.h"
#include "shell/ui/frame_buffer_warmup.h"

namespace velq::ui::testing {
namespace {

// A window that paints itself in one colour, every pixel, like the main window's pages do.
class SolidWindow : public QWidget {
public:
    explicit SolidWindow(QColor colour) : colour_(colour) {
        setAttribute(Qt::WA_OpaquePaintEvent, true);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

private:
    QColor colour_;
};

// What the window's frame buffer holds (the offscreen platform reads it back).
QImage FrameBuffer(QWidget& window) {
    return window.screen()->grabWindow(window.winId()).toImage();
}

bool AllPixels(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

std::size_t PagesOf(std::size_t bytes) {
    return (bytes + 4095) / 4096;
}

// The worker goes through the whole frame buffer of a window not yet shown, one write a page;
// the first paint then covers what it wrote.
TEST(FrameBufferWarmUp, WritesEveryPageBeforeTheFirstPaintCoversThem) {
    EnsureApplication();
    const QColor colour(40, 90, 160);
    SolidWindow window(colour);
    window.resize(301, 203);  // rows not a whole number of pages
    FrameBufferWarmUp warm_up(window);
    ASSERT_TRUE(warm_up.started());
    EXPECT_GE(warm_up.bytes(), std::size_t{301} * 203 * 4);
    warm_up.WaitUntilDone();
    EXPECT_EQ(warm_up.pages_written(), PagesOf(warm_up.bytes()));
    warm_up.Finish();

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    const QImage frame = FrameBuffer(window);
    ASSERT_EQ(frame.size(), QSize(301, 203));
    EXPECT_TRUE(AllPixels(frame, colour));
}

// Finish() stops the worker where it is: nothing is written after it returns.
TEST(FrameBufferWarmUp, FinishStopsTheWorker) {
    EnsureApplication();
    SolidWindow window(Qt::black);
    window.resize(2000, 1500);
    FrameBufferWarmUp warm_up(window);
    ASSERT_TRUE(warm_up.started());
    warm_up.Finish();
    const std::size_t written = warm_up.pages_written();
    EXPECT_LE(written, PagesOf(warm_up.bytes()));
    warm_up.Finish();  // a second call is harmless
    warm_up.WaitUntilDone();
    EXPECT_EQ(warm_up.pages_written(), written);
}

// A window on screen shows its buffer: it is left alone.
TEST(FrameBufferWarmUp, LeavesAShownWindowAlone) {
    EnsureApplication();
    const QColor colour(200, 120, 30);
    SolidWindow window(colour);
    window.resize(120, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();

    FrameBufferWarmUp warm_up(window);
    EXPECT_FALSE(warm_up.started());
    warm_up.WaitUntilDone();
    EXPECT_EQ(warm_up.pages_written(), 0u);
    EXPECT_TRUE(AllPixels(FrameBuffer(window), colour));
}

// The main window's first frame, whose buffer was prepared during start-up, is what its
// controls paint: inside its outline the buffer read back equals the window rendered afresh.
TEST(FrameBufferWarmUp, MainWindowFirstFrameIsWhatItsControlsPaint) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.window.get()));
    QApplication::processEvents();
    const QImage frame = FrameBuffer(*rig.window).convertToFormat(QImage::Format_RGB32);
    const QImage rendered = rig.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(frame.size(), rendered.size());
    // Outside the window's outline nothing is painted (nor shown).
    const QRegion outline = rig.window->mask();
    ASSERT_FALSE(outline.isEmpty());
    int differing = 0;
    for (const QRect& run : outline) {
        for (int y = run.top(); y <= run.bottom(); ++y) {
            for (int x = run.left(); x <= run.right(); ++x) {
                differing += frame.pixel(x, y) != rendered.pixel(x, y) ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace velq::ui::testing
