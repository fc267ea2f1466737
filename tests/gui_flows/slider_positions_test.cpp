// Every slider of the pages, through the real window on the virtual mouse: it has the width of
// its track, each position is reached by a click inside it, and a click on the drawn thumb
// keeps the value.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <string>

#include <gtest/gtest.h>

#include "gui_flows/gui_flows_fixture.h"
#include "settings/pointer_rules.h"
#include "settings/slider_snap.h"
#include "shell/ui/skin_slider.h"

namespace velq::ui::testing {
namespace {

struct SliderCase {
    const char* name;
    Page page;
    SliderTrack track;
};

class SliderPositions : public GuiFlowsTest, public ::testing::WithParamInterface<SliderCase> {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        StartReady();
        // A button with the aim key, so that the aim slider takes its values.
        Choose("Key4", {"Key_Special", "Key_AIMKey"});
        OpenWithFactoryPage(GetParam().page);
        // All seven DPI levels in use, so that every level slider takes clicks.
        ChooseInList("cb_CPIStep", 5);
        rig.window->ClickTab(GetParam().page);
    }

    SkinSlider& Slider() const {
        auto* slider = qobject_cast<SkinSlider*>(rig.Control(GetParam().name));
        EXPECT_NE(slider, nullptr);
        return *slider;
    }

    void ClickAt(int x) {
        SkinSlider& slider = Slider();
        const QPoint at(x, slider.height() / 2);
        QTest::mousePress(&slider, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, at);
    }
};

TEST_P(SliderPositions, EveryPositionIsReachedInsideAndItsThumbKeepsIt) {
    const SliderCase& c = GetParam();
    SkinSlider& slider = Slider();
    ASSERT_TRUE(slider.isVisible());
    ASSERT_TRUE(slider.isEnabled());
    ASSERT_TRUE(slider.skinned());
    EXPECT_EQ(slider.width(), c.track.width);
    EXPECT_EQ(slider.maximum(), (c.track.positions - 1) * 100);
    for (int position = 0; position < c.track.positions; ++position) {
        const int middle = ThumbCentre(c.track, position);
        EXPECT_GE(middle, 0) << position;
        EXPECT_LT(middle, slider.width()) << position;
        ClickAt(middle);
        ASSERT_EQ(slider.value(), position * 100) << "the middle of interval " << position;
        const QRect thumb = slider.ThumbRect();
        EXPECT_TRUE(slider.rect().contains(thumb)) << position;
        ClickAt(thumb.center().x());
        EXPECT_EQ(slider.value(), position * 100) << "the thumb of " << position;
    }
    ClickAt(slider.width() - 1);
    EXPECT_EQ(slider.value(), (c.track.positions - 1) * 100);
    ClickAt(0);
    EXPECT_EQ(slider.value(), 0);
}

// A drag shows the position under the pointer and rests where it lets go.
TEST_P(SliderPositions, ADragFollowsThePositionsUnderThePointer) {
    const SliderCase& c = GetParam();
    SkinSlider& slider = Slider();
    const int y = slider.height() / 2;
    const int last = c.track.positions - 1;
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(ThumbCentre(c.track, 0), y));
    EXPECT_EQ(slider.value(), 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(ThumbCentre(c.track, last), y),
                     slider.mapToGlobal(QPointF(ThumbCentre(c.track, last), y)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&slider, &move);
    EXPECT_EQ(slider.value(), last * 100);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(ThumbCentre(c.track, 1), y));
    EXPECT_EQ(slider.value(), 100);
}

SliderCase Dpi(const char* name) {
    return {name, Page::kAdvanced, DpiSliderTrack(12)};
}

INSTANTIATE_TEST_SUITE_P(
    AllSliders, SliderPositions,
    ::testing::Values(Dpi("slider_DPI1"), Dpi("slider_DPI2"), Dpi("slider_DPI3"),
                      Dpi("slider_DPI4"), Dpi("slider_DPI5"), Dpi("slider_DPI6"),
                      Dpi("slider_DPI7"), Dpi("slider_DPI8"),
                      SliderCase{"slider_Spd", Page::kAdvanced, kPointerSliderTrack},
                      SliderCase{"slider_DbSpd", Page::kAdvanced, kPointerSliderTrack},
                      SliderCase{"slider_SrcSpd", Page::kAdvanced, kPointerSliderTrack},
                      SliderCase{"slider_Breath_Speed", Page::kLight, kSpeedSliderTrack}),
    [](const ::testing::TestParamInfo<SliderCase>& param) {
        return std::string(param.param.name);
    });

}  // namespace
}  // namespace velq::ui::testing
