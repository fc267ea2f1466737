#include "macros/ui/macro_page.h"

#include <QComboBox>
#include <QLabel>

#include "macros/macro_folder.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

namespace {

constexpr int kInsertItems = 8;

}  // namespace

MacroPage::MacroPage(MainWindow& window) : WindowPart(window, kMacroPart), editor_(window) {}

MacroPage::~MacroPage() = default;

void MacroPage::LoadLibrary() {
    if (library_loaded_) {
        return;
    }
    library_loaded_ = true;
    const std::optional<std::filesystem::path> folder =
        MacroFolderOfEnvironment(window().org().path);
    if (!folder) {
        window().ShowMessage(
            QStringLiteral("No folder for the macro library: neither "
                           "XDG_DATA_HOME nor HOME is set."));
        return;
    }
    auto library = std::make_unique<MacroLibrary>(*folder);
    const LibraryResult loaded = library->Load();
    if (!loaded) {
        window().ShowMessage(QString::fromStdString(loaded.error));
    }
    library_ = std::move(library);
}

MacroLibrary* MacroPage::library() {
    LoadLibrary();
    return library_.get();
}

QStringList MacroPage::LibraryNames() {
    QStringList names;
    if (MacroLibrary* lib = library()) {
        for (const std::u16string& name : lib->Names()) {
            names << QString::fromStdU16String(name);
        }
    }
    return names;
}

void MacroPage::Built() {
    if (auto* combo = qobject_cast<QComboBox*>(Control(QStringLiteral("CB_Insert")))) {
        while (combo->count() < kInsertItems) {
            combo->addItem(QString());
        }
    }
}

void MacroPage::Arrange() {
    // Wrapped option captions break at their first "-" (the layout says which wrap).
    const auto wrap = [this](const char* name, bool enabled) {
        auto* label = qobject_cast<QLabel*>(Control(QString::fromUtf8(name)));
        if (label == nullptr || !enabled) {
            return;
        }
        const QString text = label->text();
        const qsizetype dash = text.indexOf(QLatin1Char('-'));
        if (dash >= 0) {
            label->setText(text.left(dash) + QStringLiteral(" \n") + text.mid(dash + 1));
        }
    };
    wrap("IB_ReleaseStop", window().style().release_stop_wrap);
    wrap("IB_ReleaseContiue", window().style().release_continue_wrap);
}

void MacroPage::Opened(Page /*page*/) {
    ShowBoxes();
}

void MacroPage::ShowBoxes() {
    Control(QStringLiteral("Gb_Delay"))->setVisible(!insert_mode_);
    Control(QStringLiteral("Gb_Insert"))->setVisible(insert_mode_);
    if (QWidget* base = Control(QStringLiteral("Img_InsertBase"))) {
        base->setVisible(insert_mode_);
    }
}

void MacroPage::LanguageSwitching() {
    // The language buttons' action hides the delay box and keeps the insert list's choice.
    const auto* insert_list = qobject_cast<QComboBox*>(Control(QStringLiteral("CB_Insert")));
    insert_item_ = insert_list != nullptr ? insert_list->currentIndex() : -1;
    QWidget* delay_group = Control(QStringLiteral("Gb_Delay"));
    delay_visible_ = delay_group != nullptr && !delay_group->isHidden();
    if (delay_group != nullptr) {
        delay_group->hide();
    }
}

void MacroPage::LanguageSwitched(bool applied) {
    if (!applied) {
        // Nothing else changed: put back what the action hid.
        Control(QStringLiteral("Gb_Delay"))->setVisible(delay_visible_);
        return;
    }
    if (auto* insert_list = qobject_cast<QComboBox*>(Control(QStringLiteral("CB_Insert")));
        insert_list != nullptr && insert_item_ >= 0) {
        insert_list->setCurrentIndex(insert_item_);
    }
    if (window().current_page() == Page::kMacro && !window().no_device_page()) {
        ShowBoxes();
    }
}

}  // namespace velq::ui
