#pragma once

#include <cstddef>
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

// A new level count (held to 2..7) makes its top level the current one.
void SetLevelCount(MouseConfig& config, int count);

// Choosing the flowing or the two-colour light starts it in mode 2; the seven-colour lights
// have no mode and keep the stored one.
inline constexpr uint8_t kModeOfANewlyChosenLight = 2;
void ChooseLightType(MouseConfig& config, LightType type);

// One button of each profile stays the left click.
inline constexpr FunctionCode kLeftClickCode{static_cast<uint8_t>(CodeType::kMouseButton),
                                             kMouseLeft, 0};
bool KeepsLeftClick(const ProfileButtons& buttons);

// Whether a new function must leave the profile a left click: menu entries must, a key
// combination and a gun key may replace the last one.
enum class LeftClickRule { kKept, kWaived };

// Gives button `button` (0-based) of `buttons` the function `code`. Under the left-click rule a
// change that would leave the profile without a left click is refused: false, and the button
// keeps its function.
bool AssignButtonFunction(ProfileButtons& buttons, std::size_t button, const FunctionCode& code,
                          LeftClickRule rule);

}  // namespace velq
