#include "image/built_in_images.h"

#include <algorithm>

#include "image/image_resources.h"

namespace velq {
namespace {

struct ImageEntry {
    BuiltInImage image;
    std::string_view name;
    std::size_t size;
};

constexpr std::array<ImageEntry, 9> kImages = {{
    {BuiltInImage::kVELQ55XData_Cfg1, "VELQ55XData_Cfg1", kDataBufSize},
    {BuiltInImage::kVELQ55XData_Cfg2, "VELQ55XData_Cfg2", kDataBufSize},
    {BuiltInImage::kVELQ55XData_Cfg3, "VELQ55XData_Cfg3", kDataBufSize},
    {BuiltInImage::kDefault_CPI, "Default_CPI", kDataBufSize},
    {BuiltInImage::kDefault_LED, "Default_LED", kDataBufSize},
    {BuiltInImage::kDriver_VELQ55xData_Cfg1, "Driver_VELQ55xData_Cfg1", kDriverImageSize},
    {BuiltInImage::kDriver_VELQ55xData_Cfg2, "Driver_VELQ55xData_Cfg2", kDriverImageSize},
    {BuiltInImage::kDriver_VELQ55xData_Cfg3, "Driver_VELQ55xData_Cfg3", kDriverImageSize},
    {BuiltInImage::kPCMacroData, "PCMacroData", 27200},
}};

constexpr std::array<BuiltInImage, kEepromDefaultImages> kEepromImages = {
    BuiltInImage::kVELQ55XData_Cfg1, BuiltInImage::kVELQ55XData_Cfg2,
    BuiltInImage::kVELQ55XData_Cfg3, BuiltInImage::kDefault_CPI, BuiltInImage::kDefault_LED};
constexpr std::array<BuiltInImage, kDriverDefaultImages> kDriverImages = {
    BuiltInImage::kDriver_VELQ55xData_Cfg1, BuiltInImage::kDriver_VELQ55xData_Cfg2,
    BuiltInImage::kDriver_VELQ55xData_Cfg3};

const ImageEntry& EntryOf(BuiltInImage image) {
    for (const ImageEntry& entry : kImages) {
        if (entry.image == image) {
            return entry;
        }
    }
    return kImages[0];
}

std::string_view TextOf(std::string_view name) {
    const std::span<const uint8_t> bytes = ImageResource(std::string(name) + ".txt");
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::string_view BuiltInImageName(BuiltInImage image) {
    return EntryOf(image).name;
}

std::size_t BuiltInImageSize(BuiltInImage image) {
    return EntryOf(image).size;
}

ImageTextResult LoadBuiltInImage(BuiltInImage image) {
    const ImageEntry& entry = EntryOf(image);
    const std::string_view text = TextOf(entry.name);
    if (text.empty()) {
        return {false, "built-in image " + std::string(entry.name) + " is missing", {}};
    }
    ImageTextResult result = ParseImageText(entry.name, text, TextOf);
    if (result && result.bytes.size() != entry.size) {
        return {false,
                "built-in image " + std::string(entry.name) + " has " +
                    std::to_string(result.bytes.size()) + " bytes instead of " +
                    std::to_string(entry.size),
                {}};
    }
    return result;
}

const std::vector<uint8_t>& DefaultImages::Driver(int n) const {
    return driver[n >= 0 && n < kDriverDefaultImages ? static_cast<std::size_t>(n) : 0];
}

DefaultImagesResult LoadDefaultImages(DefaultImages& images) {
    DefaultImages loaded;
    for (std::size_t i = 0; i < kEepromImages.size(); ++i) {
        ImageTextResult result = LoadBuiltInImage(kEepromImages[i]);
        if (!result) {
            return {false, result.error};
        }
        std::copy(result.bytes.begin(), result.bytes.end(), loaded.eeprom[i].begin());
    }
    for (std::size_t i = 0; i < kDriverImages.size(); ++i) {
        ImageTextResult result = LoadBuiltInImage(kDriverImages[i]);
        if (!result) {
            return {false, result.error};
        }
        loaded.driver[i] = std::move(result.bytes);
    }
    images = std::move(loaded);
    return {true, {}};
}

}  // namespace velq
