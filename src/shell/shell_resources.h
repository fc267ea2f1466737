#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velq {

// The embedded files of resources/shell ("org", "org1".."org3", "lang1".."lang3", ...) by
// file name; empty when there is no such file.
std::span<const uint8_t> ShellResource(std::string_view file_name);

}  // namespace velq
