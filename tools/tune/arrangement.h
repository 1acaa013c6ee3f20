#pragma once

#include "xm/xm_writer.h"

#include <vector>

namespace omra::tools::tune {

// The tune's 34 patterns in the order they play: intro (0-1), groove (2-5, where the song
// comes back to after its end), build (6-9), theme (10-17), breakdown (18-23), second build
// (24-25) and return (26-33).
std::vector<XmPattern> tunePatterns();

} // namespace omra::tools::tune
