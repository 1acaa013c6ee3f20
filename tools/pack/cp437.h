#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace omra::tools {

// The code page 437 byte that shows `codePoint`, if there is one. Line feed maps to itself;
// tab and carriage return have none, and neither have the symbols that share their bytes.
std::optional<std::uint8_t> cp437ByteFor(char32_t codePoint);

// The character code page 437 draws for `byte`, every byte a symbol: tab, line feed and carriage
// return show as their symbols (a circle, an inverse circle, a note); byte 0 is a blank.
char32_t cp437Glyph(std::uint8_t byte);

// Converts UTF-8 text into code page 437 bytes. Throws std::runtime_error with a message of the
// form "NAME:LINE:COLUMN: reason" (1-based, columns counted in characters) for invalid UTF-8, a
// tab, a carriage return, or a character code page 437 cannot show.
std::string utf8ToCp437(std::string_view utf8, std::string_view sourceName);

} // namespace omra::tools
