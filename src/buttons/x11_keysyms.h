#pragma once

#include <cstdint>
#include <span>

namespace velq {

// The Linux side of key capture: an X11 keysym (the numeric values of keysymdef.h and
// XF86keysym.h) -> the Windows virtual-key code that the key tables take as input. Left and
// right modifiers map to their side-specific virtual keys; letters of either case and the
// shifted symbols of a US layout map to the key that types them.
struct KeysymMapping {
    uint32_t keysym;
    uint8_t virtual_key;
};

std::span<const KeysymMapping> KeysymTable();

// The virtual-key code of a keysym; 0 when the keysym has none.
uint8_t VirtualKeyOfKeysym(uint32_t keysym);

// Raw keyboard input reports the generic Shift, Ctrl and Alt codes (16, 17, 18) for both hands;
// the recorder writes its modifier tokens from those. This folds the side-specific codes of the
// keysym table into them and leaves every other code as it is.
uint8_t RawInputVirtualKey(uint8_t virtual_key);

}  // namespace velq
