#include "fire/ui/gun_keys_view.h"

#include <QComboBox>
#include <QListWidget>

#include <algorithm>

#include "common/user_dirs.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

namespace {

// A gun key file that could not be read: the list is left as it is and refuses changes.
constexpr const char* kUnreadableCaption = "Str914";

QListWidget* ListOf(QWidget* widget) {
    return qobject_cast<QListWidget*>(widget);
}

}  // namespace

GunKeysView::GunKeysView(MainWindow& window) : window_(window) {}

void GunKeysView::Load() {
    // The file lives with the user's data: the folder a Linux program is installed in is not
    // writable by its users. The program settings' `Path` does not apply to it.
    folder_ = ProgramFolder(UserFolder::kData);
    if (!folder_) {
        return;  // no data folder: the list stays empty, as without a file
    }
    const FileResult loaded = list_.Load(File());
    if (!loaded) {
        SayUnreadable(loaded.error);
    }
    Refill(-1);
}

void GunKeysView::SayUnreadable(const std::string& error) {
    window_.ShowMessage(QString::fromStdString(window_.captions().Caption(kUnreadableCaption)) +
                        QLatin1Char('\n') + QString::fromStdString(error));
}

std::filesystem::path GunKeysView::File() const {
    return folder_.value_or(std::filesystem::path()) / std::string(kGunKeyFileName);
}

void GunKeysView::Connect(const ControlLookup& control) {
    control_ = control;
    if (QListWidget* names = ListOf(control_(QStringLiteral("LB_ScriptName")))) {
        connect(names, &QListWidget::currentRowChanged, this,
                [this](int row) { ShowSlotsOf(row); });
    }
    Refill(-1);
}

bool GunKeysView::Clicked(const QString& name) {
    if (name == QLatin1String("btn_AddScript")) {
        Add();
        return true;
    }
    if (name == QLatin1String("btn_DelScript")) {
        Delete();
        return true;
    }
    return false;
}

std::optional<GunKeyCode> GunKeysView::CodeAt(int position) const {
    const std::vector<int> listed = list_.ListedEntries();
    if (position < 0 || position >= static_cast<int>(listed.size())) {
        return std::nullopt;
    }
    return list_.Entry(listed[static_cast<size_t>(position)]);
}

std::vector<std::string> GunKeysView::GunKeyTexts() const {
    std::vector<std::string> texts;
    for (int number = 1; number <= kGunKeyEntryCount; ++number) {
        texts.push_back(list_.EntryText(number));
    }
    return texts;
}

void GunKeysView::Refill(int select) {
    QStringList names;
    for (const std::string& name : list_.Names()) {
        names << QString::fromStdString(name);
    }
    if (QListWidget* menu_list = ListOf(window_.Control(QStringLiteral("LB_Script")))) {
        menu_list->clear();
        menu_list->addItems(names);
        // The menu list shows every name without scrolling, as wide as the first menu panel.
        const QWidget* panel = window_.Control(QStringLiteral("Pnl_Main"));
        const int rows = std::max(menu_list->count(), 1);
        menu_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        menu_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        menu_list->resize(panel != nullptr ? panel->width() : menu_list->width(),
                          rows * menu_list->sizeHintForRow(0) + 2 * menu_list->frameWidth());
    }
    if (QListWidget* page_list =
            control_ ? ListOf(control_(QStringLiteral("LB_ScriptName"))) : nullptr) {
        const QSignalBlocker blocker(page_list);
        page_list->clear();
        page_list->addItems(names);
        page_list->setCurrentRow(select);
        page_list->scrollToBottom();
    }
}

void GunKeysView::Changed(int select) {
    Refill(select);
    // Buttons that carry a gun key are named after the list.
    window_.ChangeConfig({});
}

void GunKeysView::Add() {
    const auto* first = control_ ? qobject_cast<QComboBox*>(control_("cb_SOSStartIndex")) : nullptr;
    const auto* last = control_ ? qobject_cast<QComboBox*>(control_("cb_SOSNumber")) : nullptr;
    if (first == nullptr || last == nullptr) {
        return;
    }
    if (!folder_) {
        window_.ShowMessage(
            QStringLiteral("No folder for the gun key list: neither XDG_DATA_HOME nor HOME is "
                           "an absolute path."));
        return;
    }
    const GunKeyResult added =
        list_.Add(first->currentIndex() + 1, last->currentIndex() + 1, File());
    if (added) {
        Changed(added.select);
    } else {
        Said(added);
    }
}

void GunKeysView::Delete() {
    const QListWidget* names =
        control_ ? ListOf(control_(QStringLiteral("LB_ScriptName"))) : nullptr;
    if (names == nullptr || names->currentRow() < 0 || !folder_) {
        return;
    }
    const GunKeyResult deleted = list_.Delete(names->currentRow(), File());
    if (deleted) {
        Changed(deleted.select);
        ShowSlotsOf(deleted.select);
    } else {
        Said(deleted);
    }
}

void GunKeysView::ShowSlotsOf(int position) {
    const std::optional<GunKeyCode> code = CodeAt(position);
    if (!code || !control_) {
        return;
    }
    if (auto* first = qobject_cast<QComboBox*>(control_(QStringLiteral("cb_SOSStartIndex")))) {
        first->setCurrentIndex((*code)[1] - 1);
    }
    if (auto* last = qobject_cast<QComboBox*>(control_(QStringLiteral("cb_SOSNumber")))) {
        last->setCurrentIndex((*code)[2] - 1);
    }
}

void GunKeysView::Said(const GunKeyResult& result) {
    // A full list and a missing selection are the buttons' quiet limits; a file that could not
    // be read or written is not.
    if (result.status == GunKeyStatus::kUnreadable) {
        SayUnreadable(result.error);
    } else if (result.status == GunKeyStatus::kWriteFailed) {
        window_.ShowMessage(QString::fromStdString(window_.captions().Caption("Str109")) +
                            QLatin1Char('\n') + QString::fromStdString(result.error));
    }
}

}  // namespace velq::ui
