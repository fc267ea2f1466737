#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"
#include "spinner.h"

namespace velq::skin {

// Writes the canvas as an 8-bit RGBA PNG. Returns an error text, empty on success.
[[nodiscard]] std::string WritePng(const std::filesystem::path& path, const Canvas& canvas);

// Writes the frames as an endlessly looping GIF with one 256-entry palette.
[[nodiscard]] std::string WriteGif(const std::filesystem::path& path, int width, int height,
                                   const std::vector<SpinnerFrame>& frames);

}  // namespace velq::skin
