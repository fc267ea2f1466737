#include "settings/pointer_file.h"

#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "common/user_dirs.h"

namespace velq {
namespace {

// The file is a handful of lines; anything bigger is not ours.
constexpr std::uintmax_t kMaxFileSize = 4096;

constexpr const char* kFileName = "pointer.conf";

// A failure of our own file: the user is told, since the setting is not kept.
PointerResult FileError(std::string error) {
    PointerResult result = PointerError(std::move(error));
    result.own_file = true;
    return result;
}

}  // namespace

PointerResult ReadPointerFile(const std::filesystem::path& file, PointerValues& values) {
    if (file.empty()) {
        return PointerOk();  // no configuration folder: nothing was kept
    }
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return PointerOk();
    }
    std::vector<uint8_t> bytes;
    if (FileResult read = ReadWholeFile(file, bytes, kMaxFileSize); !read) {
        return FileError(read.error);
    }
    const std::string text(bytes.begin(), bytes.end());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line(text.data() + start, end - start);
        const std::size_t equals = line.find('=');
        for (int k = 0; k < kPointerKeyCount && equals != std::string_view::npos; ++k) {
            if (line.substr(0, equals) == kPointerKeyNames[static_cast<std::size_t>(k)]) {
                values[static_cast<PointerKey>(k)] = std::string(line.substr(equals + 1));
            }
        }
        start = end + 1;
    }
    return PointerOk();
}

PointerResult WritePointerFile(const std::filesystem::path& file, const PointerValues& values) {
    if (file.empty()) {
        return FileError(
            std::string(kFileName) +
            ": no folder for it: neither XDG_CONFIG_HOME nor HOME is an absolute path");
    }
    PointerValues merged;
    if (PointerResult read = ReadPointerFile(file, merged); !read) {
        return read;
    }
    for (const auto& [key, text] : values) {
        merged[key] = text;
    }
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) {
        return FileError("cannot create " + file.parent_path().string() + ": " + ec.message());
    }
    std::string text;
    for (const auto& [key, value] : merged) {
        text += std::string(PointerKeyName(key)) + "=" + value + "\n";
    }
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    if (FileResult written = WriteFileAtomically(file, bytes); !written) {
        return FileError(written.error);
    }
    return PointerOk();
}

std::filesystem::path DefaultPointerFile() {
    const std::optional<std::filesystem::path> folder = ProgramFolder(UserFolder::kConfig);
    return folder ? *folder / kFileName : std::filesystem::path();
}

}  // namespace velq
