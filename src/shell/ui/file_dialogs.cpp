#include "shell/ui/file_dialogs.h"

#include <QFileDialog>

namespace velq::ui {

std::optional<QString> QtFileDialogs::OpenFile(const FileDialogRequest& request) {
    const QString file =
        QFileDialog::getOpenFileName(parent_, request.title, request.start, request.filter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

std::optional<QString> QtFileDialogs::SaveFile(const FileDialogRequest& request) {
    const QString file =
        QFileDialog::getSaveFileName(parent_, request.title, request.start, request.filter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

std::optional<QString> ScriptedFileDialogs::Next(const FileDialogRequest& request) {
    requests_.push_back(request);
    if (answers_.empty()) {
        return std::nullopt;
    }
    const QString answer = answers_.front();
    answers_.pop_front();
    if (answer.isEmpty()) {
        return std::nullopt;
    }
    return answer;
}

std::optional<QString> ScriptedFileDialogs::OpenFile(const FileDialogRequest& request) {
    return Next(request);
}

std::optional<QString> ScriptedFileDialogs::SaveFile(const FileDialogRequest& request) {
    return Next(request);
}

}  // namespace velq::ui
