#include "macros/macro_edits.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "macros/macro_test_util.h"

namespace velq {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Lines = MacroLines;

const std::string kPressA = "1 A CODE:8204";
const std::string kReleaseA = "2 A CODE:0204";
const std::string kPressB = "1 B CODE:8205";
const std::string kReleaseB = "2 B CODE:0205";
const std::string kPressLeft = "1 LeftKey CODE:00A1";
const std::string kReleaseLeft = "2 LeftKey CODE:0021";

TEST(MacroEditsTest, EachLineKindShowsItsText) {
    const struct {
        const char* line;
        int kind;
        const char* shown;
    } cases[] = {
        {"0 96", 0, "96 ms"},
        {"0 2040", 0, "2040 ms"},
        {"1 LeftKey CODE:00A1", 1, "LeftKey"},
        {"2 A CODE:0204", 2, "A"},
        {"1 Ctrl CODE:8101", 1, "Ctrl"},
        {"2 Num Lock CODE:0253", 2, "Num Lock"},  // a name with a blank keeps it
        {"3 FB00", 3, "X-Axis  0"},
        {"3 FB7F", 3, "X-Axis  127"},
        {"4 FBFB", 4, "X-Axis  -5"},
        {"4 FB80", 4, "X-Axis  -128"},
        {"5 FA0C", 5, "Y-Axis  12"},
        {"6 FAFF", 6, "Y-Axis  -1"},
        {"1 short", 1, ""},  // too short for a name and a code: nothing, never out of range
        {"7 FB00", -1, ""},
        {"", -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(EventKind(c.line), c.kind);
        EXPECT_EQ(EventDisplayText(c.line), c.shown);
    }
}

TEST(MacroEditsTest, AnEditReplacesOnlyItsLineWithTheLineOfTheDialogsKind) {
    const struct {
        const char* line;
        std::optional<EventEditKind> kind;
    } kinds[] = {
        {"0 100", EventEditKind::kDelay},           {"1 A CODE:8204", EventEditKind::kPress},
        {"2 A CODE:0204", EventEditKind::kRelease}, {"3 FB05", EventEditKind::kMoveX},
        {"4 FBFB", EventEditKind::kMoveX},          {"5 FA05", EventEditKind::kMoveY},
        {"6 FAFB", EventEditKind::kMoveY},          {"7 FB00", std::nullopt},
    };
    for (const auto& k : kinds) {
        EXPECT_EQ(EditKindOfLine(k.line), k.kind) << k.line;
    }

    EXPECT_EQ(DelayEventLine(100), "0 100");
    EXPECT_EQ(DelayEventLine(0), "0 0");
    EXPECT_EQ(DelayEventLine(3000), "0 2040");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveX, -5), "4 FBFB");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveX, 0), "3 FB00");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveX, 127), "3 FB7F");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveX, -128), "4 FB80");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveY, -1), "6 FAFF");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveY, 12), "5 FA0C");
    EXPECT_EQ(MoveEventLine(EventEditKind::kMoveY, 500), "5 FA7F");
    EXPECT_EQ(KeyEventLine(EditKind::kRelease, "Z CODE:021D"), "2 Z CODE:021D");
    EXPECT_EQ(KeyEventLine(EditKind::kPress, "Z CODE:821D"), "1 Z CODE:821D");

    const Lines lines{"00", kPressA, "0 100", kReleaseA};
    const std::optional<EventChange> edited =
        ReplaceEvent(lines, 0, KeyEventLine(EditKind::kPress, "Z CODE:821D"));
    ASSERT_TRUE(edited);
    // The release of A is not touched: the pair is the user's to mend.
    EXPECT_EQ(edited->lines, (Lines{"00", "1 Z CODE:821D", "0 100", kReleaseA}));
    EXPECT_EQ(edited->select, 0);
    EXPECT_EQ(ReplaceEvent(lines, 2, "0 5")->select, 2);
    EXPECT_FALSE(ReplaceEvent(lines, 3, "0 5"));
    EXPECT_FALSE(ReplaceEvent(lines, -1, "0 5"));
}

TEST(MacroEditsTest, DeleteTakesThePartnerOfAPressOrReleaseAndSelectsAsTheListSays) {
    const struct {
        const char* what;
        Lines events;  // line 0 left out
        int item;
        Lines left;
        int select;
    } cases[] = {
        {"press with its release", {kPressA, "0 100", kReleaseA}, 0, {"0 100"}, 0},
        {"release with its press", {kPressA, "0 100", kReleaseA}, 2, {"0 100"}, 0},
        {"release without press: alone, nothing selected", {"0 100", kReleaseA}, 1, {"0 100"}, -1},
        {"press without release: alone, nothing selected",
         {"0 10", kPressA, "0 20"},
         1,
         {"0 10", "0 20"},
         -1},
        {"press of the inner pair",
         {"0 5", kPressA, kPressB, kReleaseB, kReleaseA},
         2,
         {"0 5", kPressA, kReleaseA},
         1},
        {"release picks the nearest press before it",
         {kPressA, kReleaseA, "0 7", kPressA, kReleaseA},
         4,
         {kPressA, kReleaseA, "0 7"},
         2},
        {"press picks the nearest release after it",
         {kPressA, kReleaseA, kPressA, kReleaseA},
         0,
         {kPressA, kReleaseA},
         0},
        // A second press of the key is no release: the release goes with the press deleted.
        {"a second press is not a partner", {kPressA, kPressA, kReleaseA}, 0, {kPressA}, 0},
        {"mouse button pair", {kPressLeft, "3 FB05", kReleaseLeft}, 2, {"3 FB05"}, 0},
        {"a key of another name is no partner", {kPressA, kReleaseB}, 0, {kReleaseB}, -1},
        {"middle wait", {"0 10", "0 20", "0 30"}, 1, {"0 10", "0 30"}, 0},
        {"first wait", {"0 10", "0 20"}, 0, {"0 20"}, 0},
        {"last move", {"0 10", "4 FBFB"}, 1, {"0 10"}, 0},
        {"only event: nothing left to select", {"5 FA01"}, 0, {}, -1},
        {"only pair: nothing left to select", {kPressA, kReleaseA}, 1, {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines{"10"};
        lines.insert(lines.end(), c.events.begin(), c.events.end());
        Lines expected{"10"};
        expected.insert(expected.end(), c.left.begin(), c.left.end());
        const std::optional<EventChange> deleted = DeleteEvent(lines, c.item);
        ASSERT_TRUE(deleted);
        EXPECT_EQ(deleted->lines, expected);
        EXPECT_EQ(deleted->select, c.select);
    }
    const Lines lines{"00", "0 10"};
    EXPECT_FALSE(DeleteEvent(lines, 1));
    EXPECT_FALSE(DeleteEvent(lines, -1));
    EXPECT_FALSE(DeleteEvent(Lines{"00"}, 0));
}

TEST(MacroEditsTest, InsertPutsTheLineBeforeOrAfterTheItemAndSelectsIt) {
    const Lines lines{"00", kPressA, kReleaseA};
    const struct {
        const char* what;
        int item;
        InsertPlace place;
        Lines expected;
        int select;
    } cases[] = {
        {"before the first", 0, InsertPlace::kBefore, {"00", "0 50", kPressA, kReleaseA}, 0},
        {"after the first", 0, InsertPlace::kAfter, {"00", kPressA, "0 50", kReleaseA}, 1},
        {"before the last", 1, InsertPlace::kBefore, {"00", kPressA, "0 50", kReleaseA}, 1},
        {"after the last", 1, InsertPlace::kAfter, {"00", kPressA, kReleaseA, "0 50"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<EventChange> inserted = InsertEvent(lines, c.item, c.place, "0 50");
        ASSERT_TRUE(inserted);
        EXPECT_EQ(inserted->lines, c.expected);
        EXPECT_EQ(inserted->select, c.select);
    }
    // Nothing selected, or an item that is not there: nothing to insert at.
    EXPECT_FALSE(InsertEvent(lines, -1, InsertPlace::kBefore, "0 50"));
    EXPECT_FALSE(InsertEvent(lines, 2, InsertPlace::kAfter, "0 50"));

    // A macro without events takes its first event whatever is selected.
    for (const Lines& empty : {Lines{"00"}, Lines{}}) {
        for (const InsertPlace place : {InsertPlace::kBefore, InsertPlace::kAfter}) {
            const std::optional<EventChange> first = InsertEvent(empty, -1, place, "4 FBFB");
            ASSERT_TRUE(first);
            EXPECT_EQ(first->lines, (Lines{"00", "4 FBFB"}));
            EXPECT_EQ(first->select, 0);
        }
    }
}

TEST(MacroEditsTest, TheInsertBoxTakesOnlyNumbersInRangeFromItsFields) {
    const InsertChoice expected[] = {
        {InsertWhat::kDelay, InsertPlace::kBefore},
        {InsertWhat::kDelay, InsertPlace::kAfter},
        {InsertWhat::kRecording, InsertPlace::kBefore},
        {InsertWhat::kRecording, InsertPlace::kAfter},
        {InsertWhat::kMoveX, InsertPlace::kBefore},
        {InsertWhat::kMoveX, InsertPlace::kAfter},
        {InsertWhat::kMoveY, InsertPlace::kBefore},
        {InsertWhat::kMoveY, InsertPlace::kAfter},
    };
    for (int item = 0; item < kInsertChoiceCount; ++item) {
        EXPECT_EQ(InsertChoiceOf(item).what, expected[item].what) << item;
        EXPECT_EQ(InsertChoiceOf(item).place, expected[item].place) << item;
    }

    const struct {
        InsertWhat what;
        const char* text;
        std::optional<std::string> line;
    } cases[] = {
        {InsertWhat::kDelay, "50", "0 50"},
        {InsertWhat::kDelay, "0", "0 0"},
        {InsertWhat::kDelay, "2040", "0 2040"},
        {InsertWhat::kDelay, "2041", std::nullopt},
        {InsertWhat::kDelay, "", std::nullopt},
        {InsertWhat::kMoveX, "-5", "4 FBFB"},
        {InsertWhat::kMoveX, "0", "3 FB00"},
        {InsertWhat::kMoveX, "127", "3 FB7F"},
        {InsertWhat::kMoveX, "-128", "4 FB80"},
        {InsertWhat::kMoveX, "128", std::nullopt},
        {InsertWhat::kMoveX, "-129", std::nullopt},
        {InsertWhat::kMoveY, "12", "5 FA0C"},
        {InsertWhat::kMoveY, "-12", "6 FAF4"},
        // What the axis fields' key filter lets through but is no number.
        {InsertWhat::kMoveY, "-", std::nullopt},
        {InsertWhat::kMoveY, "5-3", std::nullopt},
        {InsertWhat::kMoveX, "1-", std::nullopt},
        {InsertWhat::kMoveX, "--1", std::nullopt},
        {InsertWhat::kRecording, "50", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InsertedLine(c.what, c.text), c.line) << c.text;
    }
}

TEST(MacroEditsTest, RepeatCountFieldAndRepeatOptions) {
    const struct {
        const char* typed;
        const char* shown;
    } fields[] = {
        {"", "1"},  {"0", "1"},     {"00", "1"},    {"1", "1"},
        {"8", "8"}, {"255", "255"}, {"256", "255"}, {"99999999999", "255"},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(CorrectRepeatCountText(f.typed), f.shown) << f.typed;
    }

    using R = RepeatOption;
    const struct {
        R before;
        R times;    // after a click on the count option
        R endless;  // after a click on the endless option
    } toggles[] = {
        {R::kNone, R::kTimes, R::kEndless},
        {R::kTimes, R::kNone, R::kEndless},
        {R::kEndless, R::kTimes, R::kNone},
    };
    for (const auto& t : toggles) {
        EXPECT_EQ(ToggleRepeatTimes(t.before), t.times);
        EXPECT_EQ(ToggleRepeatEndless(t.before), t.endless);
    }
    EXPECT_TRUE(RepeatCountEnabled(R::kTimes));
    EXPECT_FALSE(RepeatCountEnabled(R::kEndless));
    EXPECT_FALSE(RepeatCountEnabled(R::kNone));
}

TEST(MacroEditsTest, ShowingAContentSetsTheOptionsItHoldsAndAnEmptyOneKeepsThem) {
    MacroOptions current;
    current.release = ReleaseOption::kStopOnRelease;
    current.repeat = RepeatOption::kEndless;
    current.repeat_count = 20;

    // Eight passes, stop on release: FD 07 .. FC.
    const ShownMacro counted = ShowMacroContent(
        test::DeviceContent({0xFD, 0x07, 0xA1, 0xFE, 0x0C, 0x21, 0xFC}, 0x01), MacroOptions{});
    EXPECT_EQ(counted.options.release, ReleaseOption::kStopOnRelease);
    EXPECT_EQ(counted.options.repeat, RepeatOption::kTimes);
    EXPECT_EQ(counted.options.repeat_count, 8);
    EXPECT_EQ(counted.decoded.lines, (Lines{"10", kPressLeft, "0 96", kReleaseLeft}));

    const ShownMacro once = ShowMacroContent(test::DeviceContent({0xA1, 0x21}), current);
    EXPECT_EQ(once.options.release, ReleaseOption::kPlayToEnd);
    EXPECT_EQ(once.options.repeat, RepeatOption::kNone);
    EXPECT_EQ(once.options.repeat_count, 20);  // the field keeps its count

    MacroContent erased;
    erased.fill(0xFF);
    for (const MacroContent& empty : {MacroContent{}, erased}) {
        const ShownMacro shown = ShowMacroContent(empty, current);
        EXPECT_EQ(shown.decoded.lines, Lines{"00"});
        EXPECT_EQ(shown.options.release, current.release);
        EXPECT_EQ(shown.options.repeat, current.repeat);
        EXPECT_EQ(shown.options.repeat_count, current.repeat_count);
    }
}

Bytes ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The bytes of entry `index`'s content in a Macro.bin image.
Bytes ContentInFile(const Bytes& file, std::size_t index) {
    const auto begin = file.begin() + static_cast<std::ptrdiff_t>(index * kMacroSlotSize + 32);
    return Bytes(begin, begin + kMacroContentSize);
}

Bytes Padded(Bytes bytes) {
    bytes.resize(kMacroContentSize, 0);
    return bytes;
}

class MacroCommitTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        ASSERT_TRUE(library.Load());
        ASSERT_TRUE(library.New(u"ABC"));
        ASSERT_TRUE(library.New(u"DEF"));
    }
    void TearDown() override { fs::remove_all(dir); }

    const fs::path dir = fs::path(::testing::TempDir()) /
                         ("macro_edits_" + std::to_string(::getpid()) + "_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    MacroLibrary library{dir};
};

TEST_F(MacroCommitTest, ACommitEncodesTheLinesIntoTheEntryAndSavesTheFile) {
    const Lines lines{"00", kPressLeft, "0 100", kReleaseLeft};
    const MacroCommit commit = CommitMacroLines(library, 1, lines, MacroOptions{});
    ASSERT_TRUE(commit.ok()) << commit.saved.error;
    const Bytes file = ReadBytes(library.File());
    EXPECT_EQ(ContentInFile(file, 1), Padded({0x00, 0x05, 0xA1, 0xFE, 0x0C, 0x21, 0x8B}));
    EXPECT_EQ(ContentInFile(file, 0), Bytes(kMacroContentSize, 0));

    // A delay of 50 ms inserted before the first event is stored as 48 ms.
    const std::optional<EventChange> inserted =
        InsertEvent(lines, 0, InsertPlace::kBefore, *InsertedLine(InsertWhat::kDelay, "50"));
    MacroOptions endless;
    endless.repeat = RepeatOption::kEndless;
    endless.release = ReleaseOption::kStopOnRelease;
    ASSERT_TRUE(CommitMacroLines(library, 1, inserted->lines, endless).ok());
    const Bytes tokens{0xFD, 0xFF, 0xFE, 0x06, 0xA1, 0xFE, 0x0C, 0x21, 0xFC};
    const MacroContent expected = test::DeviceContent(tokens, 0x01);
    EXPECT_EQ(ContentInFile(ReadBytes(library.File()), 1), Bytes(expected.begin(), expected.end()));

    // All events deleted: the empty content, all zero, without the endless wrapper around
    // nothing.
    ASSERT_TRUE(CommitMacroLines(library, 1, Lines{"00"}, endless).ok());
    EXPECT_EQ(ContentInFile(ReadBytes(library.File()), 1), Bytes(kMacroContentSize, 0));

    EXPECT_EQ(CommitMacroLines(library, 2, lines, MacroOptions{}).saved.status,
              LibraryStatus::kNoSuchMacro);
}

TEST_F(MacroCommitTest, AMacroBeyondItsRoomIsRefusedAndTheStoredOneStays) {
    // 110 moves (220 bytes) and one button press: 221 token bytes, the room exactly.
    Lines lines{"00"};
    lines.insert(lines.end(), 110, "3 FB01");
    lines.push_back(kPressLeft);
    ASSERT_TRUE(CommitMacroLines(library, 0, lines, MacroOptions{}).ok());
    const Bytes stored = ReadBytes(library.File());
    EXPECT_EQ(stored[32 + 1], 222);

    // The repeat wrapper's three bytes no longer fit; nor does one more event.
    MacroOptions counted;
    counted.repeat = RepeatOption::kTimes;
    Lines longer = lines;
    longer.push_back(kReleaseLeft);
    for (const auto& [what, l, options] :
         {std::tuple{"wrapper", lines, counted}, std::tuple{"event", longer, MacroOptions{}}}) {
        SCOPED_TRACE(what);
        const MacroCommit refused = CommitMacroLines(library, 0, l, options);
        EXPECT_FALSE(refused.ok());
        EXPECT_EQ(refused.encoded.error, MacroEncodeError::kTooLong);
        EXPECT_EQ(refused.encoded.caption_key, "Str103");
        EXPECT_EQ(ReadBytes(library.File()), stored);
    }
}

TEST_F(MacroCommitTest, AReleaseOptionChangesOnlyByteZeroOfAMacroWithEvents) {
    ASSERT_TRUE(CommitMacroLines(library, 0, Lines{"00", kPressLeft, kReleaseLeft}, {}).ok());
    const Bytes before = ReadBytes(library.File());

    ASSERT_TRUE(SetReleaseOption(library, 0, ReleaseOption::kStopOnRelease));
    Bytes expected = before;
    expected[32] = 0x01;
    EXPECT_EQ(ReadBytes(library.File()), expected);
    ASSERT_TRUE(SetReleaseOption(library, 0, ReleaseOption::kPlayToEnd));
    EXPECT_EQ(ReadBytes(library.File()), before);

    // A macro without events stays all zero, as an empty macro is stored.
    ASSERT_TRUE(SetReleaseOption(library, 1, ReleaseOption::kStopOnRelease));
    EXPECT_EQ(ReadBytes(library.File()), before);
    EXPECT_EQ(SetReleaseOption(library, 2, ReleaseOption::kStopOnRelease).status,
              LibraryStatus::kNoSuchMacro);
}

TEST_F(MacroCommitTest, AFailedSaveNamesTheFileAndKeepsTheStoredMacro) {
    const Bytes before = ReadBytes(library.File());
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 1000;  // Macro.bin is 25600 bytes
    ::setrlimit(RLIMIT_FSIZE, &tight);
    const MacroCommit commit = CommitMacroLines(library, 0, Lines{"00", "0 10"}, {});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_TRUE(commit.encoded.ok());
    EXPECT_EQ(commit.saved.status, LibraryStatus::kSaveFailed);
    EXPECT_NE(commit.saved.error.find(library.File().string()), std::string::npos);
    EXPECT_FALSE(commit.ok());
    EXPECT_EQ(ReadBytes(library.File()), before);
    EXPECT_EQ(library.Content(0)[1], 0);
}

}  // namespace
}  // namespace velq
