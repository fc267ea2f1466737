#include "settings/ui/advanced_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSlider>

#include <cstdio>
#include <optional>
#include <string>

#include "buttons/number_fields.h"
#include "common/dpi.h"
#include "config/config_edits.h"
#include "settings/ui/dpi_slider.h"
#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

// The text of an entry of the DPI value list in the current language; none for a stored index
// that names no entry.
QString DpiValueText(const MainWindow& window, int entry) {
    if (entry < 0 || entry >= kDpiValueCount) {
        return {};
    }
    char key[8];
    std::snprintf(key, sizeof key, "Str3%02d", entry);
    return QString::fromStdString(window.captions().Caption(key));
}

std::optional<int> NumberIn(const QString& text) {
    return FieldNumber(text.toStdString());
}

// A field that takes digits only; it shows `text` unless it already stands for the same number
// (so that "05" being typed keeps its text and cursor).
void ShowNumberText(QLineEdit* field, const QString& text) {
    if (field != nullptr && NumberIn(field->text()) != NumberIn(text)) {
        field->setText(text);
    }
}

}  // namespace

AdvancedPage::AdvancedPage(MainWindow& window) : WindowPart(window, kAdvancedPart) {}

void AdvancedPage::Built() {
    if (auto* slider = qobject_cast<QSlider*>(Control(QStringLiteral("slider_DPI8")))) {
        aim_slider_ = new DpiSlider(
            *slider, window().org().dpi_count, [this](int entry) { ShowAimText(entry); },
            [this](int entry) { AimReleased(entry); });
    }
    // The fire key's fields take digits only, and correct themselves as they are typed in.
    const auto digits = [this](const char* name) {
        auto* field = qobject_cast<QLineEdit*>(Control(QString::fromLatin1(name)));
        if (field != nullptr) {
            field->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), field));
        }
        return field;
    };
    if (QLineEdit* count = digits("Edt_Repeat1")) {
        connect(count, &QLineEdit::textEdited, this, &AdvancedPage::FireCountEdited);
    }
    if (QLineEdit* wait = digits("Edt_DelayTime1")) {
        connect(wait, &QLineEdit::textEdited, this, &AdvancedPage::FireWaitEdited);
    }
    ClickThrough(QStringLiteral("Img_FireContinue"), QStringLiteral("lbl_FireContinue"));
}

void AdvancedPage::ShowConfig(const MouseConfig& config) {
    // The aim value belongs to the aim keys: without one the page keeps showing the last.
    if (HasAimKey(config)) {
        ShowAim(config.aim_dpi);
    }
    ShowFireKey(config.fire_key);
}

void AdvancedPage::Arrange() {
    // The aim row is named after the aim key's function, in the language just applied.
    if (auto* caption = qobject_cast<QLabel*>(Control(QStringLiteral("lbl_AIMKey")))) {
        caption->setText(QString::fromStdString(window().captions().Caption("Str222")));
        caption->adjustSize();
    }
    ShowAim(aim_entry_);
}

bool AdvancedPage::LabelClicked(const QString& name) {
    // The option's click label lies on its check picture; the caption beside it answers too.
    if (name == QStringLiteral("lbl_FireContinue") || name == QStringLiteral("lbl_Fire_Continue")) {
        window().ChangeConfig([](MouseConfig& config) { ToggleContinuousFire(config); });
        return true;
    }
    return false;
}

void AdvancedPage::ShowAim(int entry) {
    aim_entry_ = entry;
    if (aim_slider_ != nullptr) {
        aim_slider_->Show(entry);
    }
    ShowAimText(entry);
}

void AdvancedPage::ShowAimText(int entry) {
    if (auto* label = qobject_cast<QLabel*>(Control(QStringLiteral("lbl_AIMKeyValue")))) {
        label->setText(DpiValueText(window(), entry));
        label->adjustSize();
    }
}

void AdvancedPage::AimReleased(int entry) {
    bool aim_key = true;
    window().ChangeConfig(
        [&](MouseConfig& config) { aim_key = ChooseAimDpi(config, static_cast<uint8_t>(entry)); });
    if (!aim_key) {
        ShowAim(0);
        window().ShowMessage(QString::fromLatin1(kNoAimKeyMessage));
    }
}

void AdvancedPage::FireCountEdited(const QString& text) {
    auto* field = qobject_cast<QLineEdit*>(Control(QStringLiteral("Edt_Repeat1")));
    const QString corrected = QString::fromStdString(CorrectFireCountText(text.toStdString()));
    if (field != nullptr && corrected != text) {
        field->setText(corrected);
    }
    if (const std::optional<int> clicks = NumberIn(corrected)) {
        window().ChangeConfig([&](MouseConfig& config) { SetFireClicks(config, *clicks); });
    }
}

void AdvancedPage::FireWaitEdited(const QString& text) {
    auto* field = qobject_cast<QLineEdit*>(Control(QStringLiteral("Edt_DelayTime1")));
    const QString corrected = QString::fromStdString(CorrectFireWaitText(text.toStdString()));
    if (field != nullptr && corrected != text) {
        field->setText(corrected);
    }
    if (const std::optional<int> wait = NumberIn(corrected)) {
        window().ChangeConfig(
            [&](MouseConfig& config) { config.fire_key.interval = static_cast<uint8_t>(*wait); });
    }
}

void AdvancedPage::ShowFireKey(const FireKeyConfig& fire) {
    static_cast<void>(
        SetPicture(QStringLiteral("Img_FireContinue"),
                   fire.while_held ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D")));
    // While the key repeats as long as it is held, the count field rests at three, greyed.
    auto* count = qobject_cast<QLineEdit*>(Control(QStringLiteral("Edt_Repeat1")));
    ShowNumberText(count, QString::number(fire.while_held ? 3 : fire.repeat + 1));
    if (count != nullptr) {
        count->setEnabled(!fire.while_held);
    }
    ShowNumberText(qobject_cast<QLineEdit*>(Control(QStringLiteral("Edt_DelayTime1"))),
                   QString::number(fire.interval));
}

}  // namespace velq::ui
