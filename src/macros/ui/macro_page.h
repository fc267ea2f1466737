#pragma once

#include <QStringList>

#include <memory>

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
    // cannot be loaded is said, and the page then refuses every change.
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

signals:
    // The library's names changed (a new, renamed, deleted or imported macro).
    void libraryChanged();

protected:
    void Built() override;

private:
    // The delay box, or in insert mode the insert box, shows while the page is open.
    void ShowBoxes();

    std::unique_ptr<MacroLibrary> library_;
    bool library_loaded_ = false;
    MacroEditor editor_;

    bool insert_mode_ = false;
    // Kept across a language switch.
    int insert_item_ = -1;
    bool delay_visible_ = false;
};

}  // namespace velq::ui
