#pragma once

#include <cstdint>

class QKeyEvent;

namespace velq::ui {

// Whether the platform's key events carry X11 keysyms as their native virtual key (xcb and
// Wayland do; offscreen and synthesised events carry none).
bool PlatformGivesKeysyms();

// The X11 keysym of a key event: its native one when `native_keysyms`, otherwise the keysym of
// its Qt key (with the keypad's own keysyms for keys of the keypad). Letters give their
// upper-case keysym, symbols of a US layout their own, which the keysym table reads alike.
// 0 for a key that has none.
uint32_t KeysymOfKeyEvent(const QKeyEvent& event, bool native_keysyms);

// The Windows virtual-key code the editor dialogs take from a key event: the keysym's key with
// Shift, Ctrl and Alt of either hand reported as the generic codes, as a window's key events
// report them (so Shift is "Shift", usage E1). 0 for a key the key list cannot name.
int DialogVirtualKey(const QKeyEvent& event, bool native_keysyms = PlatformGivesKeysyms());

// Whether Shift, Ctrl or Alt was held down when the key went down.
bool ModifierHeld(const QKeyEvent& event);

}  // namespace velq::ui
