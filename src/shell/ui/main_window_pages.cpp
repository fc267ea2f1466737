// The parts of the window: which part a control lies on, finding a control (its part built
// first when needed), and the state the window keeps for every part once it is built.
#include <QComboBox>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "shell/caption_targets.h"
#include "shell/ui/main_window.h"
#include "shell/ui/main_window_detail.h"

namespace velq::ui {

using detail::FixedControlNames;
using detail::ToQString;

QWidget* MainWindow::Control(const QString& name) {
    if (QWidget* existing = controls_.value(name, nullptr)) {
        return existing;
    }
    if (!started_ || !OnUnbuiltPart(name)) {
        return nullptr;
    }
    parts_[static_cast<size_t>(PartIndexOf(name))]->Build();
    return controls_.value(name, nullptr);
}

QString MainWindow::PictureOf(const QString& name) {
    const QWidget* widget = Control(name);
    return widget == nullptr ? QString() : shown_pictures_.value(widget);
}

namespace {

// The page a control lies on directly (0..5; -1 for the window itself), or nothing when it lies
// in a group or a menu panel (see HolderOf).
std::optional<int> DirectPageOf(const ControlSpec& entry) {
    switch (entry.place) {
        case ControlPlace::kWindow:
            return -1;
        case ControlPlace::kCopy:
            return std::clamp(entry.copy, 1, 5) - 1;
        case ControlPlace::kPage1:
        case ControlPlace::kPage2:
        case ControlPlace::kPage3:
        case ControlPlace::kPage4:
        case ControlPlace::kPage5:
        case ControlPlace::kPage6:
            return static_cast<int>(entry.place) - static_cast<int>(ControlPlace::kPage1);
        case ControlPlace::kGbDelay:
        case ControlPlace::kGbInsert:
        case ControlPlace::kPcMacro:
        case ControlPlace::kMenu:
            break;
    }
    return std::nullopt;
}

// The group or menu panel holding a control, empty for a menu entry of no panel (it lies on
// the first page).
QString HolderOf(const QString& name, const ControlSpec& entry) {
    return ToQString(entry.place == ControlPlace::kMenu ? MenuPanelOf(name.toStdString())
                                                        : GroupOf(entry.place));
}

}  // namespace

QWidget* MainWindow::ParentFor(const QString& name, const ControlSpec& entry) {
    if (const std::optional<int> page = DirectPageOf(entry)) {
        return *page < 0 ? this : pages_[static_cast<size_t>(*page)];
    }
    const QString holder = HolderOf(name, entry);
    return holder.isEmpty() ? pages_[kOfficePart] : EnsureControl(holder);
}

int MainWindow::PartIndexOf(const QString& name) {
    if (const auto known = part_index_of_.constFind(name); known != part_index_of_.cend()) {
        return *known;
    }
    int index = kOfficePart;  // a name the kind table does not know is created on the first page
    if (name.startsWith(QStringLiteral("gbPage"))) {
        index = -1;  // the containers belong to the window
    } else if (const std::optional<ControlSpec> entry = ClassifyControl(name.toStdString())) {
        // The function menus: their panels, entries and markers, and the list of names.
        const bool menu_part =
            entry->kind == ControlKind::kMenuEntry || entry->kind == ControlKind::kMenuMarker ||
            (entry->kind == ControlKind::kPanel && entry->place == ControlPlace::kPage1) ||
            name == QLatin1String("LB_Name") || name == QLatin1String("LB_Script");
        if (menu_part) {
            index = kMenuPart;
        } else if (const std::optional<int> page = DirectPageOf(*entry)) {
            index = *page;
        } else {
            const QString holder = HolderOf(name, *entry);
            index = holder.isEmpty() ? kOfficePart : PartIndexOf(holder);
        }
    }
    part_index_of_.insert(name, index);
    return index;
}

bool MainWindow::OnUnbuiltPart(const QString& name) {
    const int index = PartIndexOf(name);
    return index >= 0 && !parts_[static_cast<size_t>(index)]->built();
}

void MainWindow::PartBuilt(WindowPart& part) {
    const int index = part.index();
    if (index <= kMacroPart) {
        const int copy = index + 1;
        if (QWidget* cover = Control(QStringLiteral("Disable_All_%1").arg(copy))) {
            cover->setVisible(pages_covered_);
            ShowCoverNote(cover);
        }
        if (engineer_unlocked_) {
            UnlockEngineerCopy(copy);
        }
    }
    SetListItemHeights();
    IndentOptionCaptions();
    part.Arrange();
    if (config_shown_ && part.ShowsConfig()) {
        // What the user changed on the pages built before is part of what this one shows.
        for (const auto& other : parts_) {
            if (other.get() != &part && other->built()) {
                other->CollectConfig(config_);
            }
        }
        part.ShowConfig(config_);
    }
    Restack();
}

void MainWindow::SetListItemHeights() {
    for (const QString name :
         {"LB_PCMacroName", "LB_MacroName", "LB_macro", "LB_FireMacroName", "LB_FireMacro"}) {
        if (QWidget* list = controls_.value(name, nullptr)) {
            list->setProperty("itemHeight", style_.macro_name_height);
        }
    }
}

}  // namespace velq::ui
