#include "shell/ui/file_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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

bool QtFileDialogs::ConfirmReplace(const QString& file) {
    // The save dialog's own question, in the words (and the language) it asks it.
    const QString text =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(file).fileName());
    return QMessageBox::warning(parent_, QString(), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
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

bool ScriptedFileDialogs::ConfirmReplace(const QString& file) {
    replace_questions_.push_back(file);
    if (replace_answers_.empty()) {
        return false;
    }
    const bool replace = replace_answers_.front();
    replace_answers_.pop_front();
    return replace;
}

}  // namespace velq::ui
