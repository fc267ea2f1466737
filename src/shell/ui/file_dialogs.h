#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace velq::ui {

// What a file dialog asks: its title, the name filter ("Profile (*.bin)") and the folder or file
// it starts at.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString start;
};

// Where the pages ask the user for a file to open or a file to save; nothing when cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    // Whether an existing file may be replaced. For a file the program names itself after the
    // user's choice (the choice with ".bin" appended), which the save dialog did not ask about.
    virtual bool ConfirmReplace(const QString& file) = 0;
};

// The desktop's own file dialogs.
class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    bool ConfirmReplace(const QString& file) override;

private:
    QWidget* parent_ = nullptr;
};

// Answers from a queue prepared by a test and keeps the requests; an empty queue answers
// "cancelled".
class ScriptedFileDialogs final : public FileDialogs {
public:
    // A file name, or an empty text for "cancelled".
    void QueueAnswer(const QString& answer) { answers_.push_back(answer); }
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    const std::vector<FileDialogRequest>& requests() const { return requests_; }
    // The answer to the next question about replacing a file; an empty queue answers "no".
    void QueueReplaceAnswer(bool replace) { replace_answers_.push_back(replace); }
    bool ConfirmReplace(const QString& file) override;
    // The files a question was asked about.
    const std::vector<QString>& replace_questions() const { return replace_questions_; }

private:
    std::optional<QString> Next(const FileDialogRequest& request);
    std::deque<QString> answers_;
    std::deque<bool> replace_answers_;
    std::vector<QString> replace_questions_;
    std::vector<FileDialogRequest> requests_;
};

}  // namespace velq::ui
