#pragma once

#include <cstdint>

#include "config/mouse_config.h"

namespace velq {

// The edits the pages make to the configuration where one choice touches more than one
// setting. Each leaves every other setting as it was.

// Whether any button of either profile is an aim key.
bool HasAimKey(const MouseConfig& config);

// The aim DPI chosen on a page (an index into the DPI value list): every aim key of both
// profiles gets it. Without an aim key there is nothing to give it to: the choice falls back to
// the first value and false comes back, so that the page can say so.
bool ChooseAimDpi(MouseConfig& config, uint8_t index);
// What the pages then say, the same in every language.
inline constexpr const char* kNoAimKeyMessage = "Please select a AIM Key in Profile!";

// The fire key's clicks per press, 1..255 (held to that range): continuous fire ends.
void SetFireClicks(MouseConfig& config, int clicks);

// Continuous fire on, or off again with three clicks per press.
void ToggleContinuousFire(MouseConfig& config);

// What the fire key's count list shows: the stored count byte, clicks - 1, or 255 (the list's
// last entry, "256") while the key repeats as long as it is held.
inline constexpr int kWhileHeldCountPosition = 255;
int FireCountPosition(const FireKeyConfig& fire);

// The key mode is not remembered: the mouse starts in key mode 1, so that is the one kept.
void SetRememberKeyMode(MouseConfig& config, bool remember);

}  // namespace velq
