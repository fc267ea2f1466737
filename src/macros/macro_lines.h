#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velq {

// The editor's text form of a macro. Line 0 is the delay-mode line; every further line is one
// event, its first character the kind:
//   "0 <ms>"                        a wait
//   "1 <key> CODE:81mm" / "82uu"    modifier / key press;  "1 LeftKey CODE:00A1" button press
//   "2 <key> CODE:01mm" / "02uu"    modifier / key release; "2 LeftKey CODE:0021" button release
//   "3 FBxx" / "4 FBxx"             horizontal move, right or zero / left
//   "5 FAyy" / "6 FAyy"             vertical move, zero or positive / negative
// The last four characters of an event line are its token bytes in hexadecimal.
using MacroLines = std::vector<std::string>;

// How the macro was recorded, as line 0 says: "10" real delays, "01" + ms a fixed delay,
// "00" no delays.
enum class DelayMode { kRealDelays, kFixedDelay, kNoDelay };

std::string DelayModeLine(DelayMode mode, int fixed_delay_ms);

// Event lines in the form the decoder writes them.
std::string DelayLine(int ms);
// The name of a single-bit modifier mask (the key list's name of its virtual key); empty for
// any other mask.
std::string_view ModifierKeyName(uint8_t mask);
std::string ModifierLine(bool press, uint8_t mask);
std::string KeyLine(bool press, std::string_view key_name, uint8_t usage);
// The fixed line of a mouse button bit; empty for a value that is not one button bit.
std::string ButtonLine(bool press, uint8_t button);
std::string MoveXLine(uint8_t x);  // two's complement byte
std::string MoveYLine(uint8_t y);

}  // namespace velq
