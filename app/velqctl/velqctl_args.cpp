#include "velqctl_args.h"

#include <charconv>
#include <cstdio>

namespace velq {

bool ParseCliNumber(std::string_view text, uint32_t max, uint32_t& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) {
        return false;
    }
    uint64_t parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (ec != std::errc() || end != text.data() + text.size() || parsed > max) {
        return false;
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

bool ParseCliHexBytes(const std::vector<std::string>& args, std::vector<uint8_t>& bytes,
                      std::string& error) {
    bytes.clear();
    for (std::string_view arg : args) {
        if (arg.size() > 2 && arg[0] == '0' && (arg[1] == 'x' || arg[1] == 'X')) {
            arg.remove_prefix(2);
        }
        if (arg.empty() || arg.size() % 2 != 0) {
            error = "not hex bytes: " + std::string(arg);
            return false;
        }
        for (size_t i = 0; i < arg.size(); i += 2) {
            uint8_t byte = 0;
            const auto [end, ec] = std::from_chars(arg.data() + i, arg.data() + i + 2, byte, 16);
            if (ec != std::errc() || end != arg.data() + i + 2) {
                error = "not hex bytes: " + std::string(arg);
                return false;
            }
            bytes.push_back(byte);
        }
    }
    return true;
}

std::string HexDump(uint32_t address, const std::vector<uint8_t>& bytes) {
    std::string text;
    char cell[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) {
            std::snprintf(cell, sizeof cell, "%04X:", static_cast<unsigned>(address + i));
            text += cell;
        }
        std::snprintf(cell, sizeof cell, " %02X", bytes[i]);
        text += cell;
        if (i % 16 == 15 || i + 1 == bytes.size()) {
            text += '\n';
        }
    }
    return text;
}

}  // namespace velq
