#include <gtest/gtest.h>

#include <QImage>

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
    picture.setPixelColor(3, 1, QColor(129, 0, 0));  // near the key is not the key
    const QRegion shape = ShapeOf(picture);
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(7, 3)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
    EXPECT_TRUE(shape.contains(QPoint(3, 1)));
    EXPECT_TRUE(shape.contains(QPoint(6, 3)));

    const SkinPictures skin;
    const QImage background = skin.Picture("L1_BackGround");
    const QRegion window = ShapeOf(background);
    EXPECT_FALSE(window.contains(QPoint(0, 0)));
    EXPECT_FALSE(window.contains(QPoint(background.width() - 1, background.height() - 1)));
    EXPECT_TRUE(window.contains(QPoint(background.width() / 2, background.height() / 2)));
}

}  // namespace
}  // namespace velq::ui::testing
