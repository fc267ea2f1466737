// The advanced page's rows of the PC's pointer settings: speed, precision, double-click speed,
// wheel lines and one screen per notch. They are the PC's, not the mouse's: read when the page
// is built and after every read of the mouse, written when the user changes one and again on
// Apply.
#include <QApplication>
#include <QLabel>
#include <QSlider>

#include <cstdio>
#include <optional>

#include "settings/pointer_rules.h"
#include "settings/ui/advanced_page.h"
#include "settings/ui/snap_slider.h"
#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

// The three sliders with their scale labels' stem.
struct PointerRow {
    const char* slider;
    const char* scale;
};
constexpr PointerRow kRows[] = {
    {"slider_Spd", "lbl_Spd"}, {"slider_DbSpd", "lbl_DbSpd"}, {"slider_SrcSpd", "lbl_ScrSpd"}};

// The options' pictures and the labels that toggle them: the click label on the picture and
// the caption beside it.
constexpr const char* kPrecisionNames[] = {"Img_IsControl", "lbl_IsControl", "lbl_Is_Control"};
constexpr const char* kScreenNames[] = {"Img_IsScreen", "lbl_IsScreen", "lbl_Roll_All_Screen"};

// The rows' captions, each with the setting it stands for and the note beside it, which tells
// where the setting goes when it does not reach the desktop. The one-screen option writes the
// wheel lines; the precision option goes with the speed, whose note speaks for both.
struct PointerNote {
    const char* caption;
    const char* note;
    std::optional<PointerKey> key;  // none: a row of the desktop's own pointer settings
};
constexpr PointerNote kNotes[] = {
    {"lbl_Mouse_Speed", "lbl_Mouse_Speed_Note", std::nullopt},
    {"lbl_Double_Click", "lbl_Double_Click_Note", PointerKey::kDoubleClickSpeed},
    {"lbl_Roller_Speed", "lbl_Roller_Speed_Note", PointerKey::kWheelScrollLines},
    {"lbl_Roll_All_Screen", "lbl_Roll_All_Screen_Note", PointerKey::kWheelScrollLines},
};
// The space between a caption's text and its note.
constexpr int kNoteGap = 12;

bool Names(const QString& name, const char* const (&names)[3]) {
    for (const char* n : names) {
        if (name == QLatin1String(n)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void AdvancedPage::BuildPointerRows() {
    for (std::size_t r = 0; r < std::size(kRows); ++r) {
        auto* slider = qobject_cast<QSlider*>(Control(QString::fromLatin1(kRows[r].slider)));
        if (slider == nullptr) {
            continue;
        }
        pointer_sliders_[r] = new SnapSlider(*slider, kPointerSliderTrack, &PointerSliderSnap, {},
                                             [this, r](int index) {
                                                 const int position = index + 1;
                                                 Report(r == 0   ? pointer_.SetSpeed(position)
                                                        : r == 1 ? pointer_.SetDoubleClick(position)
                                                                 : pointer_.SetWheel(position));
                                                 ShowPointer();
                                             });
        // The scale under the slider numbers its positions.
        for (int i = 1; i <= kPointerPositions; ++i) {
            if (auto* label = qobject_cast<QLabel*>(
                    Control(QString::fromLatin1(kRows[r].scale) + QString::number(i)))) {
                label->setText(QString::number(i));
            }
        }
    }
    ClickThrough(QStringLiteral("Img_IsControl"), QStringLiteral("Img_IsControl"));
    ClickThrough(QStringLiteral("Img_IsScreen"), QStringLiteral("Img_IsScreen"));
    // Our own window follows the double-click time and the wheel lines at once.
    pointer_.SetListener([](const PointerValues& values) {
        const auto number = [&values](PointerKey key) -> std::optional<int> {
            const auto it = values.find(key);
            if (it == values.end()) {
                return std::nullopt;
            }
            bool ok = false;
            const int n = QString::fromStdString(it->second).toInt(&ok);
            return ok ? std::optional<int>(n) : std::nullopt;
        };
        if (const std::optional<int> ms = number(PointerKey::kDoubleClickSpeed); ms && *ms > 0) {
            QApplication::setDoubleClickInterval(*ms);
        }
        if (const std::optional<int> lines = number(PointerKey::kWheelScrollLines);
            lines && *lines > 0) {
            QApplication::setWheelScrollLines(*lines);
        }
    });
    if (pointer_source_) {
        pointer_.SetBackend(pointer_source_());
    }
    for (const PointerNote& row : kNotes) {
        QWidget* caption = Control(QString::fromLatin1(row.caption));
        if (caption == nullptr || caption->parentWidget() == nullptr) {
            continue;
        }
        auto* note = new QLabel(caption->parentWidget());
        note->setObjectName(QString::fromLatin1(row.note));
        // It may lie over the end of its caption's box, whose clicks it lets through.
        note->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        Adopt(note);
    }
    ShowPointerNotes();
    MouseRead();
}

void AdvancedPage::FitPointerScales() {
    // The scale numbers take the size of their text in the font the layout gave them.
    for (const PointerRow& row : kRows) {
        for (int i = 1; i <= kPointerPositions; ++i) {
            if (QWidget* label = Control(QString::fromLatin1(row.scale) + QString::number(i))) {
                label->resize(label->sizeHint());
            }
        }
    }
}

void AdvancedPage::ShowPointerNotes() {
    // Without a backend (a desktop whose pointer settings this program cannot reach, such as a
    // Wayland session other than GNOME's) every row says so; with one, the rows that reach only
    // our own file say that they apply to this program only.
    const PointerBackend* backend = pointer_.backend();
    const QString unsupported = QString::fromStdString(window().captions().Caption("Str921"));
    const QString own_only = QString::fromStdString(window().captions().Caption("Str920"));
    // The notes read as the page's hint under the DPI levels does.
    const QWidget* hint = Control(QStringLiteral("lbl_DPI_Note"));
    for (const PointerNote& row : kNotes) {
        auto* note = qobject_cast<QLabel*>(OwnControl(QString::fromLatin1(row.note)));
        const auto* caption = qobject_cast<QLabel*>(Control(QString::fromLatin1(row.caption)));
        if (note == nullptr || caption == nullptr) {
            continue;
        }
        const bool own = backend != nullptr && row.key && backend->OnlyInOwnFile(*row.key);
        if (backend != nullptr && !own) {
            note->hide();
            continue;
        }
        if (hint != nullptr) {
            note->setFont(hint->font());
            note->setPalette(hint->palette());
        }
        note->setText(backend == nullptr ? unsupported : own_only);
        note->adjustSize();
        // Beside the caption's text, centred on it.
        const int text_end = caption->x() + caption->contentsMargins().left() +
                             caption->fontMetrics().horizontalAdvance(caption->text());
        note->move(text_end + kNoteGap, caption->y() + (caption->height() - note->height()) / 2);
        note->show();
        note->raise();
    }
}

void AdvancedPage::MouseRead() {
    if (pointer_.backend() != nullptr) {
        Report(pointer_.Refresh());
    }
    ShowPointer();
}

void AdvancedPage::Applying() {
    Report(pointer_.Apply());
}

void AdvancedPage::ShowPointer() {
    const PointerPage& page = pointer_.page();
    const int positions[] = {page.speed, page.double_click, page.wheel};
    for (std::size_t r = 0; r < std::size(kRows); ++r) {
        // Position 0: nothing read yet; the slider rests at the left.
        if (pointer_sliders_[r] != nullptr) {
            pointer_sliders_[r]->Show(std::max(positions[r], 1) - 1);
        }
    }
    if (QWidget* wheel = Control(QStringLiteral("slider_SrcSpd"))) {
        wheel->setEnabled(!page.one_screen);
    }
    static_cast<void>(SetPicture(QStringLiteral("Img_IsControl"), page.precision
                                                                      ? QStringLiteral("CbS_E")
                                                                      : QStringLiteral("CbS_D")));
    static_cast<void>(SetPicture(QStringLiteral("Img_IsScreen"), page.one_screen
                                                                     ? QStringLiteral("CbS_E")
                                                                     : QStringLiteral("CbS_D")));
}

bool AdvancedPage::PointerClicked(const QString& name) {
    if (Names(name, kPrecisionNames)) {
        Report(pointer_.SetPrecision(!pointer_.page().precision));
    } else if (Names(name, kScreenNames)) {
        Report(pointer_.SetOneScreen(!pointer_.page().one_screen));
    } else {
        return false;
    }
    ShowPointer();
    return true;
}

void AdvancedPage::Report(const PointerResult& result) {
    if (result || result.error.empty()) {
        return;
    }
    // Our own file keeps what the desktop does not: a file that cannot be read or written
    // loses the user's setting, which the user must know.
    if (result.own_file) {
        window().ShowMessage(QString::fromStdString(window().captions().Caption("Str109")) +
                             QLatin1Char('\n') + QString::fromStdString(result.error));
        return;
    }
    // The PC's settings are not the mouse's: a desktop that refuses one leaves the mouse and
    // the page as they are, and is only noted for whoever looks at the program's output.
    std::fprintf(stderr, "pointer settings: %s\n", result.error.c_str());
}

}  // namespace velq::ui
