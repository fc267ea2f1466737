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
#include "flows/mouse_history.h"
#include "flows/verified_write.h"

namespace velq::test {
namespace {

// The USB control transfer timeout the kernel waits out for a mouse that does not answer.
constexpr int kKernelTimeoutMs = 5000;

// A reset and a profile load first keep the whole mouse in the undo history, in a read of its
// own: Open, Status, ReadBegin, 342 chunks, Reload and Close are its requests; the check before
// its block and one per chunk are its chunk boundaries. A case aimed at the write counts past it.
constexpr int kHistoryReadRequests = 347;
constexpr int kHistoryReadBoundaries = 343;

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
    struct Write {
        const char* name;
        std::function<void()> run;
        int requests_before;  // of the read kept in the undo history
    };
    const std::vector<Write> writes = {
        {"reset", [this] { Reset(1); }, kHistoryReadRequests},
        {"profile load", [this] { LoadProfile(); }, kHistoryReadRequests},
        {"Apply",
         [this] {
             MouseConfig pages = host.shown;
             pages.dpi.levels[0].value = pages.dpi.levels[0].value == 11 ? 10 : 11;
             host.page_values = pages;
             Apply();
         },
         0},
    };
    const Silence silences[] = {
        {"silent mid-write, requests fail at once", 20, 0},
        {"silent mid-write, requests take 1 s", 20, 1000},
        {"silent mid-write, requests wait out the kernel", 20, kKernelTimeoutMs},
        {"silent during the read-back", 400, kKernelTimeoutMs, true},
    };
    for (const Write& write : writes) {
        for (const Silence& silence : silences) {
            if (silence.whole_memory_only && std::string(write.name) == "Apply") {
                continue;
            }
            SCOPED_TRACE(std::string(write.name) + ": " + silence.name);
            mouse->AnswerAgain();
            ReadButton();
            ASSERT_TRUE(state.read_complete);
            Forget();
            // The read for the undo history, on its own, to know how long it takes.
            const int64_t history_start = clock.NowMs();
            if (write.requests_before > 0) {
                ASSERT_TRUE(KeepMouseInHistory(protocol, "load", LoadingWindow::kHidden));
                mouse->ClearRequests();
            }
            const int64_t history_ms = clock.NowMs() - history_start;
            mouse->HangAfterRequests(write.requests_before + silence.after, clock,
                                     silence.request_ms);
            host.next_file = file;
            const int64_t start = clock.NowMs();
            write.run();
            // The button's pause (11 x 10 ms) and the read for the undo history come before
            // the write and its limit.
            EXPECT_LE(clock.NowMs() - start, kWriteTimeLimitMs + 110 + history_ms);
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
    // The read for the undo history, on its own, to know how long it takes.
    const int64_t history_start = clock.NowMs();
    ASSERT_TRUE(KeepMouseInHistory(protocol, "load", LoadingWindow::kHidden));
    const int64_t history_ms = clock.NowMs() - history_start;
    mouse->ClearRequests();
    const int64_t start = clock.NowMs();
    Reset(1);
    // The button's pause and the read for the undo history come before the write's limit.
    EXPECT_LE(clock.NowMs() - start, kWriteTimeLimitMs + 110 + history_ms);
    EXPECT_TRUE(Said("Str109"));
    // The read for the undo history and the write: two transactions, both closed.
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 2);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);
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
        int history_boundaries;  // of the read kept in the undo history first
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
         20, 43, 0},
        {"reset", [this] { Reset(1); }, 100, 342, kHistoryReadBoundaries},
        {"profile load", [this] { LoadProfile(); }, 100, 342, kHistoryReadBoundaries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadButton();
        ASSERT_TRUE(state.read_complete);
        Forget();
        StoppingAfter cancel;
        cancel.directions = {TransferDirection::kRead, TransferDirection::kWrite};
        // The check before the block, then its chunks.
        cancel.after = c.history_boundaries + 1 + c.chunks_written;
        protocol.SetTransferUi(&cancel);
        host.next_file = file;
        c.write();
        protocol.SetTransferUi(nullptr);
        EXPECT_EQ(mouse->CountRequests(Command::kWriteNext), c.chunks_written);
        EXPECT_LT(mouse->CountRequests(Command::kWriteNext), c.whole_block);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].keys, (std::vector<std::string>{kPartialWriteMessage}));
        const int transactions = c.history_boundaries > 0 ? 2 : 1;
        EXPECT_EQ(mouse->CountRequests(Command::kReload), transactions);
        EXPECT_EQ(mouse->CountRequests(Command::kClose), transactions);
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

    // Closing from the start of the write (after the read kept in the undo history): the write
    // goes through, its read-back and repairs included.
    Forget();
    closing.boundaries = 0;
    closing.after = kHistoryReadBoundaries;
    state.read_complete = true;
    mouse->NeverAcknowledgeWriteChunk(100);
    Reset(2);
    mouse->NeverAcknowledgeWriteChunk(-1);
    protocol.SetTransferUi(nullptr);
    EXPECT_EQ(Writes(0, 2048), 1);
    // The undo history's read, the check, then after repair.
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 3);
    EXPECT_TRUE(std::equal(state.defaults.eeprom[2].begin(), state.defaults.eeprom[2].end(),
                           mouse->MemoryCopy().begin()));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(state.read_complete);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 2);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);

    // Closing during the read for the undo history gives it up, and nothing is written: the
    // mouse keeps what it holds.
    Forget();
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    closing.boundaries = 0;
    closing.after = 10;
    protocol.SetTransferUi(&closing);
    Reset(1);
    protocol.SetTransferUi(nullptr);
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(mouse->MemoryCopy(), before);
    EXPECT_TRUE(Said(kHistoryReadFailedMessage));
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
}

}  // namespace
}  // namespace velq::test
