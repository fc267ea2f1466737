#include "buttons/ui/key_combination_dialog.h"

#include <QLineEdit>

#include "buttons/ui/dialog_keys.h"

namespace velq::ui {

TForm2::TForm2(MainWindow& window, KeyCombinationDone done)
    : EditorDialogFrame(window, EditorDialog::kKeyCombination), done_(std::move(done)) {
    field()->setReadOnly(true);
    const NamedPicture clear = Picture("CbS_D");
    const NamedPicture ticked = Picture("CbS_E");
    for (size_t i = 0; i < kComboModifiers.size(); ++i) {
        const ComboModifier modifier = kComboModifiers[i];
        auto* box = new PictureCheckBox(this);
        const std::string_view modifier_name = ComboModifierName(modifier);
        const QString name =
            QString::fromLatin1(modifier_name.data(), static_cast<qsizetype>(modifier_name.size()));
        box->setObjectName(QStringLiteral("CB_") + name);
        box->setText(name);
        box->SetPictures(clear, ticked);
        // The user's clicks only: Clear unticks the boxes itself, with the field already empty.
        connect(box, &QAbstractButton::clicked, this, [this, modifier](bool ticked_now) {
            combination_.SetModifier(modifier, ticked_now);
            ShowField();
            field()->setFocus();
        });
        boxes_[i] = box;
    }
}

void TForm2::LaidOut() {
    for (PictureCheckBox* box : boxes_) {
        box->resize(box->sizeHint());
    }
}

void TForm2::ShowField() {
    field()->setText(QString::fromStdString(combination_.field()));
}

void TForm2::KeyPressed(const QKeyEvent& event) {
    combination_.PressKey(DialogVirtualKey(event), ModifierHeld(event));
    ShowField();
}

void TForm2::Confirm() {
    KeyCombinationResult result{combination_.field(), combination_.CodeText(), true};
    Finish();
    if (!result.text.empty() && done_) {
        done_(result);
    }
}

void TForm2::Clear() {
    combination_.Clear();
    for (PictureCheckBox* box : boxes_) {
        box->setChecked(false);
    }
    ShowField();
}

DialogOpening OpenKeyCombinationDialog(MainWindow& window, KeyCombinationDone done) {
    return ShowEditorDialog(std::make_unique<TForm2>(window, std::move(done)));
}

}  // namespace velq::ui
