#include "shell/ui/window_services.h"

#include <QDesktopServices>

#include "shell/layout_apply.h"

namespace velq::ui {

WindowServices DefaultServices(const PictureSource& pictures, const AnimationSource& animation,
                               MessagePresenter& messages, FileDialogs& files) {
    WindowServices services;
    services.pictures = &pictures;
    services.animation = &animation;
    services.messages = &messages;
    services.files = &files;
    services.org = [] { return LoadOrgSettings(); };
    services.layout = [](const LayoutContext& context) { return ApplyLayout(context); };
    services.captions = [](int language) { return LoadCaptionTable(language); };
    services.open_url = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return services;
}

}  // namespace velq::ui
