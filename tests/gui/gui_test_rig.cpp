#include "gui_test_rig.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sstream>

#include "flows/ui/standard_pages.h"
#include "shell/layout_apply.h"
#include "shell/shell_resources.h"

namespace velq::ui::testing {

void EnsureApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The window keeps its macro library in the user's data folder: the tests' windows keep
    // theirs in a folder of this run, never in the real one.
    static QTemporaryDir data_home;
    qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
    // So does the undo history that the replacing flows keep in the state folder.
    static QTemporaryDir state_home;
    qputenv("XDG_STATE_HOME", state_home.path().toUtf8());
    static int argc = 1;
    static char name[] = "velq_gui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: it must outlive every window, and Qt's own globals go away at exit in an
    // order a static application object cannot follow.
    static auto* app = new QApplication(argc, argv);
    static_cast<void>(app);
}

WindowRig::WindowRig(std::function<void(OrgSettings&)> tweak_org,
                     std::function<LayoutResult<LayoutPlan>(const LayoutContext&)> layout) {
    EnsureApplication();
    WindowServices services =
        WithStandardPages(DefaultServices(pictures, pictures, messages, files));
    if (tweak_org) {
        services.org = [tweak_org] {
            LayoutResult<OrgSettings> org = LoadOrgSettings();
            if (org) {
                tweak_org(*org.value);
            }
            return org;
        };
    }
    if (layout) {
        services.layout = std::move(layout);
    }
    services.open_url = [this](const QUrl& url) { opened.push_back(url); };
    window = std::make_unique<MainWindow>(std::move(services));
}

void WindowRig::Start() {
    const ShellResult started = window->Start();
    ASSERT_TRUE(started.ok) << started.error.toStdString();
    window->show();
}

void WindowRig::Unblock() {
    window->SetDeviceHandlePresent(true);
    window->SetNoDevicePage(false);
    window->CoverPages(false);
}

QWidget* WindowRig::Control(const char* name) const {
    return window->Control(QString::fromUtf8(name));
}

QString WindowRig::Picture(const char* name) const {
    return window->PictureOf(QString::fromUtf8(name));
}

QString WindowRig::Text(const char* name) const {
    const auto* label = qobject_cast<const QLabel*>(Control(name));
    return label == nullptr ? QString() : label->text();
}

void WindowRig::Click(const char* name) {
    QWidget* widget = Control(name);
    ASSERT_NE(widget, nullptr) << name;
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void WindowRig::Enter(const char* name) {
    QWidget* widget = Control(name);
    ASSERT_NE(widget, nullptr) << name;
    const QPointF inside(1, 1);
    QEnterEvent event(inside, widget->mapTo(window.get(), inside), widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &event);
}

void WindowRig::Leave(const char* name) {
    QWidget* widget = Control(name);
    ASSERT_NE(widget, nullptr) << name;
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

QString CaptionOf(int language, const char* key) {
    CaptionTableResult table = LoadCaptionTable(language);
    return QString::fromStdString(table.table.Caption(key));
}

std::string LayoutTextWithout(int language, const std::string& key) {
    const std::span<const uint8_t> bytes = ShellResource(LayoutSectionName(language));
    const std::string text(bytes.begin(), bytes.end());
    std::istringstream in(text);
    std::string out;
    std::string line;
    const std::string lower_key = LowerAscii(key);
    while (std::getline(in, line)) {
        std::string name = line.substr(0, line.find('='));
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
            name.pop_back();
        }
        if (line.find('=') != std::string::npos && LowerAscii(name) == lower_key) {
            continue;
        }
        out += line + "\n";
    }
    return out;
}

}  // namespace velq::ui::testing
