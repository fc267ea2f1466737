#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velq {

// The number fields of the delay dialog (a wait of 0..2040 ms) and the value dialog (one step
// of a pointer move, -128..127, the range of its signed byte).
inline constexpr int kMaxEditDelay = 2040;
inline constexpr int kMinMoveValue = -128;
inline constexpr int kMaxMoveValue = 127;

// What the key filters let into a field: the delay field takes digits only, the value field
// digits and "-" anywhere (so "1-" and "5-3" can be typed; they are simply not numbers).
bool DelayFieldAccepts(std::string_view text);
bool ValueFieldAccepts(std::string_view text);

// The number a field's text stands for: an optional "-" and at least one digit, nothing else.
// A number too large for an int comes back held to the int range, so that the rules below
// still see it as out of range rather than as no number at all.
std::optional<int> FieldNumber(std::string_view text);

// The text a field takes after a change. Delay: empty gives "0", below 0 "0", above 2040 "2040".
// Value: a lone "-" stays (a negative number is being typed), empty gives "0", 128 or more
// "127", below -128 "-128". Any other text is left as it is, a text that is not a number too:
// the dialog refuses to confirm it.
std::string CorrectDelayText(std::string_view text);
std::string CorrectValueText(std::string_view text);

// The fire key's fields, which take digits only (DelayFieldAccepts). Clicks per press (1..255):
// empty gives "2", "0" gives "1", 256 or more "255". The wait between clicks (0..255) on the
// advanced page: empty gives "0", 256 or more "255"; on the factory page an empty field gives
// the usual wait, "100".
inline constexpr int kMaxFireCount = 255;
inline constexpr int kMaxFireWait = 255;
std::string CorrectFireCountText(std::string_view text);
std::string CorrectFireWaitText(std::string_view text);
std::string CorrectFactoryFireWaitText(std::string_view text);

// The factory page's vendor and product code fields (0..255, digits only): an empty field and
// a value above 255 give "255".
std::string CorrectDeviceCodeText(std::string_view text);

}  // namespace velq
