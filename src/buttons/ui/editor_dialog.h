#pragma once

#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <memory>

#include "buttons/ui/picture_buttons.h"
#include "shell/layout_ops.h"

class QKeyEvent;
class QLabel;
class QLineEdit;

namespace velq::ui {

class MainWindow;
class EditorDialogFrame;

// A dialog opened over the window, or why it could not open: a skin picture it shows is
// missing, or the layout names a control it does not have.
struct DialogOpening {
    EditorDialogFrame* dialog = nullptr;
    QString error;
    explicit operator bool() const { return dialog != nullptr; }
};

// The frame the five editor dialogs share: a frameless window above the others, in the outline
// and size of the skin picture "Msg", with its title, a centred input field and three picture
// buttons: Confirm, Clear (empties the input; the dialog stays) and Close (no result). It sees
// the field's key presses before the field does. It never blocks the main window, and closing
// it deletes it: every opening is a fresh dialog.
class EditorDialogFrame : public QWidget {
    Q_OBJECT

public:
    EditorDialog kind() const { return kind_; }
    QLineEdit* field() const { return field_; }

protected:
    EditorDialogFrame(MainWindow& window, EditorDialog kind);

    // What Confirm and Clear do in this dialog. Confirm closes the dialog (Finish) once it has
    // a result to hand over.
    virtual void Confirm() = 0;
    virtual void Clear() = 0;
    // The key dialogs read every key pressed in their field themselves (Tab, Enter and Esc
    // too); the other dialogs let the field have them.
    virtual bool ReadsKeys() const { return false; }
    virtual void KeyPressed(const QKeyEvent& /*event*/) {}
    // After the layout and captions: the dialog's own controls take the size they now need.
    virtual void LaidOut() {}

    MainWindow& window() const { return window_; }
    // A skin picture by name; a missing one stops the opening, naming it.
    NamedPicture Picture(const char* name);
    // Closes (and so deletes) the dialog; the caller may still finish its work.
    void Finish();

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend DialogOpening ShowEditorDialog(std::unique_ptr<EditorDialogFrame> dialog);

    // Background, pictures, the current layout's steps and the captions of the current
    // language; the reason when one fails, else empty.
    QString Prepare();
    void CentreOverWindow();

    MainWindow& window_;
    EditorDialog kind_;
    QPixmap background_;
    QRegion shape_;
    QLabel* title_ = nullptr;
    QLineEdit* field_ = nullptr;
    PictureButton* confirm_ = nullptr;
    PictureButton* clear_ = nullptr;
    PictureButton* close_ = nullptr;
    QString missing_picture_;
};

// Lays the new dialog out by its window's current layout and captions, closes any editor dialog
// still open over the window (they would lie one on top of the other, the older one hidden
// with its pending result), and shows it centred over the window, the key-combination dialog
// 40 pixels lower. On failure the dialog is deleted and the reason given.
DialogOpening ShowEditorDialog(std::unique_ptr<EditorDialogFrame> dialog);

}  // namespace velq::ui
