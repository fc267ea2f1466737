#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/memory_map.h"

namespace velq {

// A profile file holds the whole configuration with no header: the 2048-byte parameter memory
// in EEPROM mode, the companion driver's 40960-byte image in driver mode.
enum class ProfileMode { kEeprom, kDriver };

std::size_t ProfileImageSize(ProfileMode mode);

// The caption shown when a file is not a profile of the current mode ("Error no tipo de
// arquivo BIN ").
inline constexpr std::string_view kWrongProfileFileCaption = "Str102";

// The outcome of a profile file operation. `caption_key` is the message for the user when the
// file was refused for its content; `error` always names the file.
struct ProfileFileResult {
    bool ok = false;
    std::string caption_key;
    std::string error;
    explicit operator bool() const { return ok; }
};

// The file a save writes for the name chosen in the save dialog: in the chosen folder, with
// ".bin" appended unless the name already ends in ".bin" (in any letter case).
std::filesystem::path ProfileFileName(const std::filesystem::path& chosen);

// Writes `image` (exactly the mode's size) to ProfileFileName(chosen), atomically, so a failed
// save never leaves a damaged profile behind. `written` receives the file's path.
[[nodiscard]] ProfileFileResult SaveProfileFile(const std::filesystem::path& chosen,
                                                ProfileMode mode, std::span<const uint8_t> image,
                                                std::filesystem::path* written = nullptr);

// Reads a profile file. A file whose size is not exactly the mode's image size, or that is not a
// regular file (a device, a FIFO), is refused with kWrongProfileFileCaption before it is read,
// so a file of the other mode or of another kind never reaches the mouse. `image` is changed
// only on success.
[[nodiscard]] ProfileFileResult LoadProfileFile(const std::filesystem::path& path, ProfileMode mode,
                                                std::vector<uint8_t>& image);

// LoadProfileFile in EEPROM mode, straight into the image.
[[nodiscard]] ProfileFileResult LoadEepromProfile(const std::filesystem::path& path,
                                                  DataBuf& image);

}  // namespace velq
