#include "macros/ui/macro_page.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

#include "buttons/ui/macro_name_dialog.h"
#include "macros/macro_folder.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

namespace {

// Item height of the macro list when the layout gives none.
constexpr int kDefaultNameHeight = 20;
constexpr int kNameIndent = 4;
// The library panel's entries, top to bottom, one row each.
constexpr std::array<const char*, 7> kLibraryPanelRows{
    "Btn_NewMacro", "Btn_NewName",   "Btn_DelPCMacro", "Btn_ImportOne",
    "Btn_Import",   "Btn_ExportOne", "Btn_Export"};
constexpr int kLibraryPanelRowHeight = 22;
// The library file had free records between its macros, which the list closes up.
constexpr const char* kCompactedCaption = "Str913";

QColor ColourOf(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The macro list draws its items itself: the name 4 pixels from the left, the selected item on
// the macro highlight colour, the others on the list colour of the layout.
class MacroNameDelegate final : public QStyledItemDelegate {
public:
    MacroNameDelegate(const MainWindow& window, QObject* parent)
        : QStyledItemDelegate(parent), window_(window) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const LayoutStyle& style = window_.style();
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->fillRect(option.rect, ColourOf(selected ? style.macro_highlight_color
                                                         : style.macro_list_back_color));
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(kNameIndent, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int height = window_.style().macro_name_height;
        return {QStyledItemDelegate::sizeHint(option, index).width(),
                height > 0 ? height : kDefaultNameHeight};
    }

private:
    const MainWindow& window_;
};

QListWidget* ListOf(QWidget* widget) {
    return qobject_cast<QListWidget*>(widget);
}

}  // namespace

MacroPage::MacroPage(MainWindow& window) : WindowPart(window, kMacroPart), editor_(*this) {}

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
                           "XDG_DATA_HOME nor HOME is an absolute path."));
        return;
    }
    auto library = std::make_unique<MacroLibrary>(*folder);
    const LibraryResult loaded = library->Load();
    if (!loaded) {
        window().ShowMessage(QString::fromStdString(loaded.error));
    } else if (loaded.compacted) {
        // The list shows the macros closed up, and the next change writes them so: the user
        // hears of it before that save, while the file still holds its gaps.
        window().ShowMessage(
            QString::fromStdString(window().captions().Caption(kCompactedCaption)) +
            QLatin1Char('\n') + QString::fromStdString(library->File().string()));
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
    if (QListWidget* list = ListOf(Control(QStringLiteral("LB_PCMacroName")))) {
        list->setItemDelegate(new MacroNameDelegate(window(), list));
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->viewport()->installEventFilter(this);
        // A click on the selected macro shows it again (the editor drops what it did not
        // commit); the keyboard moves the selection too.
        connect(list, &QListWidget::itemClicked, this,
                [this, list](QListWidgetItem* item) { Select(list->row(item)); });
        // The editor follows the selection, not the current row: a list that takes the focus
        // makes its first row current without selecting it, and the editor then shows nothing.
        connect(list, &QListWidget::itemSelectionChanged, this, [this] {
            if (const int row = SelectedIndex(); row != selected_) {
                Select(row);
            }
        });
    }
    editor_.Built();
    RefreshNames(-1);
}

void MacroPage::Arrange() {
    if (QWidget* panel = Control(QStringLiteral("Pnl_PCMacro"))) {
        int top = 1;
        for (const char* name : kLibraryPanelRows) {
            if (QWidget* row = Control(QString::fromLatin1(name))) {
                row->setGeometry(1, top, panel->width() - 2, kLibraryPanelRowHeight);
                top += kLibraryPanelRowHeight;
            }
        }
        panel->resize(panel->width(), top + 1);
    }
    editor_.Arrange();
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

void MacroPage::HideMenus() {
    // `ClearMacro`: the library panel and the editor's pop-up.
    WindowPart::HideMenus();
    editor_.HidePopups();
}

bool MacroPage::LabelClicked(const QString& name) {
    using Action = void (MacroPage::*)();
    static const QHash<QString, Action> kActions{
        {QStringLiteral("Btn_New"), &MacroPage::NewMacro},
        {QStringLiteral("Btn_NewMacro"), &MacroPage::NewMacroFromPanel},
        {QStringLiteral("Btn_NewName"), &MacroPage::RenameMacro},
        {QStringLiteral("Btn_Delete"), &MacroPage::DeleteMacro},
        {QStringLiteral("Img_Delete"), &MacroPage::DeleteMacro},
        {QStringLiteral("Btn_DelPCMacro"), &MacroPage::DeleteMacro},
        {QStringLiteral("Btn_ImportOne"), &MacroPage::ImportOne},
        {QStringLiteral("Btn_Import"), &MacroPage::ImportAll},
        {QStringLiteral("Btn_ExportOne"), &MacroPage::ExportOne},
        {QStringLiteral("Btn_Export"), &MacroPage::ExportAll},
    };
    if (const auto it = kActions.find(name); it != kActions.end()) {
        (this->*it.value())();
        return true;
    }
    return editor_.LabelClicked(name);
}

bool MacroPage::eventFilter(QObject* watched, QEvent* event) {
    QListWidget* list = ListOf(Control(QStringLiteral("LB_PCMacroName")));
    if (list == nullptr || watched != list->viewport()) {
        return WindowPart::eventFilter(watched, event);
    }
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if ((press || release) && mouse->button() == Qt::RightButton) {
        if (press) {
            // The right button first selects the macro under the pointer, as a left click.
            HideMenus();
            const int row = list->row(list->itemAt(mouse->position().toPoint()));
            if (row >= 0) {
                list->setCurrentRow(row);
                Select(row);
            }
        } else {
            OpenLibraryPanel(mouse->globalPosition().toPoint());
        }
        return true;
    }
    if (press) {
        HideMenus();
    }
    return WindowPart::eventFilter(watched, event);
}

void MacroPage::OpenLibraryPanel(const QPoint& global) {
    QWidget* panel = Control(QStringLiteral("Pnl_PCMacro"));
    if (panel == nullptr) {
        return;
    }
    QWidget* parent = panel->parentWidget();
    QPoint at = parent != nullptr ? parent->mapFromGlobal(global) : global;
    if (parent != nullptr) {
        // The whole panel stays on the page.
        at.setX(std::clamp(at.x(), 0, std::max(0, parent->width() - panel->width())));
        at.setY(std::clamp(at.y(), 0, std::max(0, parent->height() - panel->height())));
    }
    panel->move(at);
    panel->show();
    panel->raise();
}

bool MacroPage::Usable() {
    return library() != nullptr;
}

int MacroPage::SelectedIndex() const {
    const QListWidget* list = ListOf(Control(QStringLiteral("LB_PCMacroName")));
    if (list == nullptr || list->currentItem() == nullptr || !list->currentItem()->isSelected()) {
        return -1;
    }
    return list->currentRow();
}

void MacroPage::Select(int index) {
    HideMenus();
    selected_ = index;
    editor_.Show(index >= 0 ? library() : nullptr, index);
}

void MacroPage::RefreshNames(int select) {
    QListWidget* list = ListOf(Control(QStringLiteral("LB_PCMacroName")));
    if (list == nullptr) {
        return;
    }
    const QStringList names = LibraryNames();
    {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(names);
        if (select >= 0 && select < list->count()) {
            list->setCurrentRow(select);
        } else {
            list->setCurrentRow(-1);
            list->clearSelection();
        }
    }
    list->scrollToBottom();
    // The library takes 100 macros: then the new-macro buttons rest.
    const bool room = library() == nullptr || library()->CanAddNew();
    for (const char* button : {"Btn_New", "Btn_NewMacro", "Img_New"}) {
        if (QWidget* control = Control(QString::fromLatin1(button))) {
            control->setEnabled(room);
        }
    }
    Select(list->currentRow() >= 0 && list->currentItem()->isSelected() ? list->currentRow() : -1);
    emit libraryChanged();
}

void MacroPage::Finish(const LibraryResult& result) {
    if (result) {
        RefreshNames(result.select);
    } else {
        Said(result);
    }
}

void MacroPage::Said(const LibraryResult& result) {
    if (result) {
        return;
    }
    if (const std::optional<std::string_view> key = LibraryMessageKey(result.status)) {
        window().ShowMessageKey(*key);
    } else if (!result.error.empty()) {
        window().ShowMessage(QString::fromStdString(window().captions().Caption("Str109")) +
                             QLatin1Char('\n') + QString::fromStdString(result.error));
    }
}

void MacroPage::AskName(std::function<LibraryResult(MacroLibrary&, std::u16string)> action) {
    // The dialog does not block the window; its confirm acts on the library as it is then.
    const DialogOpening opened =
        OpenMacroNameDialog(window(), [this, action = std::move(action)](const QString& name) {
            if (MacroLibrary* lib = library()) {
                Finish(action(*lib, name.toStdU16String()));
            }
        });
    if (!opened) {
        window().ShowMessage(opened.error);
    }
}

void MacroPage::NewMacro() {
    HideMenus();
    if (!Usable() || !library()->CanAddNew()) {
        return;
    }
    AskName([](MacroLibrary& lib, std::u16string name) { return lib.New(name); });
}

void MacroPage::NewMacroFromPanel() {
    // The panel's entry starts the new macro playing to its end, as its empty content says.
    if (library() != nullptr && library()->CanAddNew()) {
        editor_.SelectPlayToEnd();
    }
    NewMacro();
}

void MacroPage::RenameMacro() {
    HideMenus();
    const int index = SelectedIndex();
    if (!Usable() || index < 0) {
        return;
    }
    // The macro to rename is the one selected when the dialog opened. The slots holding it
    // take the new name with it, so the buttons that play it stay linked to the library's macro.
    AskName([this, index](MacroLibrary& lib, std::u16string name) {
        const auto at = static_cast<std::size_t>(index);
        const MacroName before = at < lib.Count() ? lib.NameField(at) : MacroName{};
        LibraryResult result = lib.Rename(at, name);
        if (result) {
            Stored(index, before);
        }
        return result;
    });
}

void MacroPage::Stored(int index, const MacroName& name) {
    if (library() == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= library()->Count()) {
        return;
    }
    const std::span<const uint8_t> record = library()->Record(static_cast<std::size_t>(index));
    emit macroStored(
        QByteArray(reinterpret_cast<const char*>(name.data()), static_cast<qsizetype>(name.size())),
        QByteArray(reinterpret_cast<const char*>(record.data()),
                   static_cast<qsizetype>(record.size())));
}

void MacroPage::DeleteMacro() {
    HideMenus();
    const int index = SelectedIndex();
    if (!Usable() || index < 0) {
        return;
    }
    Finish(library()->Delete(static_cast<std::size_t>(index)));
}

std::optional<std::filesystem::path> MacroPage::ChooseFile(FileUse use) {
    if (!Usable() || window().files() == nullptr) {
        return std::nullopt;
    }
    const std::optional<QString> file =
        use == FileUse::kImport
            ? window().files()->OpenFile(
                  {QStringLiteral("Import"), QStringLiteral("LoadFile (*.bin)"), QString()})
            : window().files()->SaveFile(
                  {QStringLiteral("Export"), QStringLiteral("SaveFile (*.bin)"), QString()});
    if (!file || file->isEmpty()) {
        return std::nullopt;
    }
    const std::filesystem::path chosen(file->toStdString());
    if (use == FileUse::kExport) {
        // The file written is the chosen name with ".bin" appended, which the dialog's own
        // question about the chosen name did not cover.
        const std::filesystem::path written = ExportFileName(chosen);
        std::error_code ec;
        if (std::filesystem::exists(written, ec) &&
            !window().files()->ConfirmReplace(QString::fromStdString(written.string()))) {
            return std::nullopt;
        }
    }
    return chosen;
}

void MacroPage::ImportOne() {
    if (!Usable() || !library()->CanImportOne()) {
        return;
    }
    if (const auto file = ChooseFile(FileUse::kImport)) {
        HideMenus();
        Finish(library()->ImportOne(*file));
    }
}

void MacroPage::ImportAll() {
    if (const auto file = ChooseFile(FileUse::kImport)) {
        HideMenus();
        Finish(library()->ImportAll(*file));
    }
}

void MacroPage::ExportOne() {
    HideMenus();
    const int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    if (const auto file = ChooseFile(FileUse::kExport)) {
        Said(library()->ExportOne(static_cast<std::size_t>(index), *file));
    }
}

void MacroPage::ExportAll() {
    if (const auto file = ChooseFile(FileUse::kExport)) {
        HideMenus();
        Said(library()->ExportAll(*file));
    }
}

void MacroPage::Opened(Page /*page*/) {
    // The editor works on the macro the list shows selected: when none is, the last one, where
    // the list rests scrolled to its end.
    QListWidget* list = ListOf(Control(QStringLiteral("LB_PCMacroName")));
    if (list != nullptr && SelectedIndex() < 0 && list->count() > 0) {
        list->setCurrentRow(list->count() - 1);  // selects it, which shows it
    }
    editor_.ShowBoxes();
}

void MacroPage::SetCaptureSource(MacroEditor::CaptureSource source) {
    editor_.SetCaptureSource(std::move(source));
}

void MacroPage::LanguageSwitching() {
    editor_.LanguageSwitching();
}

void MacroPage::LanguageSwitched(bool applied) {
    editor_.LanguageSwitched(applied);
}

}  // namespace velq::ui
