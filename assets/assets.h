#pragma once

#include "assets/pack_layout.h"
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

// Builds the assets from the pack's entries. Throws std::runtime_error naming the broken rule
// when the pack has fewer than six entries, a page count shorter than four bytes, or fewer page
// entries than its count.
Assets assetsFromEntries(const std::vector<Bytes>& entries);

// Fills `assets` from the pack inside the running executable.
void loadAssets();

} // namespace omra
