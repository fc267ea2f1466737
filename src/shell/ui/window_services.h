#pragma once

#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

#include "shell/caption_table.h"
#include "shell/layout_config.h"
#include "shell/layout_ops.h"
#include "shell/org_settings.h"

namespace velq::ui {

class AnimationSource;
class FileDialogs;
class MainWindow;
class MessagePresenter;
class PictureSource;
class WindowPart;

// What the main window is built from. Every part can be replaced, so tests drive the real window
// with their own layouts, tables and a message recorder; the program uses the embedded
// resources (DefaultLayoutProvider and friends).
struct WindowServices {
    const PictureSource* pictures = nullptr;
    const AnimationSource* animation = nullptr;
    MessagePresenter* messages = nullptr;
    FileDialogs* files = nullptr;
    std::function<LayoutResult<OrgSettings>()> org;
    // Plans a language's layout (start-up plans language 1 once and applies it twice).
    std::function<LayoutResult<LayoutPlan>(const LayoutContext&)> layout;
    std::function<CaptionTableResult(int)> captions;
    std::function<void(const QUrl&)> open_url;
    // The window's parts in index order (kOfficePart .. kMenuPart): the pages of the program.
    // Without it every part is a plain one, with no page behaviour of its own.
    std::function<std::vector<std::unique_ptr<WindowPart>>(MainWindow&)> parts;
};

// The embedded [org] settings, layouts and caption tables, and the desktop's open action.
WindowServices DefaultServices(const PictureSource& pictures, const AnimationSource& animation,
                               MessagePresenter& messages, FileDialogs& files);

}  // namespace velq::ui
