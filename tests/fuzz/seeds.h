#pragma once

#include "support/covering_modules.h"

#include <filesystem>
#include <vector>

// Starting inputs for the fuzz targets, written by the test suite's own module and pack writers
// so that no binary corpus needs to be kept in the repository: the covering modules
// (support/covering_modules.h) and the packs below.
namespace omra::fuzz {

using Seed = testing::NamedFile;

// Small packs in the shipped pack's layout: images cut down to a few pixels, the scroller text
// and text pages from `dataDir`, and a small module; plus packs with no pages and empty entries.
std::vector<Seed> packSeeds(const std::filesystem::path& dataDir);

} // namespace omra::fuzz
