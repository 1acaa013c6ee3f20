#pragma once

#include <string>

namespace omra::tools {

// A length of time as the tools print it: "m:ss", or "h:mm:ss" from an hour on; the seconds
// truncated, a negative length as 0:00.
std::string clockTime(double seconds);

} // namespace omra::tools
