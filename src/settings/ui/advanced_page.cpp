#include "settings/ui/advanced_page.h"

#include <QComboBox>
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
#include "settings/level_rules.h"
#include "settings/ui/snap_slider.h"
#include "shell/ui/colour_dialog.h"
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

QColor QColourOf(uint32_t value) {
    // The layout's colours: R + 256 G + 65536 B.
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                  static_cast<int>(value >> 16 & 0xFF));
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    if (widget == nullptr) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// The level number at the end of a control's name after `stem` ("lbl_DPI5" -> 5), 0 when the
// name is not `stem` + one digit 1..7 + `suffix`.
int LevelOf(const QString& name, const QString& stem, const QString& suffix = {}) {
    if (name.size() != stem.size() + 1 + suffix.size() || !name.startsWith(stem) ||
        !name.endsWith(suffix)) {
        return 0;
    }
    const int level = name.at(stem.size()).digitValue();
    return level >= 1 && level <= kDpiLevels ? level : 0;
}

QString Numbered(const char* stem, int level, const char* suffix = "") {
    return QString::fromLatin1(stem) + QString::number(level) + QString::fromLatin1(suffix);
}

}  // namespace

AdvancedPage::AdvancedPage(MainWindow& window) : WindowPart(window, kAdvancedPart) {
    choose_colour_ = DesktopColourChooser(&this->window());
}

void AdvancedPage::Built() {
    if (auto* slider = qobject_cast<QSlider*>(Control(QStringLiteral("slider_DPI8")))) {
        aim_slider_ = SnapSlider::ForDpi(
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
    BuildLevels();
    BuildPointerRows();
}

void AdvancedPage::BuildLevels() {
    if (auto* count = qobject_cast<QComboBox*>(Control(QStringLiteral("cbb_DPICount")))) {
        // The list in the page's own colours: light text on the dark plates of the page.
        QPalette palette = count->palette();
        const QColor text(225, 228, 234);
        for (const auto role : {QPalette::Button, QPalette::Base, QPalette::Window}) {
            palette.setColor(role, QColor(30, 34, 41));
        }
        for (const auto role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
            palette.setColor(role, text);
        }
        palette.setColor(QPalette::Highlight, QColor(232, 160, 48));
        palette.setColor(QPalette::HighlightedText, QColor(18, 21, 26));
        count->setPalette(palette);
        count->clear();
        for (int n = kMinLevelCount; n <= kDpiLevels; ++n) {
            count->addItem(QString::number(n));
        }
        connect(count, &QComboBox::activated, this, [this](int position) {
            window().ChangeConfig([position](MouseConfig& config) {
                SetLevelCount(config, position + kMinLevelCount);
            });
        });
    }
    for (int level = 1; level <= kDpiLevels; ++level) {
        const size_t l = static_cast<size_t>(level - 1);
        if (auto* slider = qobject_cast<QSlider*>(Control(Numbered("slider_DPI", level)))) {
            level_sliders_[l] = SnapSlider::ForDpi(
                *slider, window().org().dpi_count,
                [this, level](int entry) {
                    if (auto* label =
                            qobject_cast<QLabel*>(Control(Numbered("lbl_DPI", level, "Value")))) {
                        label->setText(DpiValueText(window(), entry));
                        label->adjustSize();
                    }
                },
                [this, l](int entry) {
                    window().ChangeConfig([l, entry](MouseConfig& config) {
                        config.dpi.levels[l].value = static_cast<uint8_t>(entry);
                    });
                });
        }
        // The check picture chooses the current level; the swatch's label lies on the colour
        // picture and answers for it.
        ClickThrough(Numbered("Img_DPI", level), Numbered("Img_DPI", level));
        ClickThrough(Numbered("Img_DPI", level, "Col"), Numbered("lbl_DPI", level, "Col"));
    }
}

bool AdvancedPage::LevelClicked(const QString& name) {
    if (const int level = LevelOf(name, QStringLiteral("lbl_DPI")); level != 0) {
        window().ChangeConfig([level](MouseConfig& config) {
            SetLevelCount(config, LevelCountAfterLabelClick(config.dpi.count, level));
        });
        return true;
    }
    if (const int level = LevelOf(name, QStringLiteral("Img_DPI")); level != 0) {
        window().ChangeConfig([level](MouseConfig& config) {
            if (const std::optional<int> current =
                    CurrentLevelAfterClick(config.dpi.count, level)) {
                config.dpi.current = static_cast<uint8_t>(*current - 1);
            }
        });
        return true;
    }
    if (const int level = LevelOf(name, QStringLiteral("lbl_DPI"), QStringLiteral("Col"));
        level != 0) {
        // Only the flowing light shows the levels' colours.
        const MouseConfig& shown = window().shown_config();
        if (!window().config_shown() || shown.lighting.type != LightType::kFlowing ||
            !choose_colour_) {
            return true;
        }
        const size_t l = static_cast<size_t>(level - 1);
        if (const std::optional<Colour> chosen = choose_colour_(shown.dpi.levels[l].colour)) {
            window().ChangeConfig(
                [l, &chosen](MouseConfig& config) { config.dpi.levels[l].colour = *chosen; });
        }
        return true;
    }
    return false;
}

void AdvancedPage::ShowLevels(const MouseConfig& config) {
    const int count = config.dpi.count;
    if (auto* list = qobject_cast<QComboBox*>(Control(QStringLiteral("cbb_DPICount")))) {
        list->setCurrentIndex(
            count >= kMinLevelCount && count <= kDpiLevels ? count - kMinLevelCount : -1);
    }
    const bool colours = config.lighting.type == LightType::kFlowing;
    const QColor in_use = QColourOf(window().style().dpi_in_use_color);
    const QColor out_of_use = QColourOf(window().style().dpi_out_of_use_color);
    for (int level = 1; level <= kDpiLevels; ++level) {
        const DpiLevel& stored = config.dpi.levels[static_cast<size_t>(level - 1)];
        const bool used = level <= count || level <= kMinLevelCount;
        SetTextColour(Control(Numbered("lbl_DPI", level)), used ? in_use : out_of_use);
        static_cast<void>(SetPicture(Numbered("Img_DPI", level), level - 1 == config.dpi.current
                                                                     ? QStringLiteral("CbS_E")
                                                                     : QStringLiteral("CbS_D")));
        for (const QString& name : {Numbered("slider_DPI", level), Numbered("Img_DPI", level),
                                    Numbered("lbl_DPI", level, "Col")}) {
            if (QWidget* widget = Control(name)) {
                widget->setEnabled(used);
            }
        }
        // A level with no value (0xFF) shows the first value and leaves its slider alone.
        const bool unset = stored.value == 0xFF;
        if (!unset && level_sliders_[static_cast<size_t>(level - 1)] != nullptr) {
            level_sliders_[static_cast<size_t>(level - 1)]->Show(stored.value);
        }
        if (auto* label = qobject_cast<QLabel*>(Control(Numbered("lbl_DPI", level, "Value")))) {
            label->setText(DpiValueText(window(), unset ? 0 : stored.value));
            label->adjustSize();
        }
        for (const QString& name :
             {Numbered("Img_DPI", level, "Col"), Numbered("cs_DPI", level, "Col"),
              Numbered("lbl_DPI", level, "Col")}) {
            if (QWidget* widget = Control(name)) {
                widget->setVisible(colours);
            }
        }
        if (QWidget* swatch = Control(Numbered("cs_DPI", level, "Col"))) {
            QPalette palette = swatch->palette();
            palette.setColor(QPalette::Window,
                             QColor(stored.colour.r, stored.colour.g, stored.colour.b));
            swatch->setPalette(palette);
        }
    }
}

void AdvancedPage::ShowConfig(const MouseConfig& config) {
    ShowLevels(config);
    // The aim value belongs to the aim keys: without one the page keeps showing the last.
    if (HasAimKey(config)) {
        ShowAim(config.aim_dpi);
    }
    ShowFireKey(config.fire_key);
}

void AdvancedPage::Arrange() {
    // The fire key group's caption starts on the group's marker in the skin: its text begins
    // just after it, as the DPI group's does.
    if (QWidget* caption = Control(QStringLiteral("lbl_FireKey"))) {
        constexpr int kMarkerWidth = 5;
        caption->setContentsMargins(kMarkerWidth, 0, 0, 0);
    }
    // The aim row is named after the aim key's function, in the language just applied.
    if (auto* caption = qobject_cast<QLabel*>(Control(QStringLiteral("lbl_AIMKey")))) {
        caption->setText(QString::fromStdString(window().captions().Caption("Str222")));
        caption->adjustSize();
    }
    ShowAim(aim_entry_);
    FitPointerScales();
    ShowPointerNotes();
}

bool AdvancedPage::LabelClicked(const QString& name) {
    if (LevelClicked(name) || PointerClicked(name)) {
        return true;
    }
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
