// A mouse that stops answering ends a flow within its time limit, and a transfer the user stops
// (Cancel) or that the window gives up (closing) ends at a chunk boundary, all in virtual time.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "flow_fixture.h"
#include "flows/verified_write.h"

namespace velq::test {
namespace {

// The USB control transfer timeout the kernel waits out for a mouse that does not answer.
constexpr int kKernelTimeoutMs = 5000;

class TransferLimits : public FlowFixture {
protected:
    void SetUp() override {
        FlowFixture::SetUp();
        PlugIn();
        ASSERT_TRUE(state.read_complete);
        Forget();
    }

    // A profile file holding the third default image, for the loads to write.
    std::filesystem::path ProfileFile(const std::string& stem) const {
        const auto file =
            std::filesystem::temp_directory_path() / (stem + std::to_string(::getpid()) + ".bin");
        const DataBuf& image = state.defaults.eeprom[2];
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), image.size());
        return file;
    }
};

// How a mouse stops answering: after `after` more set-feature requests, every request hangs
// for `request_ms` and fails. Some only reach a transfer of the whole memory.
struct Silence {
    const char* name;
    int after;
    int request_ms;
    bool whole_memory_only = false;
};

// The Read button (identification and the parameters) and the profile save (identification
// and the whole memory) on a mouse that stops answering: over within kReadTimeLimitMs, with
// a message, nothing shown or saved.
TEST_F(TransferLimits, ASilentMouseEndsAReadWithinTenSeconds) {
    const Silence silences[] = {
        {"silent from the start, requests fail at once", 0, 0},
        {"silent from the start, requests wait out the kernel", 0, kKernelTimeoutMs},
        {"silent mid-read, requests fail at once", 30, 0},
        {"silent mid-read, requests take 1 s", 30, 1000},
        {"silent mid-read, requests wait out the kernel", 30, kKernelTimeoutMs},
        {"silent late in a whole read", 250, kKernelTimeoutMs, true},
    };
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-limits-" + std::to_string(::getpid()) + ".bin");
    for (const bool whole : {false, true}) {
        for (const Silence& silence : silences) {
            if (silence.whole_memory_only && !whole) {
                continue;
            }
            SCOPED_TRACE(std::string(whole ? "save: " : "read: ") + silence.name);
            mouse->AnswerAgain();
            ReadButton();  // a clean read first: the pages show the mouse
            ASSERT_TRUE(state.read_complete);
            Forget();
            mouse->HangAfterRequests(silence.after, clock, silence.request_ms);
            const int64_t start = clock.NowMs();
            if (whole) {
                host.next_file = file;
                SaveProfile();
            } else {
                ReadButton();
            }
            EXPECT_LE(clock.NowMs() - start, kReadTimeLimitMs);
            EXPECT_GT(mouse->HungRequests(), 0);
            EXPECT_TRUE(Said(kNotAnsweringMessage) || Said(kReadFailedMessage));
            EXPECT_FALSE(host.Saw("ShowPageValues"));
            EXPECT_FALSE(std::filesystem::exists(file));
            EXPECT_TRUE(host.dev_timer);
        }
    }
}

// The verified whole-image writes (a reset, a profile load) and Apply on a mouse that stops
// answering, or that answers but never stores a byte: over within kWriteTimeLimitMs after the
// button's pause, with a message.
TEST_F(TransferLimits, ASilentMouseEndsAWriteWithinThirtySeconds) {
    const auto file = ProfileFile("velq-limits-load-");
    const std::vector<std::pair<const char*, std::function<void()>>> writes = {
        {"reset", [this] { Reset(1); }},
        {"profile load", [this] { LoadProfile(); }},
        {"Apply",
         [this] {
             MouseConfig pages = host.shown;
             pages.dpi.levels[0].value = pages.dpi.levels[0].value == 11 ? 10 : 11;
             host.page_values = pages;
             Apply();
         }},
    };
    const Silence silences[] = {
        {"silent mid-write, requests fail at once", 20, 0},
        {"silent mid-write, requests take 1 s", 20, 1000},
        {"silent mid-write, requests wait out the kernel", 20, kKernelTimeoutMs},
        {"silent during the read-back", 400, kKernelTimeoutMs, true},
    };
    for (const auto& [write_name, write] : writes) {
        for (const Silence& silence : silences) {
            if (silence.whole_memory_only && std::string(write_name) == "Apply") {
                continue;
            }
            SCOPED_TRACE(std::string(write_name) + ": " + silence.name);
            mouse->AnswerAgain();
            ReadButton();
            ASSERT_TRUE(state.read_complete);
            Forget();
            mouse->HangAfterRequests(silence.after, clock, silence.request_ms);
            host.next_file = file;
            const int64_t start = clock.NowMs();
            write();
            // The button's pause (11 x 10 ms) comes before the write and its limit.
            EXPECT_LE(clock.NowMs() - start, kWriteTimeLimitMs + 110);
            EXPECT_GT(mouse->HungRequests(), 0);
            EXPECT_TRUE(Said("Str109") || Said(kNotAnsweringMessage));
            EXPECT_TRUE(host.dev_timer);
            EXPECT_FALSE(host.pages_covered);
        }
    }
    std::filesystem::remove(file);
}

// A mouse that takes every chunk but stores nothing: the repairs stop in time and the
// transaction still ends with Reload and Close.
TEST_F(TransferLimits, AMouseThatNeverStoresEndsAResetWithinThirtySeconds) {
    for (uint16_t address = 0; address < 2048; ++address) {
        mouse->StickByte(address);
    }
    const int64_t start = clock.NowMs();
    Reset(1);
    EXPECT_LE(clock.NowMs() - start, kWriteTimeLimitMs + 110);
    EXPECT_TRUE(Said("Str109"));
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
    EXPECT_FALSE(state.read_complete);
}

// Stops block transfers of the given directions once `after` chunk boundaries have passed, as
// the loading window's Cancel (both directions) or a closing window (reads only) do.
class StoppingAfter final : public TransferUi {
public:
    bool StopRequested(TransferDirection direction) override {
        if (directions.count(direction) == 0) {
            return false;
        }
        return ++boundaries > after;
    }
    std::set<TransferDirection> directions;
    int after = 0;
    int boundaries = 0;
};

// A read the user cancels is given up at a chunk boundary: nothing shown, the pages stay
// covered, nothing counts as read, and no pass reads again until the user asks. The user is
// told at once, in a message and on the cover, that nothing was read and that Read goes on.
TEST_F(TransferLimits, ACancelledReadShowsNothingSaysSoAndIsNotTriedAgain) {
    const DataBuf shown = state.data_buf;
    StoppingAfter cancel;
    cancel.directions = {TransferDirection::kRead, TransferDirection::kWrite};
    // The codes' block and its chunk, the parameters' block, then ten of its chunks.
    cancel.after = 3 + 10;
    protocol.SetTransferUi(&cancel);
    ReadButton();
    protocol.SetTransferUi(nullptr);
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 1 + 10);
    EXPECT_FALSE(state.read_complete);
    EXPECT_FALSE(host.read_complete);
    EXPECT_TRUE(host.pages_covered);
    EXPECT_FALSE(host.Saw("ShowPageValues"));
    EXPECT_EQ(state.data_buf, shown);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], UserMessage::OnCover(kReadStoppedMessage));
    EXPECT_EQ(host.cover_note, host.messages[0]);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);

    Forget();
    Pass();
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.cover_note.has_value());
    Apply();  // and nothing is written over the mouse
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_TRUE(Said(kReadFailedMessage));

    Forget();
    ReadButton();
    EXPECT_TRUE(state.read_complete);
    EXPECT_FALSE(host.pages_covered);
    EXPECT_FALSE(host.cover_note.has_value());
    EXPECT_TRUE(host.messages.empty());
}

// A write the user cancels stops at a chunk boundary; the user is told the mouse may hold part
// of it, and the transaction still ends with Reload and Close.
TEST_F(TransferLimits, ACancelledWriteSaysTheMouseMayHoldAPartialWrite) {
    const auto file = ProfileFile("velq-cancel-load-");
    struct Case {
        const char* name;
        std::function<void()> write;
        int chunks_written;  // before the cancel
        int whole_block;
    };
    const std::vector<Case> cases = {
        {"Apply",
         [this] {
             MouseConfig pages = host.shown;
             pages.dpi.levels[0].value = pages.dpi.levels[0].value == 11 ? 10 : 11;
             host.page_values = pages;
             Apply();
             host.page_values.reset();
         },
         20, 43},
        {"reset", [this] { Reset(1); }, 100, 342},
        {"profile load", [this] { LoadProfile(); }, 100, 342},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadButton();
        ASSERT_TRUE(state.read_complete);
        Forget();
        StoppingAfter cancel;
        cancel.directions = {TransferDirection::kRead, TransferDirection::kWrite};
        cancel.after = 1 + c.chunks_written;  // the check before the block, then its chunks
        protocol.SetTransferUi(&cancel);
        host.next_file = file;
        c.write();
        protocol.SetTransferUi(nullptr);
        EXPECT_EQ(mouse->CountRequests(Command::kWriteNext), c.chunks_written);
        EXPECT_LT(mouse->CountRequests(Command::kWriteNext), c.whole_block);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].keys, (std::vector<std::string>{kPartialWriteMessage}));
        EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
        EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
        EXPECT_FALSE(host.pages_covered);
        EXPECT_TRUE(host.dev_timer);
    }
    std::filesystem::remove(file);
}

// Closing the window gives up reads but lets a write finish: a parameter area half written is
// worse than a short wait.
TEST_F(TransferLimits, ClosingAbandonsAReadAndFinishesAWrite) {
    host.closing = true;
    StoppingAfter closing;
    closing.directions = {TransferDirection::kRead};
    closing.after = 3 + 5;
    protocol.SetTransferUi(&closing);
    ReadButton();
    EXPECT_FALSE(state.read_complete);
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 1 + 5);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
    EXPECT_TRUE(host.messages.empty());

    // Closing from the start: the write goes through, its read-back and repairs included.
    Forget();
    closing.after = 0;
    state.read_complete = true;
    mouse->NeverAcknowledgeWriteChunk(100);
    Reset(2);
    mouse->NeverAcknowledgeWriteChunk(-1);
    protocol.SetTransferUi(nullptr);
    EXPECT_EQ(Writes(0, 2048), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 2);  // the check, then after repair
    EXPECT_TRUE(std::equal(state.defaults.eeprom[2].begin(), state.defaults.eeprom[2].end(),
                           mouse->MemoryCopy().begin()));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(state.read_complete);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
}

}  // namespace
}  // namespace velq::test
