#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "shell/ui/file_dialogs.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/window_services.h"

#include "flows/ui/standard_pages.h"
#include "gui/gui_test_rig.h"
#include "shell/ui/main_window.h"
#include "shell/ui/skin_pictures.h"

namespace velq::ui::testing {
namespace {

// The window takes the outline of its background: the corners in the colour key are cut away,
// whatever pixel format the picture was decoded into.
TEST(WindowShape, CutsAwayExactlyTheColourKey) {
    EnsureApplication();
    QImage picture(8, 4, QImage::Format_RGBA8888);
    picture.fill(QColor(30, 30, 30));
    picture.setPixelColor(0, 0, QColor(128, 0, 0));
    picture.setPixelColor(7, 3, QColor(128, 0, 0));
    picture.setPixelColor(3, 1, QColor(129, 0, 0));       // near the key is not the key
    picture.setPixelColor(5, 2, QColor(128, 0, 0, 200));  // the key colour, translucent
    picture.setPixelColor(6, 2, QColor(255, 0, 0, 128));  // premultiplied, it looks like it
    for (const QImage::Format format :
         {QImage::Format_RGBA8888, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
          QImage::Format_RGB888}) {
        const QRegion shape = ShapeOf(picture.convertToFormat(format));
        EXPECT_FALSE(shape.contains(QPoint(0, 0))) << format;
        EXPECT_FALSE(shape.contains(QPoint(7, 3))) << format;
        EXPECT_FALSE(shape.contains(QPoint(5, 2))) << format;
        EXPECT_TRUE(shape.contains(QPoint(6, 2))) << format;
        EXPECT_TRUE(shape.contains(QPoint(1, 0))) << format;
        EXPECT_TRUE(shape.contains(QPoint(3, 1))) << format;
        EXPECT_TRUE(shape.contains(QPoint(6, 3))) << format;
    }

    const SkinPictures skin;
    const QImage background = skin.Picture("L1_BackGround");
    const QRegion window = ShapeOf(background);
    EXPECT_FALSE(window.contains(QPoint(0, 0)));
    EXPECT_FALSE(window.contains(QPoint(background.width() - 1, background.height() - 1)));
    EXPECT_TRUE(window.contains(QPoint(background.width() / 2, background.height() / 2)));
}

// Rows with the same runs share one band of the outline: the outline is exactly the pixels
// that are not the key, in no more rectangles than QRegion makes of them itself.
TEST(WindowShape, RowsAlikeShareOneBand) {
    EnsureApplication();
    const QColor key(128, 0, 0);
    QImage picture(12, 9, QImage::Format_RGB32);
    picture.fill(QColor(30, 30, 30));
    for (int y : {0, 1, 7, 8}) {  // rounded corners: two rows alike at the top and the bottom
        picture.setPixelColor(0, y, key);
        picture.setPixelColor(11, y, key);
    }
    for (int x = 0; x < 12; ++x) {
        picture.setPixelColor(x, 4, key);  // a row all key: a gap between bands
    }
    picture.setPixelColor(5, 5, key);  // a hole: two runs on rows 5 and 6
    picture.setPixelColor(5, 6, key);

    QRegion expected;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, y) != key) {
                expected += QRect(x, y, 1, 1);
            }
        }
    }
    const QRegion shape = ShapeOf(picture);
    EXPECT_TRUE(shape.xored(expected).isEmpty());  // the same pixels
    EXPECT_LE(shape.rectCount(), expected.rectCount());
    EXPECT_EQ(shape.rectCount(), 5);  // rows 0-1, 2-3, 5-6 (two runs), 7-8

    // The shipped background: its corners only, a few dozen rectangles for 662 rows.
    const QRegion window = ShapeOf(SkinPictures().Picture("L1_BackGround"));
    EXPECT_LT(window.rectCount(), 100);
}

// The program's own skin, decoded partly on a worker thread at start-up: the window comes up
// with its background shown and its outline cut.
TEST(WindowShape, StartUpWithTheEmbeddedSkin) {
    EnsureApplication();
    const SkinPictures skin;
    RecordingMessagePresenter messages;
    ScriptedFileDialogs files;
    MainWindow window(WithStandardPages(DefaultServices(skin, skin, messages, files)));
    ASSERT_TRUE(window.Start());
    EXPECT_EQ(window.BackgroundSize(), QSize(1030, 662));
    const auto* base = qobject_cast<const QLabel*>(window.Control(QStringLiteral("Img_Base_1")));
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(base->pixmap().size(), QSize(1030, 662));
    // The opaque background is held as three bytes a pixel, not widened to four.
    EXPECT_EQ(base->pixmap().depth(), 24);
    const auto* slot = qobject_cast<const QLabel*>(window.Control(QStringLiteral("Img_Key1")));
    ASSERT_NE(slot, nullptr);
    EXPECT_FALSE(slot->pixmap().isNull());
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
}  // namespace velq::ui::testing
