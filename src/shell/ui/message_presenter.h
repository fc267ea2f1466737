#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace velq::ui {

// A message's text as the message window shows it. Captions joined for a message mark a new
// paragraph with two carriage returns and a new line with one: "\r\r" becomes a blank line
// between the paragraphs, a lone "\r" (or "\r\n") a line break.
QString MessageDisplayText(QString text);

// How the window tells the user something: one modal message with one OK button. The window
// resolves caption keys to texts of the current language before it calls Show.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // The font families the messages use (the caption table's `FontName` and its fallbacks).
    virtual void SetFontFamilies(const QStringList& families) = 0;
    virtual void Show(const QString& text) = 0;
};

// The message window: a modal dialog with the text, no icon and one OK button, in the caption
// font, over the main window.
class QtMessagePresenter final : public MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void SetFontFamilies(const QStringList& families) override { families_ = families; }
    void Show(const QString& text) override;

    // The dialog Show runs, built but not shown (the screenshot tool draws it).
    std::unique_ptr<QDialog> BuildDialog(const QString& text) const;

private:
    QWidget* parent_ = nullptr;
    QStringList families_;
};

// Keeps the messages instead of showing them, for tests.
class RecordingMessagePresenter final : public MessagePresenter {
public:
    void SetFontFamilies(const QStringList& families) override { families_ = families; }
    void Show(const QString& text) override { messages_.push_back(text); }

    const std::vector<QString>& messages() const { return messages_; }
    const QStringList& families() const { return families_; }
    void Clear() { messages_.clear(); }

private:
    std::vector<QString> messages_;
    QStringList families_;
};

}  // namespace velq::ui
