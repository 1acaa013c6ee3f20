#pragma once

#include "support/headless_gl.h"

#include <filesystem>
#include <optional>

namespace omra::headless {

// Writes a frame as a PNG, top row first as image files have it.
void writePng(const std::filesystem::path& path, const Image& image);

// Reads a PNG written by writePng; nothing when the file is missing or unreadable.
std::optional<Image> readPng(const std::filesystem::path& path);

} // namespace omra::headless
