#pragma once

#include <cstdint>
#include <span>
#include <string>

// The platform's side of the asset pack: where the executable keeps it and how the executable
// names itself. Windows stores the pack as the RCDATA resource 101; the Linux build links the
// same bytes into the executable.
namespace omra {

inline constexpr int PackResourceId = 101;

// The pack bytes of the named module, valid for the life of the process. Throws
// std::runtime_error("FindResource" / "LoadResource" / "LockResource") when the look-up fails.
std::span<const std::uint8_t> findPackResource(const char* moduleName);

// The path of the running executable.
std::string executablePath();

} // namespace omra
