#pragma once

#include "shell/ui/window_part.h"

namespace velq::ui {

// The first page, shared by the office and gaming tabs: the drawing of the mouse with the nine
// button labels (`Key1`..`Key9`, each showing the function of its button in the profile of the
// open tab), the combo-key options and the key-mode list.
class ButtonsPage final : public WindowPart {
    Q_OBJECT

public:
    explicit ButtonsPage(MainWindow& window);

    bool ShowsConfig() const override { return true; }
    void ShowConfig(const MouseConfig& config) override;
    void CollectConfig(MouseConfig& config) const override;
    void Arrange() override;
    void Opened(Page page) override;
    bool LabelClicked(const QString& name) override;
    bool LabelEntered(const QString& name) override;
    bool LabelLeft(const QString& name) override;

protected:
    void Built() override;

private:
    // Shows `picture` on the key label picture of `button`, at the size the layout gave it.
    void ShowKeyPicture(int button, const QString& picture);
    // The labels name the functions of the profile of the open tab.
    void NameButtons(const MouseConfig& config);
    void FitKeyLabels();
    // The number of a button label ("Key7" -> 7), 0 for other names.
    static int ButtonOf(const QString& name);
};

}  // namespace velq::ui
