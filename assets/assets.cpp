#include "assets/assets.h"

#include "assets/pack_resource.h"
#include "core/little_endian.h"

#include <stdexcept>
#include <string>

namespace omra {

Assets assets;

namespace {

[[noreturn]] void rejectPack(const std::string& rule) {
    throw std::runtime_error("LoadAssets: " + rule);
}

} // namespace

Assets assetsFromEntries(const std::vector<Bytes>& entries) {
    using namespace pack_entry;
    if (entries.size() < FirstPage) {
        rejectPack("the pack has " + std::to_string(entries.size()) + " entries, fewer than " +
                   std::to_string(FirstPage));
    }
    const Bytes& countEntry = entries[PageCount];
    if (countEntry.size() < 4) {
        rejectPack("the page count entry holds " + std::to_string(countEntry.size()) +
                   " bytes, fewer than 4");
    }
    const std::uint32_t pageCount = readU32LE(countEntry.data());
    if (entries.size() - FirstPage < pageCount) {
        rejectPack("the pack has " + std::to_string(entries.size()) + " entries, fewer than " +
                   std::to_string(FirstPage) + " + " + std::to_string(pageCount) + " pages");
    }

    Assets loaded;
    loaded.logoImage = entries[Logo];
    loaded.moduleBytes = entries[Module];
    loaded.scrollerText.assign(entries[ScrollerText].begin(), entries[ScrollerText].end());
    loaded.fontImage = entries[FontImage];
    loaded.pages.reserve(pageCount);
    for (std::uint32_t i = 0; i < pageCount; ++i) {
        const Bytes& page = entries[FirstPage + i];
        loaded.pages.push_back(TextPage{std::string(page.begin(), page.end())});
    }
    return loaded;
}

void loadAssets() {
    const std::string self = executablePath();
    assets = assetsFromEntries(readPackEntries(self.c_str()));
}

} // namespace omra
