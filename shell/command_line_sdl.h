#pragma once

#include <optional>

namespace omra {

// The Linux intro's command line: no arguments shows the intro; --help (-h) and --version (-V)
// answer as every tool of the project does, and anything else is refused with the usage and
// status 2. Returns the status to end with, or nullopt to show the intro.
std::optional<int> answerCommandLine(int argc, char** argv);

} // namespace omra
