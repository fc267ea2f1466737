#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "buttons/name_lookups.h"
#include "common/caption_lookup.h"

namespace velq {

// The run-time state a button name depends on. After any of it changes every button name is
// made again from the code texts.
struct NameSources {
    const CaptionLookup& captions;  // the current language's caption table
    const MacroNameLookup& macros;
    const GunNameLookup& guns;
    bool eeprom_mode;  // true: macros live in the mouse; false: the utility keeps them
};

// The name of entry `position` (0-based) of the gun key list: "Fire Macro" + position + 1.
std::string GunKeyListName(std::size_t position);

// The display name of a code text; empty when no rule names it or the text is not a code.
std::string FunctionName(std::string_view code_text, const NameSources& sources);

}  // namespace velq
