#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "buttons/name_lookups.h"
#include "fire/gun_keys.h"

class QWidget;

namespace velq::ui {

class MainWindow;

// The gun key list as the window shows it: loaded once from "VELQ540B Fire Macro.bin" at
// start-up, listed on the factory page (`LB_ScriptName`, with `cb_SOSStartIndex`,
// `cb_SOSNumber`, `btn_AddScript` and `btn_DelScript`) and in the button menu (`LB_Script`),
// and the names of the buttons that carry one of its codes.
class GunKeysView final : public QObject, public GunNameLookup {
    Q_OBJECT

public:
    using ControlLookup = std::function<QWidget*(const QString&)>;

    explicit GunKeysView(MainWindow& window);

    // Reads the list from the folder of the user's data. A file that cannot be read is said,
    // and left as it is: the list refuses every change (and says so) until a later start.
    void Load();
    // The factory page's controls exist: they show the list and act on it.
    void Connect(const ControlLookup& control);
    // A click on a factory page button; false when it is not one of the list's.
    bool Clicked(const QString& name);

    // The code of the name at list position `position` (the order both lists show).
    std::optional<GunKeyCode> CodeAt(int position) const;

    // GunNameLookup.
    bool GunKeyFileFound() const override { return list_.FilePresent(); }
    std::vector<std::string> GunKeyTexts() const override;

private:
    std::filesystem::path File() const;
    // Both lists show the names, `select` selected on the factory page (-1: none).
    void Refill(int select);
    // After an add or delete: the lists, and the names of the buttons, follow.
    void Changed(int select);
    void Add();
    void Delete();
    void ShowSlotsOf(int position);
    void Said(const GunKeyResult& result);
    // The file could not be read (`error` says why), so nothing is changed.
    void SayUnreadable(const std::string& error);

    MainWindow& window_;
    GunKeyList list_;
    std::optional<std::filesystem::path> folder_;
    ControlLookup control_;
};

}  // namespace velq::ui
