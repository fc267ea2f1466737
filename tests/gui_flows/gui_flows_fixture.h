#pragma once

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>

#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "device/write_requests.h"
#include "flows/ui/device_controller.h"
#include "gui/gui_test_rig.h"
#include "image/built_in_images.h"
#include "shell/ui/loading_window.h"

namespace velq::ui::testing {

// The real window with the device flows on a virtual mouse that holds the first default image.
// The protocol runs in virtual time; the device timers are real Qt timers.
class GuiFlowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        rig.Start();
        ASSERT_TRUE(LoadDefaultImages(defaults));
        mouse->SetMemory(0, defaults.eeprom[0]);
        backend = std::make_unique<VirtualBackend>(mouse);
    }

    // A fresh mouse and window state for the next case of a table.
    void Restart() {
        controller.reset();
        rig.messages.Clear();
        mouse = std::make_shared<VirtualMouse>(defaults.eeprom[0]);
        backend = std::make_unique<VirtualBackend>(mouse);
    }

    void StartController() {
        DeviceControllerParts parts;
        parts.window = rig.window.get();
        parts.loading = loading.get();
        parts.messages = &rig.messages;
        parts.files = &rig.files;
        parts.backend = backend.get();
        parts.clock = &clock;
        controller = std::make_unique<DeviceController>(std::move(parts));
        QString error;
        ASSERT_TRUE(controller->Start(error)) << error.toStdString();
    }

    // Runs the event loop until `done` holds (or ten seconds passed).
    bool WaitFor(const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QTest::qWait(5);
        }
        return done();
    }

    // Clicks a frame button and lets its flow run on the device thread to its end, with the
    // window acting on it.
    void RunFlow(const char* button) {
        ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));  // a device pass, say
        rig.Click(button);
        ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); })) << button;
    }

    void StartReady() {
        StartController();
        ASSERT_TRUE(WaitFor([&] { return !rig.window->no_device_page(); }));
        rig.messages.Clear();
        mouse->ClearRequests();
    }

    // The cover is shown over the pages (also once the window itself was closed).
    bool Covered() const { return rig.Control("Disable_All_1")->isVisibleTo(rig.window.get()); }
    // What the cover says over the pages, as shown on it: empty when it says nothing.
    QString CoverNote() const {
        QWidget* cover = rig.Control("Disable_All_1");
        const auto* note = cover->findChild<QLabel*>(QStringLiteral("CoverNote"));
        const QString text = note != nullptr && note->isVisibleTo(cover) ? note->text() : QString();
        EXPECT_EQ(text, rig.window->cover_note());
        return text;
    }

    bool Said(const char* key) const {
        const QString text = CaptionOf(1, key);
        for (const QString& m : rig.messages.messages()) {
            if (m.contains(text)) {
                return true;
            }
        }
        return false;
    }

    int Writes(uint16_t address, uint16_t length) const {
        return velq::testing::WriteBeginsFor(*mouse, address, length);
    }

    // The factory page and `page` built, `page` shown: both views of a setting at hand.
    void OpenWithFactoryPage(Page page) {
        rig.window->EngineerUnlock();
        rig.window->ClickTab(Page::kEngineering);
        rig.window->ClickTab(page);
    }

    // Opens the function menu of `label` and chooses `entry`, opening the submenus on the way
    // as the pointer would.
    void Choose(const char* label, std::initializer_list<const char*> path) {
        rig.Click(label);
        for (const char* entry : path) {
            rig.Enter(entry);
        }
        rig.Click(*(path.end() - 1));
    }

    // Presses and lets go of a slider at pixel x, as a click or the end of a drag does.
    void ReleaseSliderAt(const char* name, int x) {
        QWidget* slider = rig.Control(name);
        const QPoint at(x, slider->height() / 2);
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
    }

    // A list entry chosen by the user.
    void ChooseInList(const char* name, int position) {
        auto* list = qobject_cast<QComboBox*>(rig.Control(name));
        ASSERT_NE(list, nullptr) << name;
        list->setCurrentIndex(position);
        emit list->activated(position);
    }

    // Replaces what a field holds by typing, as a user would: the first key replaces the
    // selected text, an empty text is a Backspace.
    void Type(const char* field, const char* text) {
        auto* edit = qobject_cast<QLineEdit*>(rig.Control(field));
        ASSERT_NE(edit, nullptr) << field;
        ASSERT_TRUE(edit->isEnabled()) << field;
        edit->setFocus();
        edit->selectAll();
        if (*text == '\0') {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(edit, QString::fromLatin1(text));
        }
    }

    // What a control shows: a list's current entry, else its text.
    QString Text(const char* name) const {
        if (auto* list = qobject_cast<QComboBox*>(rig.Control(name))) {
            return list->currentText();
        }
        return rig.Control(name)->property("text").toString();
    }

    WindowRig rig;
    std::unique_ptr<LoadingWindow> loading = [this] {
        auto window = std::make_unique<LoadingWindow>(rig.pictures.WaitAnimation());
        window->StartAnimation();
        return window;
    }();
    DefaultImages defaults;
    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    std::unique_ptr<VirtualBackend> backend;
    VirtualClock clock;
    std::unique_ptr<DeviceController> controller;
};

}  // namespace velq::ui::testing
