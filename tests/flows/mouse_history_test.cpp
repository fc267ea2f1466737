// The undo history: its files (names, order, the last twenty, refusals), and every flow that
// replaces a whole area of the mouse keeping the mouse in it before the write, or writing
// nothing when it cannot.

#include "flows/mouse_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "flow_fixture.h"
#include "flows/fire_flows.h"
#include "flows/verified_write.h"

namespace velq::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::sys_days;
using std::chrono::system_clock;

// 2026-12-11 12:34:56.789 UTC.
system_clock::time_point SomeTime() {
    using namespace std::chrono;
    return sys_days(year(2026) / December / 11) + hours(12) + minutes(34) + seconds(56) +
           milliseconds(789);
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

DataBuf Pattern(uint8_t seed) {
    DataBuf image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(i * 7 + seed);
    }
    return image;
}

std::vector<std::string> Names(const std::vector<HistoryEntry>& entries) {
    std::vector<std::string> names;
    for (const HistoryEntry& entry : entries) {
        names.push_back(entry.file.filename().string());
    }
    return names;
}

class HistoryFiles : public ::testing::Test {
protected:
    std::vector<HistoryEntry> List() {
        std::vector<HistoryEntry> entries;
        const FileResult listed = ListHistory(folder, entries);
        EXPECT_TRUE(listed) << listed.error;
        return entries;
    }

    ScopedStateHome home;
    std::filesystem::path folder = home.History();
};

TEST_F(HistoryFiles, TheFolderFollowsTheStateFolderRules) {
    const std::map<std::string, std::string> absolute = {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}};
    const std::map<std::string, std::string> relative = {{"XDG_STATE_HOME", "s"}, {"HOME", "/h"}};
    const std::map<std::string, std::string> nothing;
    const auto lookup = [](const std::map<std::string, std::string>& variables) {
        return [&variables](std::string_view name) -> std::optional<std::string> {
            const auto found = variables.find(std::string(name));
            return found != variables.end() ? std::optional(found->second) : std::nullopt;
        };
    };
    EXPECT_EQ(HistoryFolder(lookup(absolute)), std::filesystem::path("/s/velq540b/history"));
    EXPECT_EQ(HistoryFolder(lookup(relative)),
              std::filesystem::path("/h/.local/state/velq540b/history"));
    EXPECT_FALSE(HistoryFolder(lookup(nothing)).has_value());
    EXPECT_EQ(HistoryFolder(), folder);
}

// Entries are named by their time (UTC, to the millisecond) and cause and listed newest first;
// two within one millisecond, or a clock set back, still give names in the order they were kept.
TEST_F(HistoryFiles, NamesSortByTheOrderTheEntriesWereKept) {
    std::filesystem::path kept;
    ASSERT_TRUE(KeepInHistory(folder, Pattern(1), "reset-1", SomeTime(), &kept));
    EXPECT_EQ(kept, folder / "20261211-123456.789-reset-1.bin");
    const DataBuf first = Pattern(1);
    EXPECT_EQ(FileBytes(kept), std::vector<uint8_t>(first.begin(), first.end()));
    ASSERT_TRUE(KeepInHistory(folder, Pattern(2), "load", SomeTime()));
    ASSERT_TRUE(KeepInHistory(folder, Pattern(3), "restore", SomeTime() - std::chrono::hours(1)));
    ASSERT_TRUE(KeepInHistory(folder, Pattern(4), "fire-pc", SomeTime() + std::chrono::hours(25)));

    const std::vector<HistoryEntry> entries = List();
    EXPECT_EQ(Names(entries), (std::vector<std::string>{
                                  "20261212-133456.789-fire-pc.bin",
                                  "20261211-123456.791-restore.bin",
                                  "20261211-123456.790-load.bin",
                                  "20261211-123456.789-reset-1.bin",
                              }));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].time, "2026-12-12 13:34:56.789");
    EXPECT_EQ(entries[0].cause, "fire-pc");
    EXPECT_EQ(entries[3].cause, "reset-1");
    const DataBuf third = Pattern(3);
    EXPECT_EQ(FileBytes(entries[1].file), std::vector<uint8_t>(third.begin(), third.end()));
}

// Only the newest twenty entries stay; files that are not entries of ours are left alone.
TEST_F(HistoryFiles, KeepsTheNewestTwentyAndLeavesOtherFilesAlone) {
    std::filesystem::create_directories(folder);
    const std::vector<std::string> others = {"notes.txt", "20261211-123456.789-Reset.bin",
                                             "20261311-000000.000-load.bin",
                                             "20261211-123456.789-.bin"};
    for (const std::string& name : others) {
        WriteBytes(folder / name, std::vector<uint8_t>(3, 1));
    }
    for (int i = 0; i < 25; ++i) {
        ASSERT_TRUE(KeepInHistory(folder, Pattern(static_cast<uint8_t>(i)),
                                  "reset-" + std::to_string(i),
                                  SomeTime() + std::chrono::seconds(i)));
        EXPECT_EQ(List().size(), std::min<std::size_t>(i + 1, kHistoryEntries));
    }
    const std::vector<HistoryEntry> entries = List();
    ASSERT_EQ(entries.size(), kHistoryEntries);
    EXPECT_EQ(entries.front().cause, "reset-24");
    EXPECT_EQ(entries.back().cause, "reset-5");
    for (const std::string& name : others) {
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
}

TEST_F(HistoryFiles, RefusesWhatIsNoEntry) {
    // No folder yet: no entries, and no failure.
    EXPECT_TRUE(List().empty());
    // A cause that could not be told back from the name.
    for (const char* cause : {"", "Reset", "reset 1", "-load", "load-", "a/b"}) {
        EXPECT_FALSE(KeepInHistory(folder, Pattern(0), cause, SomeTime())) << cause;
    }
    // A folder that cannot be made.
    WriteBytes(home.Folder() / "velq540b", std::vector<uint8_t>(1, 0));
    const FileResult kept = KeepInHistory(folder, Pattern(0), "load", SomeTime());
    EXPECT_FALSE(kept);
    EXPECT_NE(kept.error.find(folder.string()), std::string::npos) << kept.error;
    std::filesystem::remove(home.Folder() / "velq540b");

    // An entry of any size but 2048 bytes is refused, and the image stays as it was.
    for (std::size_t size : {0u, 2047u, 2049u}) {
        WriteBytes(folder / "e.bin", std::vector<uint8_t>(size, 9));
        DataBuf image = Pattern(5);
        const FileResult read = ReadHistoryEntry(folder / "e.bin", image);
        EXPECT_FALSE(read) << size;
        EXPECT_NE(read.error.find("e.bin"), std::string::npos);
        EXPECT_EQ(image, Pattern(5));
    }
    WriteBytes(folder / "e.bin", Pattern(6));
    DataBuf image{};
    EXPECT_TRUE(ReadHistoryEntry(folder / "e.bin", image));
    EXPECT_EQ(image, Pattern(6));
}

// The flows that replace a whole area of the mouse in one click.
class ReplacingFlows : public FlowFixture {
protected:
    void SetUp() override {
        FlowFixture::SetUp();
        ASSERT_TRUE(fire.LoadDefaultSets());
        files = state_home.Folder() / "files";
        WriteBytes(files / "profile.bin", state.defaults.eeprom[2]);
        WriteBytes(files / "base.bin", std::vector<uint8_t>(1024, 0x3C));
        WriteBytes(files / "fire.bin", std::vector<uint8_t>(256, 0x4D));
    }

    // A new mouse that holds more than any built-in image (macro slots and fire area filled),
    // found and read, with an empty history.
    void FreshMouse() {
        VirtualMouse::Memory memory;
        std::copy(state.defaults.eeprom[0].begin(), state.defaults.eeprom[0].end(), memory.begin());
        for (std::size_t i = 0x100; i < 0x600; ++i) {
            memory[i] = static_cast<uint8_t>(i * 5 + 1);
        }
        mouse = std::make_shared<VirtualMouse>(memory);
        backend = VirtualBackend{mouse};
        ResetState();
        link.SetLastInterfaceCount(0);
        link.DropDevice();
        PlugIn();
        std::filesystem::remove_all(state_home.History());
        Forget();
    }

    std::vector<HistoryEntry> Entries() const {
        std::vector<HistoryEntry> entries;
        EXPECT_TRUE(ListHistory(state_home.History(), entries));
        return entries;
    }

    struct Flow {
        const char* cause;
        std::function<void()> run;
    };
    std::vector<Flow> AllFlows() {
        const auto fire_flow = [this](std::function<FlowOutcome()> run) {
            return [this, run] { host.ActOn(run()); };
        };
        return {
            {"reset-1", [this] { Reset(0); }},
            {"reset-3", [this] { Reset(2); }},
            {"defaults", [this] { RestoreDefaults(0); }},
            {"default-dpi", [this] { RestoreDefaults(3); }},
            {"default-light", [this] { RestoreDefaults(4); }},
            {"load",
             [this] {
                 host.next_file = files / "profile.bin";
                 LoadProfile();
             }},
            {"base-macro",
             [this] { host.ActOn(flows.ImportBaseMacro(files / "base.bin", host.macros)); }},
            {"fire-clear", fire_flow([this] { return fire.LoadFireDefaults(0); })},
            {"fire-pc", fire_flow([this] { return fire.LoadFireDefaults(1); })},
            {"fire-mobile", fire_flow([this] { return fire.LoadFireDefaults(2); })},
            {"fire-import", fire_flow([this] { return fire.ImportFireArea(files / "fire.bin"); })},
        };
    }

    FireFlows fire{link, protocol, host, state, flows};
    std::filesystem::path files;
};

TEST_F(ReplacingFlows, EachKeepsTheMouseAsItWasBeforeItWrites) {
    for (const Flow& flow : AllFlows()) {
        SCOPED_TRACE(flow.cause);
        FreshMouse();
        const VirtualMouse::Memory before = mouse->MemoryCopy();
        flow.run();
        EXPECT_TRUE(host.messages.empty());
        EXPECT_GE(mouse->CountRequests(Command::kWriteBegin), 1);
        EXPECT_NE(mouse->MemoryCopy(), before);
        const std::vector<HistoryEntry> entries = Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].cause, flow.cause);
        EXPECT_EQ(FileBytes(entries[0].file), std::vector<uint8_t>(before.begin(), before.end()));
        // Kept before the write: the whole memory read in a transaction of its own, closed
        // before the write's Open.
        const auto requests = mouse->Requests();
        std::vector<uint8_t> commands;
        for (const ReportBytes& request : requests) {
            commands.push_back(request[1]);
        }
        const auto first_write =
            std::find(commands.begin(), commands.end(), static_cast<uint8_t>(Command::kWriteBegin));
        EXPECT_EQ(
            std::count(commands.begin(), first_write, static_cast<uint8_t>(Command::kReadNext)),
            342);
        EXPECT_EQ(std::count(commands.begin(), first_write, static_cast<uint8_t>(Command::kClose)),
                  1);
    }
}

// A read for the history that fails, or an entry that cannot be kept, means no write: the
// mouse, the device side and the pages stay as they were, and the user is told why.
TEST_F(ReplacingFlows, NoWriteWithoutAHistoryEntry) {
    struct Fault {
        const char* name;
        std::function<void()> inject;
        std::vector<std::string> keys;
    };
    const std::vector<Fault> faults = {
        {"ReadBegin refused",
         [this] { mouse->RefuseCommand(Command::kReadBegin, 1000); },
         {kHistoryReadFailedMessage}},
        {"a read chunk never answered",
         [this] { mouse->NeverAnswerReadChunk(200); },
         {kHistoryReadFailedMessage}},
        {"mouse not answering",
         [this] { mouse->NakNextExchanges(1000); },
         {kNotAnsweringMessage, kHistoryReadFailedMessage}},
        {"not this firmware",
         [this] { mouse->SetSignature(0x00); },
         {kNotAnsweringMessage, kHistoryReadFailedMessage}},
        {"unplugged during the read",
         [this] { mouse->UnplugAfterExchanges(50); },
         {kHistoryReadFailedMessage}},
        {"the history folder is a file",
         [this] { WriteBytes(state_home.History(), std::vector<uint8_t>(1, 0)); },
         {kHistoryNotKeptMessage}},
    };
    for (const Flow& flow : AllFlows()) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(flow.cause) + ": " + fault.name);
            FreshMouse();
            const VirtualMouse::Memory before = mouse->MemoryCopy();
            const DataBuf data_buf = state.data_buf;
            const FireArea fire_area = state.fire_area;
            const bool fire_area_read = state.fire_area_read;
            const MouseConfig shown = host.shown;
            fault.inject();
            flow.run();
            if (std::filesystem::is_regular_file(state_home.History())) {
                std::filesystem::remove(state_home.History());
            }
            EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
            EXPECT_EQ(mouse->MemoryCopy(), before);
            EXPECT_TRUE(Entries().empty());
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].keys, fault.keys);
            // The file that could not be made is named.
            EXPECT_EQ(host.messages[0].detail.empty(), fault.keys[0] != kHistoryNotKeptMessage)
                << host.messages[0].detail;
            EXPECT_EQ(state.data_buf, data_buf);
            EXPECT_EQ(state.fire_area, fire_area);
            EXPECT_EQ(state.fire_area_read, fire_area_read);
            EXPECT_TRUE(state.read_complete ||
                        fault.name == std::string("unplugged during the read"));
            EXPECT_FALSE(host.Saw("ShowPageValues"));
            EXPECT_FALSE(host.Saw("Result shown"));
            EXPECT_EQ(host.shown, shown);
            EXPECT_TRUE(host.dev_timer);
            EXPECT_FALSE(host.pages_covered && state.read_complete);
        }
    }
}

// A mouse that stops answering during the read for the history ends the flow within the read's
// time limit, with nothing written.
TEST_F(ReplacingFlows, ASilentMouseEndsTheReadForTheHistoryWithinTenSeconds) {
    for (const Flow& flow : AllFlows()) {
        SCOPED_TRACE(flow.cause);
        FreshMouse();
        const VirtualMouse::Memory before = mouse->MemoryCopy();
        mouse->HangAfterRequests(30, clock, 5000);
        const int64_t start = clock.NowMs();
        flow.run();
        // The button's pause (11 x 10 ms) comes before the read and its limit.
        EXPECT_LE(clock.NowMs() - start, kReadTimeLimitMs + 110);
        EXPECT_GT(mouse->HungRequests(), 0);
        mouse->AnswerAgain();
        EXPECT_TRUE(Said(kHistoryReadFailedMessage));
        EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
        EXPECT_EQ(mouse->MemoryCopy(), before);
        EXPECT_TRUE(Entries().empty());
    }
}

// A flow keeps its entry among the twenty newest; the oldest goes, files of others stay.
TEST_F(ReplacingFlows, TheHistoryHoldsTheLastTwenty) {
    FreshMouse();
    const std::filesystem::path folder = state_home.History();
    const auto an_hour_ago = system_clock::now() - std::chrono::hours(1);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(KeepInHistory(folder, Pattern(static_cast<uint8_t>(i)), "load",
                                  an_hour_ago + std::chrono::seconds(i)));
    }
    WriteBytes(folder / "notes.txt", std::vector<uint8_t>(4, 0));
    const std::string oldest = Entries().back().file.filename().string();
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    Reset(1);
    const std::vector<HistoryEntry> entries = Entries();
    ASSERT_EQ(entries.size(), kHistoryEntries);
    EXPECT_EQ(entries.front().cause, "reset-2");
    EXPECT_EQ(FileBytes(entries.front().file), std::vector<uint8_t>(before.begin(), before.end()));
    EXPECT_FALSE(std::filesystem::exists(folder / oldest));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt"));
}

// Without a mouse the flows say so as before, and nothing is read or kept.
TEST_F(ReplacingFlows, WithoutAMouseNothingIsKept) {
    FreshMouse();
    mouse->SetPlugged(false);
    Pass();
    ASSERT_FALSE(link.HasDevice());
    for (const Flow& flow : AllFlows()) {
        SCOPED_TRACE(flow.cause);
        flow.run();
        EXPECT_TRUE(Entries().empty());
    }
}

}  // namespace
}  // namespace velq::test
