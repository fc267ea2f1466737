#include "config/ui/engineering_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <array>
#include <optional>
#include <string>

#include "common/dpi.h"
#include "shell/ui/combo_popup.h"

namespace velq::ui {
namespace {

enum class Kind { kGroup, kLabel, kCombo, kEdit, kReadOnlyEdit, kRadio, kCheck, kButton, kList };

// Which list items a combo box holds.
enum class Items {
    kNone,
    kDpiValues,       // the twelve DPI values
    kAimValues,       // "500" .. "8000", the aim slider's values
    kLevelCounts,     // "2" .. "7"
    kLevels,          // "1" .. "7"
    kCounts256,       // "1" .. "256"
    kSlots10,         // "1" .. "10"
    kOrientations,    // terms 0x41 .. 0x48
    kFlowingModes,    // terms 0x28 .. 0x2E
    kTwoColourModes,  // terms 0x32 .. 0x38
    kKeyModes,        // terms 0x58, 0x59
};

// One control of the page: its name, kind, parent (a group, a tab or the page), place, and the
// term that captions it (or that a label before it shows, for fields).
struct Row {
    const char* name;
    Kind kind;
    const char* parent;  // "" = the page; "ts_Operator" / "ts_Engineer" = a tab
    int x, y, w, h;
    int term;  // -1 for none
    Items items = Items::kNone;
};

constexpr int kRow = 26;

// The command buttons along the top.
constexpr Row kCommands[] = {
    {"btn_EngOffice", Kind::kButton, "", 10, 4, 90, 26, 0x00},
    {"btn_EngGaming", Kind::kButton, "", 104, 4, 90, 26, 0x01},
    {"btn_EngAdvanced", Kind::kButton, "", 198, 4, 90, 26, 0x02},
    {"btn_EngLight", Kind::kButton, "", 292, 4, 90, 26, 0x03},
    {"btn_EngMacro", Kind::kButton, "", 386, 4, 90, 26, 0x04},
    {"btn_Load", Kind::kButton, "", 486, 4, 60, 26, 0x06},
    {"btn_Save", Kind::kButton, "", 550, 4, 60, 26, 0x07},
    {"Btn_Default", Kind::kButton, "", 614, 4, 60, 26, 0x09},
    {"btn_Write", Kind::kButton, "", 678, 4, 60, 26, 0x0A},
    {"btn_loadDefaultCPI", Kind::kButton, "", 742, 4, 60, 26, 0x4C},
    {"btn_loadDefaultLED", Kind::kButton, "", 806, 4, 60, 26, 0x0F},
    {"btn_TestKeys", Kind::kButton, "", 870, 4, 120, 26, 0x08},
};

// The operation tab.
constexpr Row kOperator[] = {
    // Column 1: lighting and switches.
    {"gbLEDType", Kind::kGroup, "ts_Operator", 8, 6, 226, 78, 0x0F},
    {"rb_MCULED", Kind::kRadio, "gbLEDType", 10, 22, 100, 22, 0x10},
    {"rb_RBLED", Kind::kRadio, "gbLEDType", 116, 22, 100, 22, 0x11},
    {"rb_SyncLED", Kind::kRadio, "gbLEDType", 10, 48, 100, 22, 0x12},
    {"rb_BreLED", Kind::kRadio, "gbLEDType", 116, 48, 100, 22, 0x13},
    {"gbLEDStatus", Kind::kGroup, "ts_Operator", 8, 88, 226, 48, 0x14},
    {"rb_LEDOn", Kind::kRadio, "gbLEDStatus", 10, 20, 100, 22, 0x15},
    {"rb_LEDOff", Kind::kRadio, "gbLEDStatus", 116, 20, 100, 22, 0x16},
    {"gbB4CPI", Kind::kGroup, "ts_Operator", 8, 140, 226, 48, 0x17},
    {"rb_B4CPIOn", Kind::kRadio, "gbB4CPI", 10, 20, 100, 22, 0x15},
    {"rb_B4CPIOff", Kind::kRadio, "gbB4CPI", 116, 20, 100, 22, 0x16},
    {"gbLCPI", Kind::kGroup, "ts_Operator", 8, 192, 226, 48, 0x1E},
    {"rb_LCPIOn", Kind::kRadio, "gbLCPI", 10, 20, 100, 22, 0x15},
    {"rb_LCPIOff", Kind::kRadio, "gbLCPI", 116, 20, 100, 22, 0x16},
    {"gbMCULEDControlMode", Kind::kGroup, "ts_Operator", 8, 244, 226, 48, 0x1F},
    {"rb_MCULED3Control", Kind::kRadio, "gbMCULEDControlMode", 10, 20, 100, 22, 0x20},
    {"rb_MCULED6Control", Kind::kRadio, "gbMCULEDControlMode", 116, 20, 100, 22, 0x21},
    {"gbSaveKeyMode", Kind::kGroup, "ts_Operator", 8, 296, 226, 48, 0x3D},
    {"rb_Save", Kind::kRadio, "gbSaveKeyMode", 10, 20, 100, 22, 0x3E},
    {"rb_NoSave", Kind::kRadio, "gbSaveKeyMode", 116, 20, 100, 22, 0x3F},
    {"gbFireFn", Kind::kGroup, "ts_Operator", 8, 348, 226, 48, 0x18},
    {"rb_FireFnOn", Kind::kRadio, "gbFireFn", 10, 20, 100, 22, 0x19},
    {"rb_FireFnOff", Kind::kRadio, "gbFireFn", 116, 20, 100, 22, 0x1A},
    {"gbSwitchFn", Kind::kGroup, "ts_Operator", 8, 400, 226, 96, 0x39},
    {"cb_MidPress", Kind::kCheck, "gbSwitchFn", 10, 20, 200, 22, 0x3A},
    {"cb_CPIPress", Kind::kCheck, "gbSwitchFn", 10, 44, 200, 22, 0x3B},
    {"cb_GunPress", Kind::kCheck, "gbSwitchFn", 10, 68, 200, 22, 0x3C},
    // Column 2: DPI levels, fire key, codes.
    {"gbCPI", Kind::kGroup, "ts_Operator", 242, 6, 240, 262, 0x4C},
    {"cb_CPIStep", Kind::kCombo, "gbCPI", 120, 20, 100, 22, 0x4D, Items::kLevelCounts},
    {"cb_CurrentCPI", Kind::kCombo, "gbCPI", 120, 20 + kRow, 100, 22, 0x4E, Items::kLevels},
    {"cb_CPI1", Kind::kCombo, "gbCPI", 120, 20 + 2 * kRow, 100, 22, 0x4F, Items::kDpiValues},
    {"cb_CPI2", Kind::kCombo, "gbCPI", 120, 20 + 3 * kRow, 100, 22, 0x50, Items::kDpiValues},
    {"cb_CPI3", Kind::kCombo, "gbCPI", 120, 20 + 4 * kRow, 100, 22, 0x51, Items::kDpiValues},
    {"cb_CPI4", Kind::kCombo, "gbCPI", 120, 20 + 5 * kRow, 100, 22, 0x52, Items::kDpiValues},
    {"cb_CPI5", Kind::kCombo, "gbCPI", 120, 20 + 6 * kRow, 100, 22, 0x53, Items::kDpiValues},
    {"cb_CPI6", Kind::kCombo, "gbCPI", 120, 20 + 7 * kRow, 100, 22, 0x54, Items::kDpiValues},
    {"cb_CPI7", Kind::kCombo, "gbCPI", 120, 20 + 8 * kRow, 100, 22, 0x55, Items::kDpiValues},
    {"gbFireMode", Kind::kGroup, "ts_Operator", 242, 272, 240, 74, 0x1B},
    {"cb_FireCount", Kind::kCombo, "gbFireMode", 120, 20, 100, 22, 0x1C, Items::kCounts256},
    {"edt_FireTime", Kind::kEdit, "gbFireMode", 120, 20 + kRow, 100, 22, 0x1D},
    // Continuous fire is chosen on the advanced page; its state is kept here, out of sight.
    {"cb_IsFireContinue", Kind::kCheck, "gbFireMode", 0, 0, 0, 0, -1},
    {"cb_AIMKeyValue", Kind::kCombo, "ts_Operator", 362, 354, 100, 22, 0x56, Items::kAimValues},
    {"cb_KeyMode", Kind::kCombo, "ts_Operator", 362, 354 + kRow, 100, 22, 0x57, Items::kKeyModes},
    {"cb_SensorOri", Kind::kCombo, "ts_Operator", 362, 354 + 2 * kRow, 100, 22, 0x40,
     Items::kOrientations},
    {"edt_VendorID", Kind::kEdit, "ts_Operator", 362, 354 + 3 * kRow, 100, 22, 0x23},
    {"edt_ProductID", Kind::kEdit, "ts_Operator", 362, 354 + 4 * kRow, 100, 22, 0x24},
    {"cb_Smooth", Kind::kCheck, "ts_Operator", 250, 354 + 5 * kRow, 200, 22, -1},
    // Column 3: DPI colours and the lights' own settings.
    {"gbMCULEDCPIColor", Kind::kGroup, "ts_Operator", 490, 6, 240, 214, 0x22},
    {"gbMCULEDCurrent", Kind::kGroup, "ts_Operator", 490, 224, 240, 100, 0x25},
    {"edt_MCULEDNum", Kind::kEdit, "gbMCULEDCurrent", 120, 20, 100, 22, 0x26},
    {"cb_MCULEDCurrentMode", Kind::kCombo, "gbMCULEDCurrent", 120, 20 + kRow, 100, 22, 0x27,
     Items::kFlowingModes},
    {"edt_MCULEDCrtStep", Kind::kEdit, "gbMCULEDCurrent", 120, 20 + 2 * kRow, 100, 22, 0x2F},
    {"gbRBLEDMode", Kind::kGroup, "ts_Operator", 490, 328, 240, 50, 0x30},
    {"cb_RBLEDCurrentMode", Kind::kCombo, "gbRBLEDMode", 100, 20, 130, 22, 0x31,
     Items::kTwoColourModes},
    // Column 4: both profiles' buttons.
    {"gbKeyMode1", Kind::kGroup, "ts_Operator", 738, 6, 232, 250, 0x58},
    {"gbKeyMode2", Kind::kGroup, "ts_Operator", 738, 260, 232, 250, 0x59},
};

// The engineer tab.
constexpr Row kEngineer[] = {
    {"gbGunParam", Kind::kGroup, "ts_Engineer", 8, 6, 300, 230, 0x5A},
    {"cb_SOSStartIndex", Kind::kCombo, "gbGunParam", 150, 20, 80, 22, 0x5B, Items::kSlots10},
    {"cb_SOSNumber", Kind::kCombo, "gbGunParam", 150, 20 + kRow, 80, 22, 0x5C, Items::kSlots10},
    {"btn_AddScript", Kind::kButton, "gbGunParam", 10, 20 + 2 * kRow, 135, 24, 0x5D},
    {"btn_DelScript", Kind::kButton, "gbGunParam", 155, 20 + 2 * kRow, 135, 24, 0x5E},
    {"LB_ScriptName", Kind::kList, "gbGunParam", 10, 20 + 3 * kRow + 4, 280, 122, -1},
    {"gbMCULEDMode", Kind::kGroup, "ts_Engineer", 8, 242, 300, 130, 0x5F},
    {"cb_Mode1", Kind::kCheck, "gbMCULEDMode", 10, 20, 130, 22, 0x28},
    {"cb_Mode2", Kind::kCheck, "gbMCULEDMode", 150, 20, 130, 22, 0x29},
    {"cb_Mode3", Kind::kCheck, "gbMCULEDMode", 10, 20 + kRow, 130, 22, 0x2A},
    {"cb_Mode4", Kind::kCheck, "gbMCULEDMode", 150, 20 + kRow, 130, 22, 0x2B},
    {"cb_Mode5", Kind::kCheck, "gbMCULEDMode", 10, 20 + 2 * kRow, 130, 22, 0x2C},
    {"cb_Mode6", Kind::kCheck, "gbMCULEDMode", 150, 20 + 2 * kRow, 130, 22, 0x2D},
    {"cb_Mode7", Kind::kCheck, "gbMCULEDMode", 10, 20 + 3 * kRow, 130, 22, 0x2E},
    {"edt_VendorID_Rd", Kind::kReadOnlyEdit, "ts_Engineer", 128, 382, 100, 22, 0x23},
    {"edt_ProductID_Rd", Kind::kReadOnlyEdit, "ts_Engineer", 128, 382 + kRow, 100, 22, 0x24},
    // Four macro slots from a file straight into the mouse.
    {"Btn_ImportBaseMacro", Kind::kButton, "ts_Engineer", 8, 382 + 2 * kRow + 8, 220, 26, 0x0B},
    {"gbFireMacroColor", Kind::kGroup, "ts_Engineer", 316, 6, 380, 298, 0x60},
    {"gbFireMacroYOffset", Kind::kGroup, "ts_Engineer", 704, 6, 266, 298, 0x7F},
    {"gbFireMacroFile", Kind::kGroup, "ts_Engineer", 316, 310, 380, 92, 0x0C},
};

// The fire area's buttons: the three default sets and a fire area file, with their terms.
struct FireButtonRow {
    const char* name;
    int x, y;
    int term;
};
constexpr FireButtonRow kFireButtons[] = {
    {"btn_deleteFireMarco", 10, 24, 0x8B},
    {"btn_importFireMarco1", 190, 24, 0x8C},
    {"btn_importFireMarco2", 10, 56, 0x8D},
    {"Btn_ImportGunMacro", 190, 56, 0x0C},
};

}  // namespace

namespace {

class Builder {
public:
    Builder(QWidget& page, EngineerLanguage language, const EngineeringPageHooks& hooks)
        : page_(page), language_(language), hooks_(hooks) {}

    QString Term(int code) const {
        if (code < 0) {
            return {};
        }
        const std::optional<std::string_view> text =
            EngineerText(static_cast<uint8_t>(code), language_);
        return text ? QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()))
                    : QString();
    }

    QWidget* Parent(const char* name) {
        if (*name == '\0') {
            return &page_;
        }
        QWidget* parent = page_.findChild<QWidget*>(QString::fromLatin1(name));
        return parent != nullptr ? parent : &page_;
    }

    void Fill(QComboBox* combo, Items items) {
        if (items == Items::kKeyModes && combo->count() == 2) {
            // The key-mode list is the first page's too, made with the window: it keeps its two
            // positions and takes the page's terms.
            combo->setItemText(0, Term(0x58));
            combo->setItemText(1, Term(0x59));
            return;
        }
        if (combo->count() > 0 || items == Items::kNone) {
            return;
        }
        const auto numbers = [combo](int first, int last) {
            for (int n = first; n <= last; ++n) {
                combo->addItem(QString::number(n));
            }
        };
        const auto terms = [this, combo](int first, int last) {
            for (int code = first; code <= last; ++code) {
                combo->addItem(Term(code));
            }
        };
        switch (items) {
            case Items::kDpiValues:
            case Items::kAimValues:
                // The aim key's list offers every value the aim slider can reach, 8000 DPI too.
                for (const int dpi : kDpiValues) {
                    combo->addItem(QString::number(dpi));
                }
                break;
            case Items::kLevelCounts:
                numbers(kMinLevelCount, kDpiLevels);
                break;
            case Items::kLevels:
                numbers(1, kDpiLevels);
                break;
            case Items::kCounts256:
                numbers(1, 256);
                break;
            case Items::kSlots10:
                numbers(1, 10);
                break;
            case Items::kOrientations:
                terms(0x41, 0x48);
                break;
            case Items::kFlowingModes:
                terms(0x28, 0x2E);
                break;
            case Items::kTwoColourModes:
                terms(0x32, 0x38);
                break;
            case Items::kKeyModes:
                terms(0x58, 0x59);
                break;
            case Items::kNone:
                break;
        }
    }

    QWidget* Make(const Row& row) {
        QWidget* parent = Parent(row.parent);
        const QString name = QString::fromLatin1(row.name);
        QWidget* widget = hooks_.existing ? hooks_.existing(name) : nullptr;
        if (widget == nullptr) {
            widget = Create(row.kind, parent);
            widget->setObjectName(name);
            created_.push_back(widget);
        } else {
            widget->setParent(parent);
        }
        Configure(widget, row);
        widget->setGeometry(row.x, row.y, row.w, row.h);
        widget->setVisible(row.w > 0);
        const bool field =
            row.kind == Kind::kCombo || row.kind == Kind::kEdit || row.kind == Kind::kReadOnlyEdit;
        if (field && row.term >= 0) {
            // The field's term stands before it on the same row.
            auto* label = new QLabel(Term(row.term), parent);
            label->setObjectName(QStringLiteral("lbl_Eng_") + name);
            label->setGeometry(row.x - 112, row.y + 2, 108, row.h - 2);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->show();
            created_.push_back(label);
        }
        return widget;
    }

    QWidget* Create(Kind kind, QWidget* parent) {
        switch (kind) {
            case Kind::kGroup:
                return new QGroupBox(parent);
            case Kind::kLabel:
                return new QLabel(parent);
            case Kind::kCombo: {
                auto* combo = new QComboBox(parent);
                PopupFollowsCombo(*combo);
                return combo;
            }
            case Kind::kEdit:
            case Kind::kReadOnlyEdit:
                return new QLineEdit(parent);
            case Kind::kRadio:
                return new QRadioButton(parent);
            case Kind::kCheck:
                return new QCheckBox(parent);
            case Kind::kButton:
                return new QPushButton(parent);
            case Kind::kList:
                return new QListWidget(parent);
        }
        return new QWidget(parent);
    }

    void Configure(QWidget* widget, const Row& row) {
        const QString caption = row.term >= 0 ? Term(row.term) : QString();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(caption);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            Fill(combo, row.items);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setReadOnly(row.kind == Kind::kReadOnlyEdit);
            edit->setAlignment(Qt::AlignCenter);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->setText(caption);
            const QString name = QString::fromLatin1(row.name);
            // The builder is gone when the button is clicked: the action is copied in.
            QObject::connect(button, &QPushButton::clicked, button,
                             [clicked = hooks_.clicked, name] {
                                 if (clicked) {
                                     clicked(name);
                                 }
                             });
        } else if (auto* option = qobject_cast<QAbstractButton*>(widget)) {
            option->setText(row.name == std::string_view("cb_Smooth") ? QStringLiteral("Smooth")
                                                                      : caption);
        }
    }

    // Rows of a named group whose controls follow a pattern: the DPI colours, the fire macro
    // colours and Y offsets, the two profiles' buttons.
    void MakeRepeated() {
        for (int level = 1; level <= 7; ++level) {
            const int y = 20 + (level - 1) * kRow;
            auto* term = new QLabel(Term(0x4F + level - 1), Parent("gbMCULEDCPIColor"));
            term->setObjectName(QStringLiteral("lbl_Eng_CPI%1Colour").arg(level));
            term->setGeometry(10, y + 2, 56, 20);
            term->show();
            created_.push_back(term);
            for (int c = 0; c < 3; ++c) {
                const char rgb = "RGB"[c];
                Make(Row{nullptr, Kind::kEdit, "gbMCULEDCPIColor", 70 + c * 54, y, 48, 22, -1},
                     QStringLiteral("edt_CPI%1%2").arg(level).arg(QLatin1Char(rgb)));
            }
        }
        for (int slot = 1; slot <= 10; ++slot) {
            const int y = 20 + (slot - 1) * kRow;
            for (int c = 0; c < 3; ++c) {
                const char rgb = "RGB"[c];
                auto* term =
                    new QLabel(Term(0x61 + (slot - 1) * 3 + c), Parent("gbFireMacroColor"));
                term->setGeometry(8 + c * 124, y + 2, 76, 20);
                term->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                term->show();
                created_.push_back(term);
                Make(Row{nullptr, Kind::kEdit, "gbFireMacroColor", 88 + c * 124, y, 40, 22, -1},
                     QStringLiteral("edt_FireMacroColor%1%2").arg(slot).arg(QLatin1Char(rgb)));
            }
            auto* term = new QLabel(Term(0x80 + slot - 1), Parent("gbFireMacroYOffset"));
            term->setGeometry(8, y + 2, 140, 20);
            term->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            term->show();
            created_.push_back(term);
            Make(Row{nullptr, Kind::kReadOnlyEdit, "gbFireMacroYOffset", 156, y, 80, 22, -1},
                 QStringLiteral("edt_YOffset%1").arg(slot));
        }
        for (int profile = 1; profile <= 2; ++profile) {
            const char* group = profile == 1 ? "gbKeyMode1" : "gbKeyMode2";
            for (int b = 1; b <= 9; ++b) {
                Make(Row{nullptr, Kind::kButton, group, 10, 20 + (b - 1) * 25, 212, 23, -1},
                     QStringLiteral("btn_Key%1%2").arg(profile).arg(b, 2, 10, QLatin1Char('0')));
            }
        }
    }

    // Make for a generated name.
    QWidget* Make(Row row, const QString& name) {
        const QByteArray latin = name.toLatin1();
        row.name = latin.constData();
        QWidget* widget = Make(row);
        return widget;
    }

    std::vector<QWidget*> Take() { return std::move(created_); }

private:
    QWidget& page_;
    EngineerLanguage language_;
    const EngineeringPageHooks& hooks_;
    std::vector<QWidget*> created_;
};

}  // namespace

std::vector<QWidget*> BuildEngineeringPage(QWidget& page, EngineerLanguage language,
                                           const EngineeringPageHooks& hooks) {
    Builder builder(page, language, hooks);
    // The logo strip across the top, beneath the command row; a double click on it is the
    // engineer unlock.
    auto* logo = new QLabel(&page);
    logo->setObjectName(QStringLiteral("Img_Logo4"));
    logo->setGeometry(0, 0, 1000, 34);
    logo->setStyleSheet(QStringLiteral(
        "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #2a1c08, stop:0.5 #12151a, "
        "stop:1 #2a1c08); border-bottom: 2px solid #e8a030;"));
    logo->show();
    for (const Row& row : kCommands) {
        builder.Make(row);
    }
    auto* tabs = new QTabWidget(&page);
    tabs->setObjectName(QStringLiteral("Pg_Parameter"));
    tabs->setGeometry(10, 36, 980, 538);
    auto* operation = new QWidget;
    operation->setObjectName(QStringLiteral("ts_Operator"));
    auto* engineer = new QWidget;
    engineer->setObjectName(QStringLiteral("ts_Engineer"));
    tabs->addTab(operation, builder.Term(0x0D));
    tabs->addTab(engineer, builder.Term(0x0E));
    for (const Row& row : kOperator) {
        builder.Make(row);
    }
    for (const Row& row : kEngineer) {
        builder.Make(row);
    }
    for (const FireButtonRow& row : kFireButtons) {
        builder.Make(
            Row{row.name, Kind::kButton, "gbFireMacroFile", row.x, row.y, 172, 26, row.term});
    }
    builder.MakeRepeated();
    // The hint line along the bottom: its caption here, the window's hint label beside it
    // while the page is open.
    auto* notes = new QLabel(builder.Term(0x8A), &page);
    notes->setObjectName(QStringLiteral("lbl_Notes"));
    notes->setGeometry(kNotesLine);
    notes->show();
    std::vector<QWidget*> created = builder.Take();
    created.insert(created.end(), {logo, tabs, operation, engineer, notes});
    return created;
}

}  // namespace velq::ui
