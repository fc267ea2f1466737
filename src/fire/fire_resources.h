#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velq {

// The files of resources/fire compiled into the library, by file name; empty when unknown.
std::span<const uint8_t> FireResource(std::string_view file_name);

inline constexpr std::string_view kFireDefaultSetsResource = "fire_default_sets.txt";

}  // namespace velq
