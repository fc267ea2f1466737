#pragma once

#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "macros/macro_library.h"
#include "macros/ui/macro_editor.h"
#include "shell/ui/window_part.h"

namespace velq::ui {

// The macro page: the library of macros on disk, the event list of the chosen macro with its
// delay and insert boxes, and the release and repeat options.
class MacroPage final : public WindowPart {
    Q_OBJECT

public:
    explicit MacroPage(MainWindow& window);
    ~MacroPage() override;

    // `CheckPCMacro`: loads the library of the macro folder, creating "Macro.bin" on the first
    // start. Runs once, at start-up or when something first needs the library; a library that
    // cannot be loaded is said, and the page then refuses every change; a library whose file
    // had free records between its macros is said too, before any change rewrites the file.
    void LoadLibrary();
    // The library once loaded; null when it could not be.
    MacroLibrary* library();
    // The library's names in order: the macro list and the pick list of the button menus show
    // them.
    QStringList LibraryNames();
    // The event editor of the selected macro.
    MacroEditor& editor() { return editor_; }

    void Arrange() override;
    void Opened(Page page) override;
    void LanguageSwitching() override;
    void LanguageSwitched(bool applied) override;
    void HideMenus() override;
    bool LabelClicked(const QString& name) override;

    // The library's macro `index` was committed anew (its events, an option, a recording or its
    // name; `name`: its name field before the change): said to whoever keeps copies of it.
    void Stored(int index, const MacroName& name);

    // Where recordings take their keys and buttons from (tests give their own).
    void SetCaptureSource(MacroEditor::CaptureSource source);

signals:
    // The library's names changed (a new, renamed, deleted or imported macro).
    void libraryChanged();
    // A recording started or ended: the device timer rests while one runs.
    void recordingChanged(bool recording);
    // A library macro changed: `name` is its name field before the change, `record` its name
    // field and content now. The window's copy of the mouse's slots follows it.
    void macroStored(const QByteArray& name, const QByteArray& record);

protected:
    void Built() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list of the library's names, `select` selected (-1: none), scrolled to its end; the
    // new-macro buttons follow the room left.
    void RefreshNames(int select);
    // The macro at list position `index` (-1: none) goes to the editor.
    void Select(int index);
    int SelectedIndex() const;
    // `Pnl_PCMacro` at the pointer.
    void OpenLibraryPanel(const QPoint& global);
    // The name dialog, whose confirmed name goes to `action`.
    void AskName(std::function<LibraryResult(MacroLibrary&, std::u16string)> action);
    void NewMacro();
    void NewMacroFromPanel();
    void RenameMacro();
    void DeleteMacro();
    // A file chosen in the file dialog; none when cancelled (or without a library).
    enum class FileUse { kImport, kExport };
    std::optional<std::filesystem::path> ChooseFile(FileUse use);
    void ImportOne();
    void ImportAll();
    void ExportOne();
    void ExportAll();
    // Shows what a library operation said, and the list it left.
    void Finish(const LibraryResult& result);
    // Tells the user why an operation failed (nothing when it did not).
    void Said(const LibraryResult& result);
    // The page's answer to a library that could not be loaded: every change is refused.
    bool Usable();

    // The editor works on the page's controls through the page.
    friend class MacroEditor;

    std::unique_ptr<MacroLibrary> library_;
    bool library_loaded_ = false;
    MacroEditor editor_;
    // The list position the editor shows (-1: none).
    int selected_ = -1;
};

}  // namespace velq::ui
