#pragma once

#include "assets/pack_reader.h"
#include "core/text_page.h"

#include <string>
#include <vector>

namespace omra {

// Everything the intro shows and plays, copied out of the asset pack once at start-up and kept
// until the process ends.
struct Assets {
    Bytes logoImage;
    Bytes moduleBytes;
    std::string scrollerText;
    Bytes fontImage;
    std::vector<TextPage> pages;
};

extern Assets assets;

// Entry roles in the pack: logo, module, scroller text, glyph sheet, an unused entry, the page
// count, then one entry per page.
namespace pack_entry {
inline constexpr std::size_t Logo = 0;
inline constexpr std::size_t Module = 1;
inline constexpr std::size_t ScrollerText = 2;
inline constexpr std::size_t FontImage = 3;
inline constexpr std::size_t Unused = 4;
inline constexpr std::size_t PageCount = 5;
inline constexpr std::size_t FirstPage = 6;
} // namespace pack_entry

// Builds the assets from the pack's entries. Throws std::runtime_error naming the broken rule
// when the pack has fewer than six entries, a page count shorter than four bytes, or fewer page
// entries than its count.
Assets assetsFromEntries(const std::vector<Bytes>& entries);

// Fills `assets` from the pack inside the running executable.
void loadAssets();

} // namespace omra
