#include <gtest/gtest.h>

#include "shell/ui/text_roller.h"

namespace velq::ui {
namespace {

TEST(TextRollerTest, FirstPassPutsFourBlanksBetweenEndAndStart) {
    TextRoller roller;
    roller.Start(QStringLiteral("ABC"));
    const QString expected[] = {
        QStringLiteral("BC    A"), QStringLiteral("C    AB"), QStringLiteral("    ABC"),
        QStringLiteral("   ABC "), QStringLiteral("  ABC  "),
    };
    for (const QString& text : expected) {
        EXPECT_EQ(roller.Tick(), text);
    }
    EXPECT_EQ(roller.saved(), QStringLiteral("ABC"));
}

TEST(TextRollerTest, CounterWrapsToTwoSoTheBlanksComeOnce) {
    TextRoller roller;
    roller.Start(QStringLiteral("XY"));
    QString text;
    for (int tick = 1; tick <= 21; ++tick) {
        text = roller.Tick();
    }
    EXPECT_EQ(roller.step(), 2);
    // 6 characters in the ring ("XY" and four blanks) and no more blanks were added.
    EXPECT_EQ(text.size(), 6);
    EXPECT_EQ(text.count(QLatin1Char(' ')), 4);
}

TEST(TextRollerTest, StartingAgainForgetsTheOldCaption) {
    TextRoller roller;
    roller.Start(QStringLiteral("Old"));
    roller.Tick();
    roller.Start(QStringLiteral("New"));
    EXPECT_EQ(roller.step(), 0);
    EXPECT_EQ(roller.Tick(), QStringLiteral("ew    N"));
}

TEST(TextRollerTest, CharactersOutsideTheBasicPlaneMoveWhole) {
    TextRoller roller;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two units
    roller.Start(emoji + QStringLiteral("a"));
    EXPECT_EQ(roller.Tick(), QStringLiteral("a    ") + emoji);
    EXPECT_TRUE(roller.Tick().startsWith(QStringLiteral("    ")));
}

TEST(TextRollerTest, EmptyCaptionStaysEmpty) {
    TextRoller roller;
    roller.Start(QString());
    EXPECT_TRUE(roller.Tick().isEmpty());
}

}  // namespace
}  // namespace velq::ui
