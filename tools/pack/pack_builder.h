#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace omra::tools {

using Bytes = std::vector<std::uint8_t>;

// What goes into an asset pack, already read from its source files.
struct PackSources {
    Bytes logo;                     // LogoImageSize (assets/pack_layout.h), either origin
    Bytes module;                   // XM module
    std::string scroller;           // one line of printable ASCII
    Bytes font;                     // GlyphSheetImageSize, origin bottom left
    std::vector<std::string> pages; // code page 437 bytes
};

// What the messages of checkPackSources call each source: its role, or its file and role.
struct PackSourceNames {
    std::string logo = "logo";
    std::string module = "module";
    std::string scroller = "scroller";
    std::string font = "font";
    // One per page; "page N" (from 1) where there are fewer.
    std::vector<std::string> pages = {};
};

// Checks each source against what the intro expects of it; throws std::runtime_error naming
// the source and what is wrong.
void checkPackSources(const PackSources& sources, const PackSourceNames& names = {});

// The pack: each entry at its role's index (assets/pack_layout.h), the logo stored with its
// origin at the bottom left and the unused entry empty, each entry as a 32-bit little-endian
// length followed by its bytes.
Bytes buildPack(const PackSources& sources);

// A text file's contents as the pack stores them: without the one final line feed that editors
// add, since the pack separates lines with line feeds and does not end the last one.
std::string withoutFinalLineFeed(std::string text);

} // namespace omra::tools
