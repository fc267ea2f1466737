#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velq {

// Where macro function codes get their names. The macro code owns the lists; the names of
// buttons only ask.
class MacroNameLookup {
public:
    virtual ~MacroNameLookup() = default;
    // Macros in the mouse: the name of slot 1..6 as the device macro list shows it, or, when
    // that entry is empty, the name stored with the macro in the mouse. Empty when neither has
    // one.
    virtual std::string SlotMacroName(int slot) const = 0;
    // Macros kept by the utility: the name of the n-th macro of the driver list, or none when
    // the list holds no n-th macro.
    virtual std::optional<std::string> DriverMacroName(std::size_t n) const = 0;
};

// Where gun key codes get their names: the gun key list of the engineering page, loaded from
// the gun key file at start-up.
class GunNameLookup {
public:
    virtual ~GunNameLookup() = default;
    // Whether the gun key file was found at start-up. Without it the predefined guns are named.
    virtual bool GunKeyFileFound() const = 0;
    // The code texts of the ten list entries ("000000" for a free entry).
    virtual std::vector<std::string> GunKeyTexts() const = 0;
};

}  // namespace velq
