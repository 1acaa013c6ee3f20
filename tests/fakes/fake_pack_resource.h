#pragma once

#include "assets/pack_reader.h"

#include <string>

// A stand-in for the executable's pack resource: tests set the bytes it holds and see which
// module the loader asked for.
namespace omra::fake_pack_resource {

inline constexpr const char* ExecutablePath = "/opt/omra/omra.exe";

extern Bytes pack;
extern std::string requestedModule;

} // namespace omra::fake_pack_resource
