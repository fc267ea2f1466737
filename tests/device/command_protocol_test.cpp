#include "device/command_protocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "device_fixture.h"

namespace velq::test {
namespace {

using Protocol = DeviceFixture;

TEST_F(Protocol, SendCommandWithoutADeviceFailsAtOnceWithoutWaiting) {
    EXPECT_FALSE(protocol.SendCommand(Command::kOpen));
    EXPECT_TRUE(clock.waits.empty());
    std::vector<uint8_t> destination(10, 0);
    EXPECT_FALSE(protocol.ReadBlock(0, 10, destination));
    EXPECT_EQ(destination, std::vector<uint8_t>(10, 0xFF));
    EXPECT_EQ(protocol.PollButtons(), 0);
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(Protocol, AcknowledgedCommandWaitsOnceAndKeepsTheAnswer) {
    OpenTheMouse();
    ASSERT_TRUE(protocol.SendCommand(Command::kOpen));
    EXPECT_EQ(clock.waits, (std::vector<int>{10}));
    EXPECT_EQ(protocol.Report()[1], kOpenAnswer);
    EXPECT_EQ(protocol.Report()[7], kStatusDone);
    EXPECT_EQ(mouse->Requests().at(0), (ReportBytes{0x04, 0x01, 0, 0, 0, 0, 0, 0}));
}

// Refusal (0x55) ends the polling of an attempt at once; "not finished" (0) polls five times
// with a wait after each.
TEST_F(Protocol, UnacknowledgedCommandRetriesWithTheExactWaits) {
    struct Case {
        const char* name;
        bool refuse;
        int requests;
        int64_t elapsed_ms;
    };
    for (const Case& c :
         {Case{"refused", true, 5, 5 * 10}, Case{"never finished", false, 5, 5 * (10 + 5 * 10)}}) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<VirtualMouse>();
        VirtualBackend local_backend{mouse};
        DeviceLink local_link{local_backend};
        RecordingClock local_clock;
        CommandProtocol local{local_link, local_clock};
        uint16_t release = kMouseReleaseNumber;
        ASSERT_TRUE(local_link.OpenMouse(MouseVendorId, MouseProductId, release));
        if (c.refuse) {
            mouse->NakNextExchanges(1000);
        } else {
            mouse->AnswerNotFinished(1000);
        }
        EXPECT_FALSE(local.SendCommand(Command::kStatus));
        EXPECT_EQ(static_cast<int>(mouse->Requests().size()), c.requests);
        EXPECT_EQ(local_clock.NowMs(), c.elapsed_ms);
    }
}

TEST_F(Protocol, NotFinishedThenDoneSucceedsAfterTheExtraPolls) {
    OpenTheMouse();
    mouse->AnswerNotFinished(2);
    ASSERT_TRUE(protocol.SendCommand(Command::kClose));
    EXPECT_EQ(clock.waits, (std::vector<int>{10, 10, 10}));
    EXPECT_EQ(mouse->Requests().size(), 1u);
}

TEST_F(Protocol, ReadBlockChunksAndFillsTheRestWith0xFF) {
    struct Case {
        uint16_t address;
        uint16_t length;
        int chunks;
    };
    const Case cases[] = {{0, 255, 43}, {0x500, 256, 43}, {0x36, 2, 1},
                          {0, 6, 1},    {0x100, 12, 2},   {0, 2048, 342}};
    VirtualMouse::Memory memory{};
    std::iota(memory.begin(), memory.end(), 0);
    OpenTheMouse();
    mouse->SetMemory(0, memory);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        mouse->ClearRequests();
        std::vector<uint8_t> destination(2100, 0);
        ASSERT_TRUE(protocol.ReadBlock(c.address, c.length, destination));
        const auto requests = mouse->Requests();
        EXPECT_EQ(requests.at(0), (ReportBytes{0x04, 0x04, static_cast<uint8_t>(c.address & 0xFF),
                                               static_cast<uint8_t>(c.address >> 8),
                                               static_cast<uint8_t>(c.length & 0xFF),
                                               static_cast<uint8_t>(c.length >> 8), 0, 0}));
        EXPECT_EQ(mouse->CountRequests(Command::kReadNext), c.chunks);
        for (size_t i = 0; i < destination.size(); ++i) {
            const uint8_t expected = i < c.length ? memory[(c.address + i) % 2048] : 0xFF;
            ASSERT_EQ(destination[i], expected) << "byte " << i;
        }
    }
}

TEST_F(Protocol, ReadOfTheVendorCodesMatchesTheWireExample) {
    OpenTheMouse();
    const uint8_t codes[] = {0x12, 0x34};
    mouse->SetMemory(0x36, codes);
    uint8_t destination[2] = {};
    ASSERT_TRUE(protocol.ReadBlock(0x36, 2, destination));
    const auto requests = mouse->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], (ReportBytes{0x04, 0x04, 0x36, 0x00, 0x02, 0x00, 0x00, 0x00}));
    EXPECT_EQ(requests[1], (ReportBytes{0x04, 0x05, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(destination[0], 0x12);
    EXPECT_EQ(destination[1], 0x34);
    // ReadBegin 10 ms, then one chunk 5 ms.
    EXPECT_EQ(clock.waits, (std::vector<int>{10, 5}));
}

TEST_F(Protocol, ReadBlockNeverWritesBeyondASmallDestination) {
    OpenTheMouse();
    std::vector<uint8_t> buffer(16, 0xEE);
    ASSERT_TRUE(protocol.ReadBlock(0, 255, std::span(buffer).first(10)));
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + 10, buffer.end()),
              std::vector<uint8_t>(6, 0xEE));
}

TEST_F(Protocol, FailedReadChunkDeliversSix0xFFAndTheReadStillSucceeds) {
    OpenTheMouse();
    VirtualMouse::Memory zeros{};
    mouse->SetMemory(0, zeros);
    mouse->RefuseCommand(Command::kReadNext, 5);  // every attempt of the first chunk
    std::vector<uint8_t> destination(12, 0);
    ASSERT_TRUE(protocol.ReadBlock(0, 12, destination));
    EXPECT_EQ(destination,
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Protocol, WriteBlockStoresBytesWithTheExactChunksAndFiller) {
    OpenTheMouse();
    std::vector<uint8_t> source(8);
    std::iota(source.begin(), source.end(), 0x10);  // 10 11 .. 17
    ASSERT_TRUE(protocol.WriteBlock(0x200, 8, source));
    const auto requests = mouse->Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], (ReportBytes{0x04, 0x06, 0x00, 0x02, 0x08, 0x00, 0x00, 0x00}));
    EXPECT_EQ(requests[1], (ReportBytes{0x04, 0x07, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15}));
    // Short last chunk: two data bytes, then what the staging buffer still held.
    EXPECT_EQ(requests[2], (ReportBytes{0x04, 0x07, 0x16, 0x17, 0x12, 0x13, 0x14, 0x15}));
    const auto memory = mouse->MemoryCopy();
    EXPECT_TRUE(std::equal(source.begin(), source.end(), memory.begin() + 0x200));
    EXPECT_EQ(memory[0x208], 0xFF);  // the filler is not stored
    EXPECT_EQ(protocol.Counts().unacknowledged_writes, 0);
    // WriteBegin 10 ms; each chunk 10 ms after the set.
    EXPECT_EQ(clock.waits, (std::vector<int>{10, 10, 10}));
}

TEST_F(Protocol, SingleShortChunkIsPaddedWith0xFF) {
    OpenTheMouse();
    const uint8_t two[] = {0xAB, 0xCD};
    ASSERT_TRUE(protocol.WriteBlock(0x10, 2, two));
    EXPECT_EQ(mouse->Requests().at(1),
              (ReportBytes{0x04, 0x07, 0xAB, 0xCD, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(Protocol, UnacknowledgedWriteChunksAreCountedButTheBytesOnTheWireStayTheSame) {
    OpenTheMouse();
    mouse->NeverAcknowledgeWriteChunk(2);
    std::vector<uint8_t> source(255, 0x42);
    protocol.ResetCounts();
    ASSERT_TRUE(protocol.WriteBlock(0, 255, source));
    EXPECT_EQ(protocol.Counts().unacknowledged_writes, 1);
    // 43 chunks, the refused one sent five times.
    EXPECT_EQ(mouse->CountRequests(Command::kWriteNext), 43 + 4);
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[11], 0x42);
    EXPECT_EQ(memory[12], 12);    // chunk 2 never stored: the factory byte stays
    EXPECT_EQ(memory[18], 0x42);  // the chunks after it land at their own addresses
    EXPECT_EQ(memory[254], 0x42);
    ASSERT_TRUE(protocol.WriteBlock(0, 255, source));
    EXPECT_EQ(protocol.Counts().unacknowledged_writes, 2);  // counts until the flow resets it
    protocol.ResetCounts();
    EXPECT_EQ(protocol.Counts().unacknowledged_writes, 0);
}

// Once the mouse is unplugged no answer can come: the transfer ends at once instead of waiting
// out five attempts for every remaining chunk.
TEST_F(Protocol, UnplugInTheMiddleOfATransferEndsItAtOnce) {
    OpenTheMouse();
    mouse->UnplugAfterExchanges(11);  // ReadBegin and ten chunks sent, the tenth unanswered
    std::vector<uint8_t> image(2048, 0);
    ASSERT_TRUE(protocol.ReadBlock(0, 2048, image));
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 10);
    EXPECT_EQ(image[53], 53);    // chunk 9 arrived
    EXPECT_EQ(image[54], 0xFF);  // chunk 10 was sent but its answer never came
    EXPECT_LT(clock.NowMs(), 10 + 10 * 5 + 200);

    mouse->SetPlugged(true);
    uint16_t release = kMouseReleaseNumber;
    ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    mouse->ClearRequests();
    mouse->UnplugAfterExchanges(4);  // WriteBegin and three chunks
    protocol.ResetCounts();
    ASSERT_TRUE(protocol.WriteBlock(0, 255, image));
    EXPECT_EQ(protocol.Counts().unacknowledged_writes,
              43 - 2);  // the third chunk's answer never came
    EXPECT_FALSE(protocol.SendCommand(Command::kClose));
}

// A block transfer returns true once its Begin was acknowledged; what happened to its chunks is
// in the counts. A chunk whose first answer was lost is counted as retried: the mouse acted on
// the first request and moved on, so the repeated request fetched (or stored) the next chunk.
TEST_F(Protocol, ChunkCountsTellUnansweredAndRetriedChunks) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        bool write;
        ChunkCounts expected;
        bool data_shifted;
    };
    const std::vector<Case> cases = {
        {"clean read", [](VirtualMouse&) {}, false, {}, false},
        {"read chunk never answered",
         [](VirtualMouse& m) { m.NeverAnswerReadChunk(3); },
         false,
         {.unanswered_reads = 1},
         false},
        {"read answer lost once",
         [](VirtualMouse& m) { m.LoseFirstAnswerOfChunk(3); },
         false,
         {.retried_reads = 1},
         true},
        {"unplugged mid-read",
         [](VirtualMouse& m) { m.UnplugAfterExchanges(6); },
         false,
         {.unanswered_reads = 43 - 4},
         false},
        {"clean write", [](VirtualMouse&) {}, true, {}, false},
        {"write answer lost once",
         [](VirtualMouse& m) { m.LoseFirstAnswerOfChunk(3); },
         true,
         {.retried_writes = 1},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<VirtualMouse>();
        VirtualBackend local_backend{mouse};
        DeviceLink local_link{local_backend};
        VirtualClock local_clock;
        CommandProtocol local{local_link, local_clock};
        uint16_t release = kMouseReleaseNumber;
        ASSERT_TRUE(local_link.OpenMouse(MouseVendorId, MouseProductId, release));
        const VirtualMouse::Memory before = mouse->MemoryCopy();
        c.fault(*mouse);
        std::vector<uint8_t> data(255);
        std::iota(data.begin(), data.end(), uint8_t{0x40});
        local.ResetCounts();
        if (c.write) {
            ASSERT_TRUE(local.WriteBlock(0, 255, data));
            const VirtualMouse::Memory after = mouse->MemoryCopy();
            EXPECT_EQ(!std::equal(data.begin(), data.end(), after.begin()), c.data_shifted);
        } else {
            ASSERT_TRUE(local.ReadBlock(0, 255, data));
            const bool same = std::equal(data.begin(), data.end(), before.begin());
            EXPECT_EQ(!same, c.data_shifted || c.expected.unanswered_reads > 0);
        }
        const ChunkCounts& counts = local.Counts();
        EXPECT_EQ(counts.unanswered_reads, c.expected.unanswered_reads);
        EXPECT_EQ(counts.unacknowledged_writes, c.expected.unacknowledged_writes);
        EXPECT_EQ(counts.retried_reads, c.expected.retried_reads);
        EXPECT_EQ(counts.retried_writes, c.expected.retried_writes);
    }
}

// A mouse that stops answering in the middle of a block: after three chunks in a row went
// unanswered the rest of the block is given up, not waited out chunk by chunk.
TEST_F(Protocol, ABlockIsGivenUpWhenTheMouseStopsAnswering) {
    OpenTheMouse();
    mouse->RefuseCommand(Command::kReadNext, 1000);
    std::vector<uint8_t> image(2048, 0);
    protocol.ResetCounts();
    ASSERT_TRUE(protocol.ReadBlock(0, 2048, image));
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 3 * 5);
    EXPECT_EQ(protocol.Counts().unanswered_reads, 342);
    EXPECT_LT(clock.NowMs(), 1000);

    mouse->RefuseCommand(Command::kWriteNext, 1000);
    mouse->ClearRequests();
    protocol.ResetCounts();
    ASSERT_TRUE(protocol.WriteBlock(0, 2048, image));
    EXPECT_EQ(mouse->CountRequests(Command::kWriteNext), 3 * 5);
    EXPECT_EQ(protocol.Counts().unacknowledged_writes, 342);

    // A lone failed chunk does not stop the block.
    mouse->RefuseCommand(Command::kReadNext, 5);
    mouse->ClearRequests();
    protocol.ResetCounts();
    ASSERT_TRUE(protocol.ReadBlock(0, 60, image));
    EXPECT_EQ(protocol.Counts().unanswered_reads, 1);
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 5 + 9);
}

TEST_F(Protocol, WriteBlockRefusesASourceShorterThanTheLength) {
    OpenTheMouse();
    std::vector<uint8_t> source(5, 0);
    EXPECT_FALSE(protocol.WriteBlock(0, 6, source));
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(Protocol, WriteBlockIsRefusedWithoutWritePermission) {
    OpenTheMouse();
    mouse->SetWriteEnabled(false);
    std::vector<uint8_t> source(6, 0x11);
    EXPECT_FALSE(protocol.WriteBlock(0, 6, source));
    EXPECT_EQ(mouse->CountRequests(Command::kWriteNext), 0);
}

// A HID interface whose get-feature requests always fail: the buffer keeps the request, and
// a WriteNext whose sixth data byte is 0xCC must not pass for an acknowledged chunk.
class FailingGetDevice final : public HidDevice {
public:
    HidAttributes Attributes() const override {
        return {MouseVendorId, MouseProductId, kMouseReleaseNumber};
    }
    std::vector<int> FeatureReportLengths() const override { return {8}; }
    bool SetFeature(std::span<const uint8_t>) override { return true; }
    bool GetFeature(std::span<uint8_t>) override { return false; }
};

class FailingGetBackend final : public HidBackend {
public:
    std::vector<std::string> EnumerateHid() override { return {"failing"}; }
    std::unique_ptr<HidDevice> OpenHid(const std::string&) override {
        return std::make_unique<FailingGetDevice>();
    }
    std::vector<std::string> EnumerateClass(const std::string&) override { return {}; }
    std::unique_ptr<DriverDevice> OpenDriverDevice(const std::string&) override { return nullptr; }
};

TEST(ProtocolFailedGet, NeverCountsAsAcknowledged) {
    FailingGetBackend backend;
    DeviceLink link{backend};
    RecordingClock clock;
    CommandProtocol protocol{link, clock};
    uint16_t release = kMouseReleaseNumber;
    ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_FALSE(protocol.SendCommand(Command::kReload));
    // Treated as "not finished": the full 5 x (10 + 5 x 10) ms.
    EXPECT_EQ(clock.NowMs(), 300);
}

TEST_F(Protocol, PollButtonsReturnsTheHeldMaskWithItsTiming) {
    OpenTheMouse();
    mouse->SetButtonsHeld(0x0105);
    EXPECT_EQ(protocol.PollButtons(), 0x0105);
    EXPECT_EQ(clock.waits, (std::vector<int>{5, 5}));  // before the set, before the poll
    mouse->NakNextExchanges(1000);
    clock.waits.clear();
    EXPECT_EQ(protocol.PollButtons(), 0);
    EXPECT_EQ(mouse->CountRequests(Command::kStatus), 1 + 10);
    EXPECT_EQ(clock.waits.size(), 20u);  // ten attempts, one poll each
}

// The transfer's callbacks between chunks must not start a second exchange.
class ReenteringUi final : public TransferUi {
public:
    explicit ReenteringUi(CommandProtocol& protocol) : protocol_(protocol) {}
    void ShowLoadingWindow() override {
        ++shown;
        Reenter();
    }
    bool StopRequested(TransferDirection) override {
        ++asked;
        Reenter();
        return false;
    }
    int shown = 0;
    int asked = 0;
    int nested_ran = 0;

private:
    void Reenter() {
        std::vector<uint8_t> bytes(6);
        if (protocol_.SendCommand(Command::kStatus) || protocol_.ReadBlock(0, 6, bytes)) {
            ++nested_ran;
        }
    }
    CommandProtocol& protocol_;
};

TEST_F(Protocol, CallbacksBetweenChunksStartNoSecondExchange) {
    OpenTheMouse();
    ReenteringUi ui(protocol);
    protocol.SetTransferUi(&ui);
    std::vector<uint8_t> destination(12);
    ASSERT_TRUE(protocol.ReadBlock(0, 12, destination, LoadingWindow::kShown));
    EXPECT_EQ(ui.shown, 2);
    EXPECT_EQ(ui.nested_ran, 0);
    EXPECT_EQ(mouse->CountRequests(Command::kStatus), 0);
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 1);

    ASSERT_TRUE(protocol.ReadBlock(0, 12, destination, LoadingWindow::kHidden));
    EXPECT_EQ(ui.shown, 2);

    ASSERT_TRUE(protocol.WriteBlock(0, 12, destination));
    EXPECT_EQ(ui.shown, 4);  // before every write chunk
    EXPECT_GT(ui.asked, 0);
    EXPECT_EQ(ui.nested_ran, 0);
    protocol.SetTransferUi(nullptr);
    EXPECT_TRUE(protocol.SendCommand(Command::kStatus));  // free again afterwards
}

// Asked to stop, a transfer ends at its next chunk boundary: the rest is counted as lost and
// later blocks in that direction are not begun, while commands (Reload, Close) still go out.
class StoppingUi final : public TransferUi {
public:
    bool StopRequested(TransferDirection direction) override {
        return direction == stopping && ++boundaries > after_chunks;
    }
    TransferDirection stopping = TransferDirection::kRead;
    int after_chunks = 0;
    int boundaries = 0;
};

TEST_F(Protocol, AStopEndsTheTransferAtAChunkBoundary) {
    struct Case {
        const char* name;
        TransferDirection direction;
    };
    for (const Case c :
         {Case{"read", TransferDirection::kRead}, Case{"write", TransferDirection::kWrite}}) {
        SCOPED_TRACE(c.name);
        OpenTheMouse();
        StoppingUi ui;
        ui.stopping = c.direction;
        ui.after_chunks = 1 + 10;  // the check before the block, then ten chunks
        protocol.SetTransferUi(&ui);
        protocol.ResetCounts();
        std::vector<uint8_t> bytes(255, 0x5A);
        const bool read = c.direction == TransferDirection::kRead;
        ASSERT_TRUE(read ? protocol.ReadBlock(0, 255, bytes) : protocol.WriteBlock(0, 255, bytes));
        EXPECT_EQ(mouse->CountRequests(read ? Command::kReadNext : Command::kWriteNext), 10);
        EXPECT_TRUE(protocol.Counts().stopped);
        EXPECT_EQ(
            read ? protocol.Counts().unanswered_reads : protocol.Counts().unacknowledged_writes,
            43 - 10);
        if (read) {
            EXPECT_EQ(bytes[59], 59);    // chunk 9 arrived
            EXPECT_EQ(bytes[60], 0xFF);  // chunk 10 was never asked for
        }
        // The next block of that direction is not begun; the other direction still runs.
        mouse->ClearRequests();
        EXPECT_FALSE(read ? protocol.ReadBlock(0, 12, bytes) : protocol.WriteBlock(0, 12, bytes));
        EXPECT_EQ(mouse->CountRequests(read ? Command::kReadBegin : Command::kWriteBegin), 0);
        EXPECT_TRUE(read ? protocol.WriteBlock(0x300, 6, bytes) : protocol.ReadBlock(0, 6, bytes));
        EXPECT_TRUE(protocol.SendCommand(Command::kReload));
        EXPECT_TRUE(protocol.SendCommand(Command::kClose));
        // A read that is part of a write (its read-back) is stopped as the write is.
        {
            const PartOfWrite writing(protocol);
            EXPECT_EQ(protocol.ReadBlock(0, 6, bytes), read);
        }
        protocol.SetTransferUi(nullptr);
    }
}

// A mouse whose firmware hung: every request waits out the kernel's time (5 s) and fails.
// Without a limit one exchange would take five attempts of one set and five gets: 150 s. A
// TimeLimit ends everything in time, allowing for the slowest request seen, and block
// transfers stop a reserve earlier so that Reload and Close still fit on a mouse that answers.
TEST_F(Protocol, ATimeLimitBoundsAMouseThatStopsAnswering) {
    struct Case {
        const char* name;
        int hang_after;  // set-feature requests answered before the mouse hangs
        int request_ms;
        int64_t limit_ms;
    };
    const Case cases[] = {
        {"hangs at once, 5 s requests", 0, 5000, 10000},
        {"hangs mid-block, 5 s requests", 20, 5000, 10000},
        {"hangs mid-block, 300 ms requests", 20, 300, 10000},
        {"hangs mid-block, 300 ms requests, long limit", 20, 300, 30000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<VirtualMouse>();
        VirtualBackend local_backend{mouse};
        DeviceLink local_link{local_backend};
        RecordingClock local_clock;
        CommandProtocol local{local_link, local_clock};
        uint16_t release = kMouseReleaseNumber;
        ASSERT_TRUE(local_link.OpenMouse(MouseVendorId, MouseProductId, release));
        mouse->HangAfterRequests(c.hang_after, local_clock, c.request_ms);
        const int64_t start = local_clock.NowMs();
        {
            const TimeLimit limit(local, c.limit_ms);
            std::vector<uint8_t> image(2048);
            (void)local.SendCommand(Command::kOpen);
            const bool read = local.ReadBlock(0, 2048, image) && local.Counts().ReadsComplete();
            (void)local.SendCommand(Command::kReload);
            (void)local.SendCommand(Command::kClose);
            EXPECT_FALSE(read);
            EXPECT_TRUE(local.Counts().out_of_time);
        }
        EXPECT_LE(local_clock.NowMs() - start, c.limit_ms);
        EXPECT_GT(mouse->HungRequests(), 0);
        // Once the limit has ended, exchanges run again as before.
        mouse->AnswerAgain();
        EXPECT_TRUE(local.SendCommand(Command::kClose));
    }
}

TEST_F(Protocol, TimeLimitsNestAndLeaveTheReserveToCommands) {
    OpenTheMouse();
    const TimeLimit outer(protocol, 30000);
    {
        const TimeLimit inner(protocol, 10000, 1000);
        EXPECT_EQ(protocol.TransferDeadline(), clock.NowMs() + 9000);
        clock.SleepMs(9500);
        std::vector<uint8_t> bytes(12);
        protocol.ResetCounts();
        EXPECT_FALSE(protocol.ReadBlock(0, 12, bytes));  // past the transfers' end
        EXPECT_TRUE(protocol.Counts().out_of_time);
        EXPECT_TRUE(protocol.SendCommand(Command::kReload));  // commands still fit
        clock.SleepMs(600);
        EXPECT_FALSE(protocol.SendCommand(Command::kClose));  // past the limit
    }
    std::vector<uint8_t> bytes(12);
    EXPECT_TRUE(protocol.ReadBlock(0, 12, bytes));  // the outer limit is back
}

TEST_F(Protocol, StatusAnswersAreParsed) {
    OpenTheMouse();
    struct Case {
        uint8_t chip_code;
        uint8_t chip_number;
    };
    for (const Case c : {Case{0x35, 0x90}, Case{0x75, 0x99}, Case{0xFD, 0x98}, Case{0x36, 0}}) {
        mouse->SetChipCode(c.chip_code);
        ASSERT_TRUE(protocol.SendCommand(Command::kStatus));
        const StatusAnswer status = ParseStatus(protocol.Report());
        EXPECT_TRUE(status.signature_ok);
        EXPECT_TRUE(status.write_enabled);
        EXPECT_EQ(status.chip_number, c.chip_number);
    }
    mouse->SetWriteEnabled(false);
    mouse->SetSignature(0x00);
    ASSERT_TRUE(protocol.SendCommand(Command::kStatus));
    EXPECT_FALSE(ParseStatus(protocol.Report()).signature_ok);
    EXPECT_FALSE(ParseStatus(protocol.Report()).write_enabled);

    mouse->SetDriverMode(true);
    for (uint8_t led = 0; led < 4; ++led) {
        mouse->SetLedType(led);
        ASSERT_TRUE(
            protocol.SendCommand(Command::kStatus, kStatusModeQuery, kStatusDriverStateNext));
        const ModeAnswer mode = ParseModeStatus(protocol.Report());
        EXPECT_TRUE(mode.driver_mode);
        EXPECT_EQ(mode.led_type, led);
    }
}

TEST_F(Protocol, DriverRequestsRoundTripThroughTheCompanionDriver) {
    backend.SetDriverPresent(true);
    ASSERT_TRUE(link.OpenDriver(mouse->DriverNumber()));
    const std::vector<uint8_t> bytes = {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    protocol.DriverWrite(0xF0, bytes);
    EXPECT_EQ(protocol.DriverRead(0xF0, 13), bytes);
    EXPECT_EQ(backend.Driver().image[0xF2], 1);
    // A request outside the image is not served: the buffer comes back as sent.
    EXPECT_EQ(protocol.DriverRead(40960 - 2, 4), std::vector<uint8_t>(4, 0));
}

TEST_F(Protocol, DriverRequestsWithoutADriverReturnZeros) {
    EXPECT_EQ(protocol.DriverRead(0, 48), std::vector<uint8_t>(48, 0));
    protocol.DriverWrite(0, std::vector<uint8_t>(4, 1));  // nothing to send it to
    EXPECT_FALSE(link.OpenDriver(mouse->DriverNumber()));
}

}  // namespace
}  // namespace velq::test
