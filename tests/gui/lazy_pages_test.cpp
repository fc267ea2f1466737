#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <functional>
#include <map>
#include <string>

#include "gui/gui_test_rig.h"
#include "settings/ui/light_page.h"
#include "shell/layout_apply.h"

namespace velq::ui::testing {
namespace {

// Everything a user could see of one control, as text, so that two windows can be compared
// control by control and a difference names the control and what differs.
std::string Describe(MainWindow& window, QWidget* widget, bool with_visibility) {
    // A control no layout sized keeps the natural size of the font it was first shown with;
    // a page built late takes the language of that moment. Places always count, and so does
    // everything that follows from a size the layout gave.
    const bool sized = widget->testAttribute(Qt::WA_Resized);
    const QRect box = sized ? widget->geometry() : QRect(widget->pos(), QSize(0, 0));
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text() + QStringLiteral(" indent=%1").arg(sized ? label->indent() : 0);
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        text = group->title();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            text += combo->itemText(i) + QLatin1Char('|');
        }
        text += QStringLiteral(" current=%1").arg(combo->currentIndex());
    }
    QStringList stacking;  // the order of the control's children, back to front
    for (const QObject* child : widget->children()) {
        if (child->isWidgetType() && !child->objectName().isEmpty()) {
            stacking << child->objectName();
        }
    }
    return QStringLiteral(
               "%1 in %2 at %3,%4 %5x%6 %7 picture=%8 font=%9 colour=%10 text=%11 "
               "children=%12")
        .arg(QString::fromUtf8(widget->metaObject()->className()),
             widget->parentWidget() ? widget->parentWidget()->objectName() : QString())
        .arg(box.x())
        .arg(box.y())
        .arg(box.width())
        .arg(box.height())
        .arg(!with_visibility     ? QString()
             : widget->isHidden() ? QStringLiteral("hidden")
                                  : QStringLiteral("shown"),
             window.PictureOf(widget->objectName()), widget->font().toString(),
             widget->palette().color(QPalette::WindowText).name(), text,
             stacking.join(QLatin1Char(',')))
        .toStdString();
}

// `opened_decides`: controls whose visibility the opening of their page decides.
std::map<std::string, std::string> Snapshot(MainWindow& window,
                                            const QStringList& opened_decides = {}) {
    std::map<std::string, std::string> controls;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty()) {
            controls[widget->objectName().toStdString()] =
                Describe(window, widget, !opened_decides.contains(widget->objectName()));
        }
    }
    return controls;
}

void ExpectSameControls(MainWindow& eager, MainWindow& lazy,
                        const QStringList& opened_decides = {}) {
    const std::map<std::string, std::string> expected = Snapshot(eager, opened_decides);
    const std::map<std::string, std::string> seen = Snapshot(lazy, opened_decides);
    ASSERT_EQ(seen.size(), expected.size());
    for (const auto& [name, description] : expected) {
        const auto found = seen.find(name);
        ASSERT_NE(found, seen.end()) << name;
        EXPECT_EQ(found->second, description) << name;
    }
}

// Builds pages 2 to 5 and the function menus by asking for a control of each.
void BuildEveryPage(WindowRig& rig) {
    for (const char* picture : {"Img_P2", "Img_P3", "Img_P4", "Img_P5", "Pnl_Main"}) {
        ASSERT_NE(rig.Control(picture), nullptr) << picture;
    }
}

// Opens each page once and comes back to the first, as a user looking round would.
void VisitEveryPage(WindowRig& rig) {
    rig.Unblock();
    for (const char* tab : {"Btn_Adv_1", "Btn_Breath_1", "Btn_Macro_1"}) {
        rig.Click(tab);
    }
    rig.window->ShowFirePage();
    rig.window->ClickTab(Page::kOffice);
}

struct Story {
    const char* name;
    std::function<void(WindowRig&)> play;
};

// Pages built when first needed end up exactly like pages built at start-up that lived
// through the same events: same controls, places, captions, pictures, fonts and stacking.
class LazyPages : public ::testing::TestWithParam<Story> {};

TEST_P(LazyPages, PagesBuiltLateMatchPagesBuiltAtStartUp) {
    WindowRig eager;
    eager.Start();
    BuildEveryPage(eager);
    WindowRig lazy;
    lazy.Start();
    GetParam().play(eager);
    GetParam().play(lazy);
    BuildEveryPage(lazy);
    // Built but not opened yet: the macro page's delay and insert boxes are shown or hidden
    // when the page opens.
    ExpectSameControls(*eager.window, *lazy.window,
                       {QStringLiteral("Gb_Delay"), QStringLiteral("Gb_Insert"),
                        QStringLiteral("Img_InsertBase")});
    // And what a user sees of each page once opened.
    VisitEveryPage(eager);
    VisitEveryPage(lazy);
    ExpectSameControls(*eager.window, *lazy.window);
}

void SwitchTo(WindowRig& rig, int language) {
    const ShellResult switched = rig.window->SwitchLanguage(language);
    ASSERT_TRUE(switched.ok) << switched.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Stories, LazyPages,
    ::testing::Values(Story{"JustStarted", [](WindowRig&) {}},
                      Story{"LanguagesSwitched",
                            [](WindowRig& rig) {
                                SwitchTo(rig, 3);
                                SwitchTo(rig, 2);
                            }},
                      Story{"UnlockedUncoveredAndHovered",
                            [](WindowRig& rig) {
                                rig.window->EngineerUnlock();
                                rig.Unblock();
                                rig.Click(
                                    "Btn_Second_1");  // gaming: the tab marks move on every copy
                                rig.Enter("Btn_Exit_1");  // the exit family changes all four copies
                                SwitchTo(rig, 3);
                                rig.Enter("Btn_Lang2_1");
                                rig.Leave("Btn_Lang2_1");
                            }},
                      Story{"DeviceGoneAgain",
                            [](WindowRig& rig) {
                                rig.Unblock();
                                rig.Click("Btn_Second_1");
                                rig.window->ShowNoDevicePage();
                                rig.window->CoverPages(true);
                                rig.window->PageOf<LightPage>()->ShowLightingEntries(0x05, true);
                                SwitchTo(rig, 2);
                            }}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// Start-up creates what the first page and the window show; the other pages come when shown.
TEST(LazyPagesStart, OtherPagesAreBuiltWhenFirstShown) {
    WindowRig rig;
    rig.Start();
    QWidget* light_page = rig.window->Control(QStringLiteral("gbPage3"));
    ASSERT_NE(light_page, nullptr);
    EXPECT_TRUE(light_page->findChildren<QWidget*>().isEmpty());
    rig.Unblock();
    rig.Click("Btn_Breath_1");
    EXPECT_EQ(rig.window->current_page(), Page::kLight);
    EXPECT_FALSE(light_page->findChildren<QWidget*>().isEmpty());
    // Its copy of the frame shows the light tab marked and the current language.
    EXPECT_EQ(rig.Picture("Img_Breath_3"), QStringLiteral("SetS_03"));
    EXPECT_EQ(rig.Picture("Img_Main_3"), QStringLiteral("SetS_01"));
    EXPECT_EQ(rig.Picture("Img_Lang1_3"), QStringLiteral("Lang_03"));
}

// A layout whose picture is missing on a page not built yet still stops the language switch
// before anything changed.
TEST(LazyPagesStart, MissingPictureOfAnUnbuiltPageStopsTheSwitch) {
    bool broken = false;  // from the first switch on
    WindowRig rig({}, [&broken](const LayoutContext& context) {
        LayoutResult<LayoutPlan> plan = velq::ApplyLayout(context);
        if (broken && plan) {
            LayoutOp op;
            op.kind = LayoutOpKind::kPicture;
            op.control = "Img_P4";
            op.text = "NoSuchPicture";
            plan.value->ops.push_back(op);
        }
        return plan;
    });
    rig.Start();
    broken = true;
    const QString caption = rig.Text("Btn_Lang2_1");
    const ShellResult switched = rig.window->SwitchLanguage(2);
    EXPECT_FALSE(switched.ok);
    EXPECT_TRUE(switched.error.contains(QStringLiteral("NoSuchPicture")))
        << switched.error.toStdString();
    EXPECT_EQ(rig.window->language(), 1);
    EXPECT_EQ(rig.Text("Btn_Lang2_1"), caption);
    EXPECT_EQ(rig.Picture("Img_P4"), QString());
}

// A language switch whose layout misses a picture changes nothing: not the pages built so far
// (the picture comes last, after steps that would already have moved their controls), and not
// the pages built afterwards, which end up as if the switch had never been tried.
class FailedSwitch : public ::testing::TestWithParam<const char*> {};

TEST_P(FailedSwitch, LeavesBuiltAndUnbuiltPagesUnchanged) {
    bool broken = false;
    const std::string control = GetParam();
    const auto layout = [&broken, control](const LayoutContext& context) {
        LayoutResult<LayoutPlan> plan = velq::ApplyLayout(context);
        if (broken && plan) {
            LayoutOp op;
            op.kind = LayoutOpKind::kPicture;
            op.control = control;
            op.text = "NoSuchPicture";
            plan.value->ops.push_back(op);
        }
        return plan;
    };
    WindowRig tried({}, layout);
    tried.Start();
    tried.Unblock();
    tried.Click("Btn_Adv_1");  // the advanced page is built, the others wait
    WindowRig untried;
    untried.Start();
    untried.Unblock();
    untried.Click("Btn_Adv_1");
    ExpectSameControls(*untried.window, *tried.window);

    broken = true;
    for (const int language : {2, 3}) {
        const ShellResult switched = tried.window->SwitchLanguage(language);
        EXPECT_FALSE(switched.ok);
        EXPECT_TRUE(switched.error.contains(QStringLiteral("NoSuchPicture")));
    }
    EXPECT_EQ(tried.window->language(), 1);
    ExpectSameControls(*untried.window, *tried.window);
    BuildEveryPage(tried);
    BuildEveryPage(untried);
    ExpectSameControls(*untried.window, *tried.window);
}

INSTANTIATE_TEST_SUITE_P(MissingPictureOn, FailedSwitch,
                         ::testing::Values("Img_P1", "Img_P2", "Img_P4", "Img_Engineer_3"));

}  // namespace
}  // namespace velq::ui::testing
