#include "shell/skin_resource.h"

#include <string>

namespace velq {

std::span<const uint8_t> SkinPicture(std::string_view name) {
    if (name.empty()) {
        return {};
    }
    for (const char* extension : {".png", ".gif"}) {
        const std::string file = std::string(name) + extension;
        if (const auto bytes = SkinResource(file); !bytes.empty()) {
            return bytes;
        }
    }
    return {};
}

}  // namespace velq
