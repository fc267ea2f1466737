#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velq {

// The embedded files of resources/image by file name ("VELQ55XData_Cfg1.txt", ...); empty
// when there is no such file.
std::span<const uint8_t> ImageResource(std::string_view file_name);

}  // namespace velq
