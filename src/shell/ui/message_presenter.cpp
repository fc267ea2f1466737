#include "shell/ui/message_presenter.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velq::ui {

QString MessageDisplayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::unique_ptr<QDialog> QtMessagePresenter::BuildDialog(const QString& text) const {
    auto dialog = std::make_unique<QDialog>(parent_);
    dialog->setObjectName(QStringLiteral("FormMessageDialog"));
    dialog->setWindowTitle(QString());
    dialog->setModal(true);
    if (!families_.isEmpty()) {
        QFont font = dialog->font();
        font.setFamilies(families_);
        dialog->setFont(font);
    }
    auto* layout = new QVBoxLayout(dialog.get());
    auto* label = new QLabel(MessageDisplayText(text), dialog.get());
    label->setObjectName(QStringLiteral("lbl_Message"));
    label->setWordWrap(true);
    label->setMinimumWidth(260);
    label->setAlignment(Qt::AlignCenter);
    // Message texts come from the caption tables: never interpret them as markup.
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog.get());
    ok->setObjectName(QStringLiteral("Btn_MessageOK"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    return dialog;
}

void QtMessagePresenter::Show(const QString& text) {
    std::unique_ptr<QDialog> dialog = BuildDialog(text);
    dialog->exec();
}

}  // namespace velq::ui
