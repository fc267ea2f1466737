#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/image_text.h"
#include "image/memory_map.h"

namespace velq {

// The default images the program carries.
enum class BuiltInImage {
    kVELQ55XData_Cfg1,  // default image 0: no-device content, reset 1
    kVELQ55XData_Cfg2,  // default image 1: reset 2
    kVELQ55XData_Cfg3,  // default image 2: reset 3
    kDefault_CPI,       // default image 3: the DPI page's default
    kDefault_LED,       // default image 4: the lighting page's default
    kDriver_VELQ55xData_Cfg1,
    kDriver_VELQ55xData_Cfg2,
    kDriver_VELQ55xData_Cfg3,
    kPCMacroData,  // the factory macro library
};

// The resource name ("VELQ55XData_Cfg1", ...).
std::string_view BuiltInImageName(BuiltInImage image);
// The size the image must have: 2048, 40960 or 27200 bytes.
std::size_t BuiltInImageSize(BuiltInImage image);

// Builds one built-in image from its embedded text table. An image that is missing, does not
// parse or does not have its size is an error naming the image.
[[nodiscard]] ImageTextResult LoadBuiltInImage(BuiltInImage image);

inline constexpr int kEepromDefaultImages = 5;
inline constexpr int kDriverDefaultImages = 3;

// The five 2048-byte default images (0..4) and the three driver images (0..2).
struct DefaultImages {
    std::array<DataBuf, kEepromDefaultImages> eeprom{};
    std::array<std::vector<uint8_t>, kDriverDefaultImages> driver;

    // Image n of the driver set; any other number counts as 0.
    const std::vector<uint8_t>& Driver(int n) const;
};

struct DefaultImagesResult {
    bool ok = false;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Loads all default images. On failure `images` is left as it was.
[[nodiscard]] DefaultImagesResult LoadDefaultImages(DefaultImages& images);

}  // namespace velq
