#include <gtest/gtest.h>

#include <QLabel>

#include "gui/gui_test_rig.h"

namespace velq::ui::testing {
namespace {

// A page's pictures are decoded when the page is first shown, and then shown as set.
TEST(LazyPictures, HiddenPagesGetTheirPicturesWhenShown) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    // A gun picture is shown on the fire page only.
    auto* gun = qobject_cast<QLabel*>(rig.Control("Img_Fire1"));
    ASSERT_NE(gun, nullptr);
    EXPECT_EQ(rig.Picture("Img_Fire1"), QStringLiteral("Gun1_01"));
    const QSize size_before = gun->size();
    EXPECT_EQ(size_before, QSize(120, 56));
    EXPECT_TRUE(gun->pixmap().isNull());  // not decoded while its page is hidden

    rig.window->ShowFirePage();
    EXPECT_FALSE(gun->pixmap().isNull());
    EXPECT_EQ(gun->pixmap().size(), size_before);
}

}  // namespace
}  // namespace velq::ui::testing
