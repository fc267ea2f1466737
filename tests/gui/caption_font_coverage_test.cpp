// Every character of a language's captions has a glyph in the font the window draws that
// language's captions with: the first family of the window's list that this machine has.
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui_test_rig.h"
#include "shell/caption_table.h"

namespace velq::ui::testing {
namespace {

// The first of `families` that is installed, empty when none is.
QString FirstInstalled(const QStringList& families) {
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family)) {
            return family;
        }
    }
    return {};
}

// `family` alone, without Qt's falling back to other fonts for characters it lacks.
QRawFont RawFontOf(const QString& family) {
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    return QRawFont::fromFont(font);
}

// The drawn characters of `text` that `font` has no glyph for (blanks and control characters
// draw nothing and are left out).
QString Uncovered(const QRawFont& font, const QString& text) {
    QString missing;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control) {
            continue;
        }
        if (!font.supportsCharacter(c)) {
            missing += QString::fromUcs4(&c, 1);
        }
    }
    return missing;
}

// "key: characters" for every caption of `language`'s table that `font` cannot draw whole.
// `FontName` is the name of a face, never drawn.
std::vector<std::string> UncoveredCaptions(const QRawFont& font, int language) {
    const CaptionTableResult table = LoadCaptionTable(language);
    EXPECT_TRUE(table) << table.error;
    EXPECT_FALSE(table.table.Entries().empty());
    std::vector<std::string> uncovered;
    for (const CaptionEntry& entry : table.table.Entries()) {
        if (entry.key == "FontName") {
            continue;
        }
        const QString missing = Uncovered(font, QString::fromStdString(entry.text));
        if (!missing.isEmpty()) {
            uncovered.push_back(entry.key + ": " + missing.toStdString());
        }
    }
    return uncovered;
}

TEST(CaptionFontCoverageTest, WindowsFontForEachLanguageHasEveryCaptionCharacter) {
    struct Case {
        int language;
        const char* script;  // for the failure message
    };
    const Case cases[] = {
        {1, "Latin"},
        {2, "Simplified Chinese"},
        {3, "Traditional Chinese"},
    };
    WindowRig rig;
    rig.Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "language " << c.language << " (" << c.script << ")");
        ASSERT_TRUE(rig.window->SwitchLanguage(c.language).ok);
        for (const char* control : {"Btn_Main_1", "Key1", "lbl_Content"}) {
            SCOPED_TRACE(control);
            const QFont font = rig.Control(control)->font();
            const QString family = FirstInstalled(font.families());
            ASSERT_FALSE(family.isEmpty())
                << "no family of " << font.families().join(", ").toStdString() << " installed";
            // The window draws with that family, not a substitute the system picked.
            EXPECT_EQ(QFontInfo(font).family(), family);
            const QRawFont raw = RawFontOf(family);
            ASSERT_TRUE(raw.isValid()) << family.toStdString();
            EXPECT_EQ(raw.familyName(), family);
            const std::vector<std::string> uncovered = UncoveredCaptions(raw, c.language);
            EXPECT_TRUE(uncovered.empty()) << family.toStdString() << " lacks " << uncovered.size()
                                           << " caption(s), first " << uncovered.front();
        }
    }
}

// The check itself tells a font that lacks the script: a Latin-only family cannot draw the
// Chinese tables, and a Chinese family can draw all three.
TEST(CaptionFontCoverageTest, CheckFailsAFamilyWithoutTheScript) {
    EnsureApplication();
    struct Case {
        const char* family;
        int language;
        bool covers;
    };
    const Case cases[] = {
        {"Carlito", 1, true},
        {"Carlito", 2, false},
        {"Carlito", 3, false},
        {"Noto Sans CJK TC", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.family << " language " << c.language);
        const QString family = QString::fromUtf8(c.family);
        ASSERT_TRUE(QFontDatabase::hasFamily(family)) << "scripts/setup.sh installs it";
        const QRawFont raw = RawFontOf(family);
        ASSERT_TRUE(raw.isValid());
        EXPECT_EQ(UncoveredCaptions(raw, c.language).empty(), c.covers);
    }
}

}  // namespace
}  // namespace velq::ui::testing
