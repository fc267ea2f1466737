#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velq {

// A number of the command line: decimal, or hexadecimal with a 0x prefix. False when the
// text is not such a number or exceeds `max`.
bool ParseCliNumber(std::string_view text, uint32_t max, uint32_t& value);

// Bytes given as hex on the command line: each argument is one or more two-digit bytes
// ("0a", "0a0b0c", "0x0a"). False, with a message, on anything else.
bool ParseCliHexBytes(const std::vector<std::string>& args, std::vector<uint8_t>& bytes,
                      std::string& error);

// Sixteen bytes a line, the address first: "0036: 12 34".
std::string HexDump(uint32_t address, const std::vector<uint8_t>& bytes);

}  // namespace velq
