#pragma once

#include "shell/ui/window_part.h"

namespace velq::ui {

// The macro page: the library of macros on disk, the event list of the chosen macro with its
// delay and insert boxes, and the release and repeat options.
class MacroPage final : public WindowPart {
    Q_OBJECT

public:
    explicit MacroPage(MainWindow& window);

    void Arrange() override;
    void Opened(Page page) override;
    void LanguageSwitching() override;
    void LanguageSwitched(bool applied) override;

protected:
    void Built() override;

private:
    // The delay box, or in insert mode the insert box, shows while the page is open.
    void ShowBoxes();

    bool insert_mode_ = false;
    // Kept across a language switch.
    int insert_item_ = -1;
    bool delay_visible_ = false;
};

}  // namespace velq::ui
