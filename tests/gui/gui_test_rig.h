#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/ui/file_dialogs.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/picture_source.h"

namespace velq::ui::testing {

// The one QApplication of the test program, on the offscreen platform.
void EnsureApplication();

// The real window on the embedded settings, layouts and caption tables, with stand-in pictures,
// a message recorder and a record of the addresses it asked the desktop to open. `tweak_org`
// changes program settings; `layout` replaces the layout source.
struct WindowRig {
    explicit WindowRig(std::function<void(OrgSettings&)> tweak_org = {},
                       std::function<LayoutResult<LayoutPlan>(const LayoutContext&)> layout = {});

    // Start-up; the test fails when it stops.
    void Start();
    // A mouse has been read: tabs open their pages, covers gone.
    void Unblock();

    QWidget* Control(const char* name) const;
    QString Picture(const char* name) const;
    QString Text(const char* name) const;
    void Click(const char* name);
    void Enter(const char* name);
    void Leave(const char* name);

    PlaceholderPictures pictures;
    RecordingMessagePresenter messages;
    ScriptedFileDialogs files;
    std::vector<QUrl> opened;
    std::unique_ptr<MainWindow> window;
};

// The caption of `key` in the embedded table of `language`.
QString CaptionOf(int language, const char* key);

// The embedded layout text of `language` with the line defining `key` taken out.
std::string LayoutTextWithout(int language, const std::string& key);

}  // namespace velq::ui::testing
