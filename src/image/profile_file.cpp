#include "image/profile_file.h"

#include <algorithm>
#include <cctype>

#include "common/atomic_file.h"

namespace velq {

std::size_t ProfileImageSize(ProfileMode mode) {
    return mode == ProfileMode::kEeprom ? kDataBufSize : kDriverImageSize;
}

namespace {

constexpr std::string_view kProfileExtension = ".bin";

bool EndsWithBin(const std::string& name) {
    if (name.size() < kProfileExtension.size()) {
        return false;
    }
    return std::equal(
        kProfileExtension.begin(), kProfileExtension.end(),
        name.end() - static_cast<std::ptrdiff_t>(kProfileExtension.size()),
        [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

ProfileFileResult WrongSize(const std::filesystem::path& path, ProfileMode mode,
                            std::uintmax_t size) {
    return {false, std::string(kWrongProfileFileCaption),
            path.string() + ": " + std::to_string(size) + " bytes, not a profile file of " +
                std::to_string(ProfileImageSize(mode)) + " bytes"};
}

}  // namespace

std::filesystem::path ProfileFileName(const std::filesystem::path& chosen) {
    std::string name = chosen.filename().string();
    if (!EndsWithBin(name)) {
        name += kProfileExtension;
    }
    return chosen.parent_path() / name;
}

ProfileFileResult SaveProfileFile(const std::filesystem::path& chosen, ProfileMode mode,
                                  std::span<const uint8_t> image, std::filesystem::path* written) {
    const std::filesystem::path path = ProfileFileName(chosen);
    if (written != nullptr) {
        *written = path;
    }
    if (chosen.filename().empty()) {
        return {false, {}, "no file name given for the profile '" + chosen.string() + "'"};
    }
    if (image.size() != ProfileImageSize(mode)) {
        return {false,
                {},
                path.string() + ": the configuration holds " + std::to_string(image.size()) +
                    " bytes instead of " + std::to_string(ProfileImageSize(mode))};
    }
    const FileResult result = WriteFileAtomically(path, image);
    if (!result) {
        return {false, {}, result.error};
    }
    return {true, {}, {}};
}

ProfileFileResult LoadProfileFile(const std::filesystem::path& path, ProfileMode mode,
                                  std::vector<uint8_t>& image) {
    // A file of the wrong size is refused before it is read, so choosing a huge file by
    // mistake costs nothing.
    std::error_code size_error;
    const std::uintmax_t file_size = std::filesystem::file_size(path, size_error);
    if (!size_error && file_size != ProfileImageSize(mode)) {
        return WrongSize(path, mode, file_size);
    }
    // Whatever is no regular file (a device, a FIFO) or grew meanwhile is refused before
    // reading too: such a file would never end or is no profile either.
    std::vector<uint8_t> bytes;
    const FileResult read = ReadWholeFile(path, bytes, ProfileImageSize(mode));
    if (!read) {
        return {false, read.refused ? std::string(kWrongProfileFileCaption) : std::string(),
                read.error};
    }
    if (bytes.size() != ProfileImageSize(mode)) {
        return WrongSize(path, mode, bytes.size());
    }
    image = std::move(bytes);
    return {true, {}, {}};
}

ProfileFileResult LoadEepromProfile(const std::filesystem::path& path, DataBuf& image) {
    std::vector<uint8_t> bytes;
    ProfileFileResult result = LoadProfileFile(path, ProfileMode::kEeprom, bytes);
    if (result) {
        std::copy(bytes.begin(), bytes.end(), image.begin());
    }
    return result;
}

}  // namespace velq
