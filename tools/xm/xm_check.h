#pragma once

#include "player/load_report.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Checks a module file before the tools hand it on: the player loads whatever follows a valid
// identification, reading zeros where the file ends early, so a cut-off download would
// otherwise play as silence or garbage without a word.
namespace omra::tools {

// What stands in the way of playing these bytes, given what the player's loader reported: an
// empty file, the loader's refusal in the tools' words, or, for a module it loads, where the
// file ends before the module does by the loader's own reading. Nothing when the player takes
// the whole module.
std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes,
                                           const LoadReport& report);

// The same for bytes not loaded yet: the player's loader reads them first.
std::optional<std::string> xmModuleProblem(std::span<const std::uint8_t> bytes);

} // namespace omra::tools
