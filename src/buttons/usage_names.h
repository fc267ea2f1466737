#pragma once

#include <cstdint>
#include <string_view>

namespace velq {

// The program's own usage codes for the sixteen multimedia and browser keys. They sit in a
// range of the Keyboard page that keyboards do not use, and the mouse firmware turns them into
// consumer events.
inline constexpr uint8_t kUsageMediaNextTrack = 0xC0;
inline constexpr uint8_t kUsageMediaPrevTrack = 0xC1;
inline constexpr uint8_t kUsageMediaStop = 0xC2;
inline constexpr uint8_t kUsageMediaPlayPause = 0xC3;
inline constexpr uint8_t kUsageVolumeMute = 0xC4;
inline constexpr uint8_t kUsageVolumeUp = 0xC5;
inline constexpr uint8_t kUsageVolumeDown = 0xC6;
inline constexpr uint8_t kUsageLaunchMail = 0xC7;
inline constexpr uint8_t kUsageBrowserSearch = 0xC8;
inline constexpr uint8_t kUsageBrowserHome = 0xC9;
inline constexpr uint8_t kUsageBrowserBack = 0xCA;
inline constexpr uint8_t kUsageBrowserForward = 0xCB;
inline constexpr uint8_t kUsageBrowserStop = 0xCC;
inline constexpr uint8_t kUsageBrowserRefresh = 0xCD;
inline constexpr uint8_t kUsageBrowserFavorites = 0xCE;
inline constexpr uint8_t kUsageLaunchMediaSelect = 0xD1;

// The name of a keyboard usage byte as shown on buttons and in the macro editor; the empty
// text for a usage without a name.
std::string_view UsageName(uint8_t usage);

}  // namespace velq
