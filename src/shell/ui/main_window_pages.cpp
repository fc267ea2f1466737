// Pages built when first needed: which page a control lies on, building a page with its
// waiting layout steps, captions and the state the window keeps for it.
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
    if (QWidget* existing = Find(name)) {
        return existing;
    }
    if (!started_ || !OnUnbuiltPage(name)) {
        return nullptr;
    }
    BuildPart(PageIndexOf(name));
    return Find(name);
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
    return holder.isEmpty() ? pages_[0] : EnsureControl(holder);
}

int MainWindow::PageIndexOf(const QString& name) {
    if (const auto known = page_index_of_.constFind(name); known != page_index_of_.cend()) {
        return *known;
    }
    int index = 0;  // a name the kind table does not know is created on the first page
    if (const std::optional<ControlSpec> entry = ClassifyControl(name.toStdString())) {
        // The function menus: their panels, entries and markers, and the list of names.
        const bool menu_part =
            entry->kind == ControlKind::kMenuEntry || entry->kind == ControlKind::kMenuMarker ||
            (entry->kind == ControlKind::kPanel && entry->place == ControlPlace::kPage1) ||
            name == QLatin1String("LB_Name");
        if (menu_part) {
            index = kMenuParts;
        } else if (const std::optional<int> page = DirectPageOf(*entry)) {
            index = *page;
        } else {
            const QString holder = HolderOf(name, *entry);
            index = holder.isEmpty() ? 0 : PageIndexOf(holder);
        }
    }
    page_index_of_.insert(name, index);
    return index;
}

bool MainWindow::OnUnbuiltPage(const QString& name) {
    const int index = PageIndexOf(name);
    return index >= 0 && !page_built_[static_cast<size_t>(index)];
}

void MainWindow::BuildPart(int index) {
    // The factory page is built with the rest of its controls, and tells the device flows so.
    if (index == kFactoryPage) {
        EnsureEngineeringPage();
    } else {
        BuildPage(index);
    }
}

void MainWindow::BuildPage(int index) {
    const auto page = static_cast<size_t>(index);
    if (index < 0 || page >= page_built_.size() || page_built_[page]) {
        return;
    }
    page_built_[page] = true;
    for (const QString& name : FixedControlNames()) {
        if (PageIndexOf(name) == index) {
            EnsureControl(name);
        }
    }
    for (const CaptionTarget& target : kCaptionTargets) {
        const QString name = ToQString(target.control);
        if (PageIndexOf(name) == index) {
            EnsureControl(name);
        }
    }
    FillInsertList();
    // What the window did to this page's controls before and after the layout last applied,
    // around the layout itself: a label fitted to its picture is fitted to the picture the
    // layout saw.
    const auto apply_pictures = [this, index](QHash<QString, QString>& pictures) {
        for (auto it = pictures.begin(); it != pictures.end();) {
            if (PageIndexOf(it.key()) != index) {
                ++it;
                continue;
            }
            static_cast<void>(SetPicture(it.key(), it.value()));
            it = pictures.erase(it);
        }
    };
    apply_pictures(pictures_under_layout_);
    // The current language's layout of this page. Its pictures were found when the layout was
    // applied, so no step fails here.
    const WaitingSteps waiting = std::move(deferred_ops_[page]);
    deferred_ops_[page] = {};
    for (const uint32_t i : waiting.steps) {
        if (ShellResult step = RunLayoutOp(waiting.layout->ops[i]); !step) {
            std::fprintf(stderr, "%s\n", qPrintable(step.error));
        }
    }
    ApplyCaptions(captions(), index);
    apply_pictures(deferred_pictures_);
    if (index == kMenuParts && main_panel_height_) {
        if (QWidget* panel = Find(QStringLiteral("Pnl_Main"))) {
            panel->resize(panel->width(), *main_panel_height_);
        }
    }
    if (index < 4) {
        const int copy = index + 1;
        if (QWidget* cover = Find(QStringLiteral("Disable_All_%1").arg(copy))) {
            cover->setVisible(pages_covered_);
        }
        if (engineer_unlocked_) {
            UnlockEngineerCopy(copy);
        }
    }
    SetListItemHeights();
    PlaceMenuEntries();
    IndentOptionCaptions();
    ApplyLightingEntries();
    Restack();
}

void MainWindow::SetListItemHeights() {
    for (const QString name :
         {"LB_PCMacroName", "LB_MacroName", "LB_macro", "LB_FireMacroName", "LB_FireMacro"}) {
        if (QWidget* list = Find(name)) {
            list->setProperty("itemHeight", style_.macro_name_height);
        }
    }
}

void MainWindow::FillInsertList() {
    if (auto* combo = qobject_cast<QComboBox*>(Find(QStringLiteral("CB_Insert")))) {
        while (combo->count() < 8) {
            combo->addItem(QString());
        }
    }
}

}  // namespace velq::ui
