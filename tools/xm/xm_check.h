#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Checks a module file before the tools hand it on: the player loads whatever follows a valid
// identification, reading zeros where the file ends early, so a cut-off download would
// otherwise play as silence or garbage without a word.
namespace omra::tools {

// Why the player would refuse these bytes, or would read past their end, following the
// player's own reading rules (header size, 9-byte pattern headers, packed cells, instrument
// header sizes, 40-byte sample headers, sample data); nothing when the whole module is there.
std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes);

} // namespace omra::tools
