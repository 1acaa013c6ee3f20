#pragma once

#include <string>

namespace omra::capture {

// `result` of an FFmpeg call when it is not an error; otherwise throws std::runtime_error
// "what: FFmpeg's reason".
int avCheck(int result, const std::string& what);

} // namespace omra::capture
