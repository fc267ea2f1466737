#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velq {

// The embedded skin files by file name ("L1_Back1.png", "WaitGif.gif"); empty when unknown.
std::span<const uint8_t> SkinResource(std::string_view file_name);

// The bytes of a skin picture by resource name ("L1_BackGround", "BtnS_02", "WaitGif"):
// PNG for the pictures, GIF for the loading animation. Empty when there is no such picture.
std::span<const uint8_t> SkinPicture(std::string_view name);

}  // namespace velq
