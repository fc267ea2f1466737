#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <QComboBox>
#include <QLineEdit>

#include "common/checksum.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/ui/device_controller.h"
#include "gui/gui_test_rig.h"
#include "gui_flows/gui_flows_fixture.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/message_presenter.h"

namespace velq::ui::testing {
namespace {

using DeviceFlowsGui = GuiFlowsTest;

TEST_F(DeviceFlowsGui, StartUpFindsTheMouseAndUncoversThePages) {
    StartController();
    EXPECT_TRUE(rig.window->no_device_page());
    EXPECT_TRUE(Covered());
    ASSERT_TRUE(WaitFor([&] { return !rig.window->no_device_page(); }));
    EXPECT_FALSE(Covered());
    EXPECT_TRUE(rig.window->device_handle_present());
    EXPECT_EQ(rig.Text("Key1"), CaptionOf(1, "Str210"));
    EXPECT_TRUE(controller->DevTimerActive());
    EXPECT_FALSE(controller->DevTimerFirstActive());
    EXPECT_TRUE(rig.messages.messages().empty());
}

TEST_F(DeviceFlowsGui, UnplugWhenReadyShowsTheNoDeviceMessageAndTheDefaults) {
    StartReady();
    mouse->SetPlugged(false);
    controller->DeviceChanged();
    ASSERT_TRUE(WaitFor([&] { return rig.window->no_device_page(); }));
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages()[0],
              CaptionOf(1, "Str100") + QStringLiteral("\r\r") + CaptionOf(1, "Str101"));
    EXPECT_TRUE(Covered());
    EXPECT_FALSE(rig.window->device_handle_present());
}

TEST_F(DeviceFlowsGui, IdentificationFailuresAreReportedAndNothingIsRead) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        const char* message;
        bool handle_kept;
    };
    const Case cases[] = {
        {"wrong device codes",
         [](VirtualMouse& m) {
             const uint8_t codes[] = {0x01, 0x02};
             m.SetMemory(0x36, codes);
         },
         "Str107", true},
        {"no write permission", [](VirtualMouse& m) { m.SetWriteEnabled(false); }, "Str020", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.fault(*mouse);
        StartController();
        ASSERT_TRUE(WaitFor([&] { return Said(c.message); }));
        EXPECT_EQ(mouse->CountRequests(Command::kReadNext), c.handle_kept ? 1 : 0);
        EXPECT_TRUE(rig.window->no_device_page());
        EXPECT_EQ(rig.window->device_handle_present(), c.handle_kept);
        Restart();
    }
}

TEST_F(DeviceFlowsGui, ApplyWritesTheParameterAreaAndSaysWhenItHasNoPermission) {
    StartReady();
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(Writes(0, 255), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kWriteNext), 43);
    EXPECT_TRUE(rig.messages.messages().empty());
    EXPECT_FALSE(Covered());

    mouse->SetWriteEnabled(false);
    mouse->ClearRequests();
    RunFlow("Btn_Apply_2");
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
    // An Apply that wrote nothing is never silent.
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages()[0].toStdString(), rig.window->captions().Caption("Str904"));
}

// Apply writes what the engineering view shows: a DPI level changed there reaches the mouse.
TEST_F(DeviceFlowsGui, ApplyFromTheFactoryPageWritesItsControls) {
    StartReady();
    auto* level1 = qobject_cast<QComboBox*>(rig.Control("cb_CPI1"));
    ASSERT_NE(level1, nullptr);
    EXPECT_EQ(level1->currentIndex(), defaults.eeprom[0][0x06]);  // shown after the read
    level1->setCurrentIndex(11);
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    RunFlow("btn_Write");
    EXPECT_EQ(Writes(0, 255), 1);
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x06], 11);
    EXPECT_EQ(memory[0x2F], SectionChecksum(std::span(memory).first(0x2F)));
}

// The office and gaming pages share the nine labels; each tab shows its own profile.
TEST_F(DeviceFlowsGui, OfficeAndGamingTabsShowTheirOwnProfile) {
    DataBuf image = defaults.eeprom[0];
    const uint8_t right_click[] = {0x01, 0x02, 0x00};
    std::copy(std::begin(right_click), std::end(right_click), image.begin() + 0x5B);
    image[0x76] = SectionChecksum(std::span(image).subspan(0x40, 54));
    mouse->SetMemory(0, image);
    StartReady();
    EXPECT_EQ(rig.Text("Key1"), CaptionOf(1, "Str210"));
    rig.window->ClickTab(Page::kGaming);
    EXPECT_EQ(rig.Text("Key1"), CaptionOf(1, "Str211"));
    rig.window->ClickTab(Page::kOffice);
    EXPECT_EQ(rig.Text("Key1"), CaptionOf(1, "Str210"));
}

// A language switch names the buttons from the codes they hold: media stop and web stop share
// their language 1 caption ("Pare") yet each keeps its own name in every language, on the
// office and gaming labels and on the factory page's rows of both profiles.
TEST_F(DeviceFlowsGui, LanguageSwitchNamesTheButtonsFromTheirCodes) {
    struct Button {
        size_t address;  // first byte of the button's code
        uint8_t code[3];
    };
    const Button media_stop_office2{0x43, {0x03, 0x00, 0xB7}};
    const Button web_stop_office3{0x46, {0x03, 0x02, 0x26}};
    const Button media_stop_gaming3{0x61, {0x03, 0x00, 0xB7}};
    const Button web_stop_gaming2{0x5E, {0x03, 0x02, 0x26}};
    DataBuf image = defaults.eeprom[0];
    for (const Button& b :
         {media_stop_office2, web_stop_office3, media_stop_gaming3, web_stop_gaming2}) {
        std::copy(std::begin(b.code), std::end(b.code), image.begin() + b.address);
    }
    image[0x76] = SectionChecksum(std::span(image).subspan(0x40, 54));
    mouse->SetMemory(0, image);
    StartReady();
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    rig.window->ClickTab(Page::kOffice);
    const auto text = [this](const char* name) {
        const QWidget* widget = rig.Control(name);
        return widget == nullptr ? QString() : widget->property("text").toString();
    };
    struct Shown {
        const char* control;
        const char* key;  // the caption of the function it holds
    };
    const Shown office[] = {{"Key2", "Str251"},       {"Key3", "Str264"},
                            {"btn_Key102", "Str251"}, {"btn_Key103", "Str264"},
                            {"btn_Key202", "Str264"}, {"btn_Key203", "Str251"}};
    for (const int language : {2, 3, 1}) {
        ASSERT_TRUE(rig.window->SwitchLanguage(language).ok);
        for (const Shown& s : office) {
            EXPECT_EQ(text(s.control), CaptionOf(language, s.key))
                << "language " << language << " " << s.control;
        }
    }
    EXPECT_EQ(text("Key2"), CaptionOf(1, "Str251"));
    rig.window->ClickTab(Page::kGaming);
    ASSERT_TRUE(rig.window->SwitchLanguage(2).ok);
    EXPECT_EQ(text("Key2"), QString::fromUtf8("网页停止"));
    EXPECT_EQ(text("Key3"), QString::fromUtf8("停止"));
}

// The factory page, built when first opened, shows what was read from the mouse.
TEST_F(DeviceFlowsGui, FactoryPageBuiltLateShowsTheReadValues) {
    StartReady();
    const int levels = defaults.eeprom[0][0x02] - 2;  // the level count's list position
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    auto* steps = qobject_cast<QComboBox*>(rig.Control("cb_CPIStep"));
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->currentIndex(), levels);
    auto* vendor = qobject_cast<QLineEdit*>(rig.Control("edt_VendorID"));
    ASSERT_NE(vendor, nullptr);
    EXPECT_EQ(vendor->text(), QString::number(defaults.eeprom[0][0x36]));
}

TEST_F(DeviceFlowsGui, LostWriteChunksAndStuckBytesShowBurnFailed) {
    StartReady();
    mouse->NeverAcknowledgeWriteChunk(3);
    RunFlow("Btn_Apply_1");
    EXPECT_TRUE(Said("Str109"));

    mouse->NeverAcknowledgeWriteChunk(-1);
    rig.messages.Clear();
    RunFlow("Btn_Confirm2_1");  // reset to the second default image
    EXPECT_EQ(mouse->MemoryCopy(), defaults.eeprom[1]);
    EXPECT_TRUE(rig.messages.messages().empty());

    const uint8_t old_value[] = {0x77};  // differs from what the reset writes there
    mouse->SetMemory(0x300, old_value);
    mouse->StickByte(0x300);
    mouse->ClearRequests();
    RunFlow("Btn_Confirm3_1");
    // The read kept in the undo history, the check and three repair passes.
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 5);
    EXPECT_TRUE(Said("Str109"));
}

TEST_F(DeviceFlowsGui, UnplugDuringApplyEndsTheFlowAndTheNextPassSeesItGone) {
    StartReady();
    mouse->UnplugAfterExchanges(12);
    RunFlow("Btn_Apply_1");
    EXPECT_FALSE(Covered());
    EXPECT_TRUE(controller->DevTimerActive());
    controller->DeviceChanged();
    ASSERT_TRUE(WaitFor([&] { return rig.window->no_device_page(); }));
    EXPECT_TRUE(Said("Str100"));
}

TEST_F(DeviceFlowsGui, WrongSizeProfileFileIsRefusedAndTheMouseKeepsItsMemory) {
    StartReady();
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-gui-profile-" + std::to_string(::getpid()) + ".bin");
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(100, '\x11');
    }
    const auto before = mouse->MemoryCopy();
    rig.files.QueueAnswer(QString::fromStdString(file.string()));
    RunFlow("Btn_Load_1");
    std::filesystem::remove(file);
    EXPECT_TRUE(Said("Str102"));
    EXPECT_EQ(mouse->MemoryCopy(), before);
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
}

// A mouse with more than a built-in image holds: aim keys with different DPIs, macros on
// buttons of both profiles, named slots and a filled fire area.
VirtualMouse::Memory RichMemory(const DataBuf& base) {
    VirtualMouse::Memory memory;
    std::copy(base.begin(), base.end(), memory.begin());
    const auto set_button = [&memory](size_t offset, std::array<uint8_t, 3> code) {
        std::copy(code.begin(), code.end(), memory.begin() + 0x40 + offset);
    };
    set_button(3 * 3, {0x0A, 0x05, 0x00});
    set_button(0x1B + 3 * 4, {0x0A, 0x02, 0x00});
    set_button(3 * 8, {0x06, 0x02, 0x21});
    set_button(0x1B + 3 * 7, {0x0E, 0x05, 0x21});
    memory[0x76] = SectionChecksum(std::span(memory).subspan(0x40, 54));
    for (size_t i = 0x100; i < 0x800; ++i) {
        memory[i] = static_cast<uint8_t>(i * 13 + 1);
    }
    return memory;
}

// Read, then Apply through the window with nothing changed, from the main page and from the
// factory page: every byte of the mouse stays as it was.
TEST_F(DeviceFlowsGui, ApplyAfterAReadChangesNothing) {
    std::vector<std::pair<std::string, VirtualMouse::Memory>> cases;
    for (size_t n = 0; n < kEepromDefaultImages; ++n) {
        VirtualMouse::Memory memory;
        std::copy(defaults.eeprom[n].begin(), defaults.eeprom[n].end(), memory.begin());
        cases.emplace_back("built-in image " + std::to_string(n), memory);
    }
    cases.emplace_back("aim keys, macros and fire area", RichMemory(defaults.eeprom[0]));
    for (const auto& [name, memory] : cases) {
        SCOPED_TRACE(name);
        Restart();
        mouse->SetMemory(0, memory);
        StartReady();
        RunFlow("Btn_Apply_1");
        EXPECT_EQ(Writes(0, 255), 1);
        EXPECT_TRUE(rig.messages.messages().empty());
        EXPECT_EQ(mouse->MemoryCopy(), memory);
        rig.window->EngineerUnlock();
        rig.window->ClickTab(Page::kEngineering);
        RunFlow("Btn_Apply_4");
        EXPECT_EQ(mouse->MemoryCopy(), memory);
        rig.window->ClickTab(Page::kOffice);
    }
}

// A profile load makes the fire area the mouse's; after an unplug it no longer is, and the
// next Apply leaves the fire macros of the mouse plugged in alone.
TEST_F(DeviceFlowsGui, AfterAReplugApplyKeepsTheFireAreaOfTheMouse) {
    StartReady();
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-gui-fire-" + std::to_string(::getpid()) + ".bin");
    {
        const DataBuf& image = defaults.eeprom[1];
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), image.size());
    }
    rig.files.QueueAnswer(QString::fromStdString(file.string()));
    RunFlow("Btn_Load_1");
    std::filesystem::remove(file);
    ASSERT_EQ(mouse->MemoryCopy(), defaults.eeprom[1]);

    mouse->SetPlugged(false);
    controller->DeviceChanged();
    ASSERT_TRUE(WaitFor([&] { return rig.window->no_device_page(); }));
    std::vector<uint8_t> fire(256, 0x5C);
    mouse->SetMemory(0x500, fire);
    const auto plugged = mouse->MemoryCopy();
    mouse->SetPlugged(true);
    controller->DeviceChanged();
    ASSERT_TRUE(WaitFor([&] { return !rig.window->no_device_page(); }));
    mouse->ClearRequests();
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(Writes(0x500, 256), 0);
    EXPECT_EQ(mouse->MemoryCopy(), plugged);
}

// The first read after plug-in fails: the pages stay covered, the user is told (the cover says
// it too), and Apply cannot write the built-in defaults over the mouse.
TEST_F(DeviceFlowsGui, AFailedFirstReadKeepsThePagesCovered) {
    mouse->NeverAnswerReadChunk(12);
    StartController();
    ASSERT_TRUE(WaitFor([&] { return Said("Str900"); }));
    EXPECT_TRUE(Covered());
    EXPECT_EQ(CoverNote(), CaptionOf(1, "Str900"));
    EXPECT_TRUE(rig.window->device_handle_present());
    const auto before = mouse->MemoryCopy();
    rig.window->CoverPages(false);  // even a click that got through the cover
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(mouse->MemoryCopy(), before);
}

// The mouse stops answering in the middle of a flow, each request held in the kernel before it
// fails; the device thread waits, the window does not.
class StalledMouseGui : public DeviceFlowsGui {
protected:
    // The window's paints, counted.
    class PaintCounter final : public QObject {
    public:
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                ++paints;
            }
            return false;
        }
        int paints = 0;
    };

    void SetUp() override {
        DeviceFlowsGui::SetUp();
        rig.window->installEventFilter(&painted);
    }
    void TearDown() override { rig.window->removeEventFilter(&painted); }

    // Runs the window for `ms` of real time asking it to repaint; true when it painted and the
    // loading window's animation moved on meanwhile.
    bool StaysLive(int ms) {
        const int paints = painted.paints;
        const int frame = loading->frame_index();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            rig.window->update();
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QTest::qWait(10);
        }
        return painted.paints > paints + 2 && loading->frame_index() != frame;
    }

    // Clicks the Cancel button of the loading window.
    void Cancel() {
        auto* cancel = loading->findChild<QWidget*>(QStringLiteral("Btn_CancelTransfer"));
        ASSERT_NE(cancel, nullptr);
        ASSERT_TRUE(cancel->isVisible());
        ASSERT_TRUE(cancel->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton, {}, cancel->rect().center());
        EXPECT_FALSE(cancel->isEnabled());
    }

    // Each request the hung mouse gets waits this long in the kernel.
    static constexpr int kHungRequestMs = 40;
    PaintCounter painted;
};

// A mouse that hangs during Apply: the click returns at once, the window keeps painting and
// its loading window turning, and closing the window waits for the write to end (finished, or
// failed and said), with Reload and Close sent; then the device thread is joined.
TEST_F(StalledMouseGui, AHangDuringApplyLeavesTheWindowLiveAndClosesCleanly) {
    StartReady();
    auto* level1 = qobject_cast<QComboBox*>(rig.Control("cb_CPI1"));
    ASSERT_NE(level1, nullptr);
    const int wanted = level1->currentIndex() == 11 ? 10 : 11;
    level1->setCurrentIndex(wanted);
    // Open, Status, WriteBegin and seven chunks reach the mouse; then it hangs.
    mouse->HangAfterRequests(10, SystemClock(), kHungRequestMs);
    QElapsedTimer click;
    click.start();
    rig.Click("Btn_Apply_1");
    EXPECT_LT(click.elapsed(), 500);
    EXPECT_TRUE(controller->Busy());
    ASSERT_TRUE(WaitFor([&] { return loading->isVisible() && mouse->HungRequests() > 0; }));
    EXPECT_TRUE(StaysLive(400));

    rig.Click("Btn_Exit_1");
    EXPECT_TRUE(rig.window->isVisible());  // the write goes on
    EXPECT_TRUE(StaysLive(300));
    mouse->AnswerAgain();
    ASSERT_TRUE(WaitFor([&] { return !rig.window->isVisible(); }));
    EXPECT_FALSE(controller->Busy());
    EXPECT_FALSE(loading->isVisible());
    const bool written = mouse->MemoryCopy()[0x06] == wanted;
    EXPECT_TRUE(written || Said("Str109"));
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
    QElapsedTimer joined;
    joined.start();
    controller.reset();
    EXPECT_LT(joined.elapsed(), 1000);
}

// Closing the window during a read gives the read up at its next chunk: nothing shown, Reload
// and Close sent, the window closed without a word.
TEST_F(StalledMouseGui, ClosingDuringAReadAbandonsItAtAChunkBoundary) {
    StartReady();
    // Open, Status, the codes' block and chunk, the parameters' block and ten chunks.
    mouse->HangAfterRequests(15, SystemClock(), kHungRequestMs);
    rig.Click("Btn_Read_1");
    ASSERT_TRUE(WaitFor([&] { return loading->isVisible() && mouse->HungRequests() > 0; }));
    EXPECT_TRUE(StaysLive(200));
    rig.Click("Btn_Exit_1");
    EXPECT_TRUE(rig.window->isVisible());
    mouse->AnswerAgain();
    ASSERT_TRUE(WaitFor([&] { return !rig.window->isVisible(); }));
    EXPECT_LT(mouse->CountRequests(Command::kReadNext), 1 + 43);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
    EXPECT_TRUE(rig.messages.messages().empty());
    EXPECT_TRUE(Covered());
    controller.reset();
}

// Cancel in the loading window: a read is given up (nothing shown, the pages stay covered and
// Apply refuses), a write stops and the user is told the mouse may hold part of it, and a reset
// stopped in the read it keeps in the undo history writes nothing and says so.
TEST_F(StalledMouseGui, CancelStopsAReadOrAWriteAtAChunkBoundary) {
    enum class Stopped { kRead, kWrite, kHistoryRead };
    struct Case {
        const char* name;
        const char* button;
        int hang_after;
        Stopped stopped;
    };
    // The reset's read for the undo history: Open, Status, ReadBegin, 342 chunks, Reload, Close.
    constexpr int kHistoryReadRequests = 347;
    const Case cases[] = {
        {"read", "Btn_Read_1", 15, Stopped::kRead},
        {"write", "Btn_Confirm2_1", kHistoryReadRequests + 30, Stopped::kWrite},
        {"the read for the undo history", "Btn_Confirm2_1", 30, Stopped::kHistoryRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        StartReady();
        mouse->HangAfterRequests(c.hang_after, SystemClock(), kHungRequestMs);
        rig.Click(c.button);
        ASSERT_TRUE(WaitFor([&] { return loading->isVisible() && mouse->HungRequests() > 0; }));
        Cancel();
        mouse->AnswerAgain();
        ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
        EXPECT_FALSE(loading->isVisible());
        // A write comes after the read kept in the undo history: two transactions.
        const int transactions = c.stopped == Stopped::kWrite ? 2 : 1;
        EXPECT_EQ(mouse->CountRequests(Command::kReload), transactions);
        EXPECT_EQ(mouse->CountRequests(Command::kClose), transactions);
        if (c.stopped == Stopped::kWrite) {
            EXPECT_LT(mouse->CountRequests(Command::kWriteNext), 342);
            ASSERT_EQ(rig.messages.messages().size(), 1u);
            EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str906"));
            EXPECT_FALSE(Covered());
        } else if (c.stopped == Stopped::kHistoryRead) {
            EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
            ASSERT_EQ(rig.messages.messages().size(), 1u);
            EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str916"));
            EXPECT_FALSE(Covered());
        } else {
            // Nothing was read, and the user is told so at once, the cover saying it as well.
            EXPECT_LT(mouse->CountRequests(Command::kReadNext), 1 + 43);
            ASSERT_EQ(rig.messages.messages().size(), 1u);
            EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str907"));
            EXPECT_TRUE(Covered());
            EXPECT_EQ(CoverNote(), CaptionOf(1, "Str907"));
            mouse->ClearRequests();
            rig.window->CoverPages(false);  // even a click that got through the cover
            RunFlow("Btn_Apply_1");
            EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
            EXPECT_TRUE(Said("Str900"));
        }
        EXPECT_TRUE(rig.window->isVisible());
    }
}

// After a cancelled Read the pages stay covered with the cover saying why, no device pass
// reads again, and Read, which the cover leaves within reach, reads the mouse and uncovers them.
TEST_F(StalledMouseGui, AfterACancelledReadTheCoverSaysSoAndReadReads) {
    StartReady();
    mouse->HangAfterRequests(15, SystemClock(), kHungRequestMs);
    rig.Click("Btn_Read_1");
    ASSERT_TRUE(WaitFor([&] { return loading->isVisible() && mouse->HungRequests() > 0; }));
    Cancel();
    mouse->AnswerAgain();
    ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str907"));
    EXPECT_TRUE(Covered());
    EXPECT_EQ(CoverNote(), CaptionOf(1, "Str907"));
    ASSERT_TRUE(rig.window->SwitchLanguage(2).ok);  // the cover says it in the new language
    EXPECT_EQ(CoverNote(), CaptionOf(2, "Str907"));
    ASSERT_TRUE(rig.window->SwitchLanguage(1).ok);

    // The cover takes a click on a tab, not one on Read.
    QWidget* page = rig.Control("gbPage1");
    const auto child_at = [page](QWidget* control) {
        return page->childAt(control->mapTo(page, control->rect().center()));
    };
    EXPECT_EQ(child_at(rig.Control("Btn_Adv_1")), rig.Control("Disable_All_1"));
    EXPECT_EQ(child_at(rig.Control("Btn_Read_1")), rig.Control("Btn_Read_1"));

    mouse->ClearRequests();
    controller->DeviceChanged();  // a device pass: it leaves the mouse alone
    ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 0);
    EXPECT_TRUE(Covered());

    rig.messages.Clear();
    RunFlow("Btn_Read_1");
    EXPECT_FALSE(Covered());
    EXPECT_TRUE(CoverNote().isEmpty());
    EXPECT_TRUE(rig.messages.messages().empty());
    EXPECT_TRUE(controller->ReadComplete());
}

// A read that repaired sections of what the mouse holds names the settings the pages show as
// defaults; the mouse keeps what it holds until the user applies.
TEST_F(DeviceFlowsGui, ADamagedReadNamesTheSettingsShownAsDefaults) {
    DataBuf image = defaults.eeprom[0];
    image[0x06] ^= 0x01;  // A's checksum fails
    image[0x40] ^= 0x01;  // and the profiles'
    mouse->SetMemory(0, image);
    const auto memory = mouse->MemoryCopy();
    const QString said = CaptionOf(1, "Str908") + QStringLiteral("\n") + CaptionOf(1, "Str909") +
                         QStringLiteral("\n") + CaptionOf(1, "Str911");
    StartController();
    ASSERT_TRUE(WaitFor([&] { return !rig.window->no_device_page(); }));
    ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(MessageDisplayText(rig.messages.messages()[0]), said);
    EXPECT_FALSE(Covered());
    EXPECT_EQ(rig.Text("Key1"), CaptionOf(1, "Str210"));  // the default profile's left click
    EXPECT_EQ(mouse->MemoryCopy(), memory);

    rig.messages.Clear();
    RunFlow("Btn_Read_1");
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(MessageDisplayText(rig.messages.messages()[0]), said);
    EXPECT_EQ(mouse->MemoryCopy(), memory);

    rig.messages.Clear();
    RunFlow("Btn_Apply_1");
    RunFlow("Btn_Read_1");
    EXPECT_TRUE(rig.messages.messages().empty());
}

}  // namespace
}  // namespace velq::ui::testing
