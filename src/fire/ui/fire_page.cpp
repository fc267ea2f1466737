#include "fire/ui/fire_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <string>

#include "buttons/function_table.h"
#include "buttons/ui/function_menus.h"
#include "config/config_edits.h"
#include "fire/fire_fields.h"
#include "fire/gun_keys.h"
#include "shell/ui/colour_dialog.h"
#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

constexpr int kRows = 3;

// The field stems of a row, with the parameter each holds.
struct RowField {
    const char* stem;
    const char* suffix;
    std::optional<FireParam> param;  // none: the Y adjustment
};
constexpr RowField kRowFields[] = {
    {"Edt_FireCnt", "", FireParam::kCount}, {"Edt_FireX", "", FireParam::kX},
    {"Edt_FireY", "", FireParam::kY},       {"Edt_FireY", "Offset", std::nullopt},
    {"Edt_FireTime", "", FireParam::kTime},
};

// The controls of row k besides its fields.
constexpr const char* kRowControls[] = {"Img_FireRKFS", "lbl_FireRKFS", "Img_FireColor",
                                        "cs_FireColor", "IB_FireColor"};

// The row captions; a click on any of them acts as a click on row 1's stop box.
constexpr const char* kRowCaptions[] = {
    "lbl_Fire_Marco_Stop_Release", "lbl_Fire_Marco_Count", "lbl_Fire_Marco_Y",
    "lbl_Fire_Marco_Y_Offset",     "lbl_Fire_Marco_Delay", "lbl_Fire_Marco_Color"};

QString Numbered(const char* stem, int n, const char* suffix = "") {
    return QString::fromLatin1(stem) + QString::number(n) + QString::fromLatin1(suffix);
}

// The number after `stem` in `name` ("Btn_Fire3" -> 3), 0 when `name` is not `stem` and one
// digit 1..`last`.
int NumberAfter(const QString& name, const char* stem, int last) {
    const QString prefix = QString::fromLatin1(stem);
    if (name.size() != prefix.size() + 1 || !name.startsWith(prefix)) {
        return 0;
    }
    const int n = name.back().digitValue();
    return n >= 1 && n <= last ? n : 0;
}

}  // namespace

FirePage::FirePage(MainWindow& window) : WindowPart(window, kFirePart) {
    choose_colour_ = DesktopColourChooser(&this->window());
}

void FirePage::Built() {
    for (int row = 1; row <= kRows; ++row) {
        for (const RowField& field : kRowFields) {
            QLineEdit* edit = Field(QString::fromLatin1(field.stem), row, field.suffix);
            if (edit == nullptr) {
                continue;
            }
            // X and the Y adjustment may be negative; the other fields take digits only.
            const bool signed_field = field.param == FireParam::kX || !field.param;
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(signed_field ? QStringLiteral("-?[0-9]{0,4}")
                                                : QStringLiteral("[0-9]{0,5}")),
                edit));
            edit->setAlignment(Qt::AlignCenter);
            const std::optional<FireParam> param = field.param;
            connect(edit, &QLineEdit::textEdited, this, [this, row, param] {
                if (param) {
                    FieldEdited(row, *param);
                } else {
                    YAdjustmentEdited(row);
                }
            });
        }
        ClickThrough(Numbered("Img_FireRKFS", row), Numbered("lbl_FireRKFS", row));
    }
    // The rows are filled when the page is opened.
}

void FirePage::ShowGunName() {
    // The right panel is titled with the chosen gun's name, in the current language.
    if (auto* title = qobject_cast<QLabel*>(OwnControl(QStringLiteral("lbl_Fire_Gun_Name")))) {
        const std::string name = window().captions().Caption(
            kGuns[static_cast<size_t>(std::clamp(gun_, 1, kGunCount) - 1)].name_key);
        title->setText(QString::fromStdString(name));
    }
}

void FirePage::Arrange() {
    ShowGunName();
    // Confirm and Cancel lie on the frame buttons' picture; the layout gives them a size only,
    // so they take the frame buttons' caption colour (the default dark text is unreadable on
    // the dark picture).
    const QWidget* frame_button = window().Control(QStringLiteral("Btn_Apply_1"));
    if (frame_button == nullptr) {
        return;
    }
    const QColor colour = frame_button->palette().color(QPalette::WindowText);
    for (const char* name : {"Btn_FireConfirm", "Btn_FireExit"}) {
        if (QWidget* button = OwnControl(QString::fromLatin1(name))) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::WindowText, colour);
            button->setPalette(palette);
        }
    }
}

void FirePage::ShowFire(const ShownFire& fire) {
    fire_ = fire;
    blocks_.CopyFromArea(fire_.area);
    if (built() && window().current_page() == Page::kFire) {
        SelectGun(gun_);
    }
}

int FirePage::Rows() const {
    return kGuns[static_cast<size_t>(gun_ - 1)].rows;
}

int FirePage::SlotOfRow(int row) const {
    return kGuns[static_cast<size_t>(gun_ - 1)].first_slot + row - 1;
}

QLineEdit* FirePage::Field(const QString& stem, int row, const char* suffix) const {
    return qobject_cast<QLineEdit*>(
        OwnControl(stem + QString::number(row) + QString::fromLatin1(suffix)));
}

void FirePage::SetText(const QString& field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(OwnControl(field)); edit != nullptr) {
        if (edit->text() != text) {
            edit->setText(text);
        }
    }
}

void FirePage::Opened(Page /*page*/) {
    // The fire area is read once from the mouse; a read that failed is tried again at the
    // next opening, since what the page shows until then is not the mouse's.
    if (!fire_.read) {
        window().RequestFlow(QStringLiteral("Key_FireMacro"));
    }
    SelectGun(1);
}

void FirePage::SelectGun(int gun) {
    if (gun < 1 || gun > kGunCount) {
        return;
    }
    filling_ = true;
    gun_ = gun;
    ShowGunName();
    for (int n = 1; n <= kGunCount; ++n) {
        if (auto* radio = qobject_cast<QRadioButton*>(Control(Numbered("rb_Fire", n)))) {
            radio->setChecked(n == gun);
        }
    }
    for (int row = 1; row <= kRows; ++row) {
        for (const RowField& field : kRowFields) {
            SetText(Numbered(field.stem, row, field.suffix), QStringLiteral("0"));
        }
    }
    const int rows = Rows();
    for (int row = 1; row <= kRows; ++row) {
        const bool shown = row <= rows;
        for (const RowField& field : kRowFields) {
            if (QWidget* edit = Field(QString::fromLatin1(field.stem), row, field.suffix)) {
                edit->setVisible(shown);
            }
        }
        for (const char* stem : kRowControls) {
            if (QWidget* control = OwnControl(Numbered(stem, row))) {
                control->setVisible(shown);
            }
        }
    }
    // The slot indicators: two for gun 6, three for gun 7.
    for (int n = 1; n <= 5; ++n) {
        if (QWidget* indicator = OwnControl(Numbered("Img_GunMode", n))) {
            indicator->setVisible((gun == 6 && n <= 2) || (gun == 7 && n >= 3));
        }
    }
    for (int n = 1; n <= kGunCount; ++n) {
        static_cast<void>(SetPicture(Numbered("Img_Fire", n),
                                     QStringLiteral("Gun%1_0%2").arg(n).arg(n == gun ? 2 : 1)));
    }
    for (int row = 1; row <= rows; ++row) {
        ShowScannedRow(row);
    }
    filling_ = false;
}

void FirePage::ShowScannedRow(int row) {
    const std::optional<FireRow> scanned = blocks_.ScanFireBlock(SlotOfRow(row), fire_.entry);
    if (!scanned) {
        return;
    }
    SetText(Numbered("Edt_FireCnt", row), QString::number(scanned->count));
    SetText(Numbered("Edt_FireX", row), QString::number(scanned->x));
    SetText(Numbered("Edt_FireY", row), QString::number(scanned->y));
    SetText(Numbered("Edt_FireTime", row), QString::number(scanned->time));
    if (scanned->stop_on_release) {
        stop_ticked_[static_cast<size_t>(row - 1)] = *scanned->stop_on_release;
    }
    static_cast<void>(
        SetPicture(Numbered("Img_FireRKFS", row), stop_ticked_[static_cast<size_t>(row - 1)]
                                                      ? QStringLiteral("CbS_E")
                                                      : QStringLiteral("CbS_D")));
    ShowRowSettings(row, window().shown_config());
}

void FirePage::ShowRowSettings(int row, const MouseConfig& config) {
    const FireSlotConfig& slot = config.fire_slots[static_cast<size_t>(SlotOfRow(row) - 1)];
    // A field the user is typing a "-" into keeps it.
    if (QLineEdit* offset = Field(QStringLiteral("Edt_FireY"), row, "Offset");
        offset != nullptr && offset->text().toInt() != slot.y_adjust) {
        offset->setText(QString::number(slot.y_adjust));
    }
    if (QWidget* swatch = OwnControl(Numbered("cs_FireColor", row))) {
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, QColor(slot.colour.r, slot.colour.g, slot.colour.b));
        swatch->setPalette(palette);
    }
}

void FirePage::ShowConfig(const MouseConfig& config) {
    if (!built()) {
        return;
    }
    for (int row = 1; row <= Rows(); ++row) {
        ShowRowSettings(row, config);
    }
}

void FirePage::FieldEdited(int row, FireParam param) {
    QLineEdit* edit = nullptr;
    for (const RowField& field : kRowFields) {
        if (field.param == param) {
            edit = Field(QString::fromLatin1(field.stem), row, field.suffix);
        }
    }
    if (filling_ || edit == nullptr || row > Rows()) {
        return;
    }
    const FireFieldValue value = NormaliseFireField(param, edit->text().toStdString());
    SetText(edit->objectName(), QString::fromStdString(value.text));
    if (!value.value) {
        return;
    }
    const int slot = SlotOfRow(row);
    const FireEditResult result = blocks_.EditOrStartParam(slot, param, *value.value, fire_.entry);
    if (result == FireEditResult::kStarted) {
        // A new fire macro around the value: the row shows its other values and its stop box,
        // and the field keeps what is being typed.
        const QString typed = edit->text();
        filling_ = true;
        ShowScannedRow(row);
        SetText(edit->objectName(), typed);
        filling_ = false;
    }
    if (result != FireEditResult::kStored && result != FireEditResult::kStarted) {
        // The slot holds a fire macro without such a parameter: nothing is stored, and the
        // field says so.
        SetText(edit->objectName(), QStringLiteral("0"));
    } else {
        blocks_.CopyToArea(fire_.area);
    }
    if (param == FireParam::kY) {
        // A new pull starts without adjustment.
        SetText(Numbered("Edt_FireY", row, "Offset"), QStringLiteral("0"));
        window().ChangeConfig(
            [slot](MouseConfig& c) { c.fire_slots[static_cast<size_t>(slot - 1)].y_adjust = 0; });
    }
}

void FirePage::YAdjustmentEdited(int row) {
    QLineEdit* edit = Field(QStringLiteral("Edt_FireY"), row, "Offset");
    const QLineEdit* y_field = Field(QStringLiteral("Edt_FireY"), row);
    if (filling_ || edit == nullptr || y_field == nullptr || row > Rows()) {
        return;
    }
    const FireFieldValue value =
        NormaliseFireYAdjustment(edit->text().toStdString(), y_field->text().toInt());
    SetText(edit->objectName(), QString::fromStdString(value.text));
    if (!value.value) {
        return;
    }
    // A setting of the configuration: the factory page's field shows it, and Apply and the
    // confirm write it as the pair (v, 255 - v).
    const int slot = SlotOfRow(row);
    const auto adjust = static_cast<int8_t>(*value.value);
    window().ChangeConfig([slot, adjust](MouseConfig& c) {
        c.fire_slots[static_cast<size_t>(slot - 1)].y_adjust = adjust;
    });
}

void FirePage::ToggleStop(int row) {
    if (filling_ || row < 1 || row > Rows()) {
        return;
    }
    bool& ticked = stop_ticked_[static_cast<size_t>(row - 1)];
    ticked = !ticked;
    static_cast<void>(SetPicture(Numbered("Img_FireRKFS", row),
                                 ticked ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D")));
    blocks_.SetStopOnRelease(SlotOfRow(row), ticked, fire_.entry);
    blocks_.CopyToArea(fire_.area);
}

void FirePage::ChooseColour(int row) {
    if (filling_ || row < 1 || row > Rows() || !choose_colour_) {
        return;
    }
    const int slot = SlotOfRow(row);
    const Colour present = window().shown_config().fire_slots[static_cast<size_t>(slot - 1)].colour;
    const std::optional<Colour> chosen = choose_colour_(present);
    if (!chosen) {
        return;
    }
    // The colour table's entry is a setting the factory page's three fields show.
    window().ChangeConfig([slot, colour = *chosen](MouseConfig& c) {
        c.fire_slots[static_cast<size_t>(slot - 1)].colour = colour;
    });
}

bool FirePage::LabelClicked(const QString& name) {
    if (const int gun = NumberAfter(name, "Btn_Fire", kGunCount); gun != 0) {
        SelectGun(gun);
        return true;
    }
    if (const int row = NumberAfter(name, "lbl_FireRKFS", kRows); row != 0) {
        ToggleStop(row);
        return true;
    }
    for (const char* caption : kRowCaptions) {
        if (name == QLatin1String(caption)) {
            ToggleStop(1);
            return true;
        }
    }
    if (const int row = NumberAfter(name, "IB_FireColor", kRows); row != 0) {
        ChooseColour(row);
        return true;
    }
    if (name == QLatin1String("Btn_FireConfirm")) {
        Confirm();
        return true;
    }
    if (name == QLatin1String("Btn_FireExit")) {
        // The edits stay in the page's copy: the next confirm or Apply writes them.
        Leave(QStringLiteral("Img_FireExit"));
        return true;
    }
    return false;
}

bool FirePage::LabelEntered(const QString& name) {
    if (const int gun = NumberAfter(name, "Btn_Fire", kGunCount); gun != 0) {
        static_cast<void>(
            SetPicture(Numbered("Img_Fire", gun), QStringLiteral("Gun%1_02").arg(gun)));
        return true;
    }
    if (name == QLatin1String("Btn_FireConfirm") || name == QLatin1String("Btn_FireExit")) {
        static_cast<void>(SetPicture(name == QLatin1String("Btn_FireConfirm")
                                         ? QStringLiteral("Img_FireConfirm")
                                         : QStringLiteral("Img_FireExit"),
                                     QStringLiteral("BtnS_02")));
        return true;
    }
    return false;
}

bool FirePage::LabelLeft(const QString& name) {
    if (const int gun = NumberAfter(name, "Btn_Fire", kGunCount); gun != 0) {
        static_cast<void>(
            SetPicture(Numbered("Img_Fire", gun),
                       QStringLiteral("Gun%1_0%2").arg(gun).arg(gun == gun_ ? 2 : 1)));
        return true;
    }
    if (name == QLatin1String("Btn_FireConfirm") || name == QLatin1String("Btn_FireExit")) {
        static_cast<void>(SetPicture(name == QLatin1String("Btn_FireConfirm")
                                         ? QStringLiteral("Img_FireConfirm")
                                         : QStringLiteral("Img_FireExit"),
                                     QStringLiteral("BtnS_01")));
        return true;
    }
    return false;
}

void FirePage::Leave(const QString& button_picture) {
    window().HideAllMenu();
    static_cast<void>(SetPicture(button_picture, QStringLiteral("BtnS_03")));
    window().LeaveFirePage();
}

void FirePage::Confirm() {
    Leave(QStringLiteral("Img_FireConfirm"));
    const auto* menus = window().PageOf<FunctionMenus>();
    const AssignTarget target = menus != nullptr ? menus->target() : AssignTarget{};
    if (target.kind == AssignTarget::Kind::kLabel) {
        auto* label = qobject_cast<QLabel*>(window().Control(target.Control()));
        const GunInfo& gun = kGuns[static_cast<size_t>(gun_ - 1)];
        const std::optional<GunKeyCode> code =
            GunKeyCodeOf(gun_, window().org().gun6_slots, window().org().gun7_slots);
        const FunctionCode function =
            code ? FunctionCode{(*code)[0], (*code)[1], (*code)[2]} : FunctionCode{};
        const auto checked = [this](const char* radio) {
            const auto* button = qobject_cast<QRadioButton*>(Control(QString::fromLatin1(radio)));
            return button != nullptr && button->isChecked();
        };
        const bool gaming = checked("rb_2");
        // One button of the shown profile stays the left click: the whole confirm stops.
        ProfileButtons shown =
            gaming ? window().shown_config().gaming : window().shown_config().office;
        if (window().config_shown() && (gaming || checked("rb_1")) &&
            !AssignButtonFunction(shown, static_cast<size_t>(target.number - 1), function,
                                  LeftClickRule::kKept)) {
            window().ShowMessageKey("Str108");
            return;
        }
        if (label != nullptr) {
            label->setText(QString::fromStdString(window().captions().Caption(gun.name_key)));
        }
        // On the office page the caption changes and nothing is stored.
        if (code && gaming) {
            const int button = target.number;
            window().ChangeConfig([button, function](MouseConfig& c) {
                c.gaming[static_cast<size_t>(button - 1)] = function;
            });
        }
    }
    window().RequestFlow(QStringLiteral("Btn_FireConfirm"));
}

}  // namespace velq::ui
