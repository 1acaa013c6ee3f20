#include "common/files.h"
#include "fuzz/seeds.h"
#include "pack/pack_builder.h"
#include "tga/tga.h"

#include <cstdint>

namespace omra::fuzz {

namespace {

constexpr const char* PageFiles[] = {"1-title.txt", "2-about.txt", "3-credits.txt",
                                     "4-greetings.txt"};

std::string textFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = tools::readFile(path);
    return tools::withoutFinalLineFeed(std::string(bytes.begin(), bytes.end()));
}

// A small image of the same kind as the shipped one: pixels of a few different values.
std::vector<std::uint8_t> smallTga(int width, int height, int bitsPerPixel, bool withFooter) {
    tools::TgaImage image{width, height, bitsPerPixel, {}};
    const std::size_t bytes = static_cast<std::size_t>(width) * height * (bitsPerPixel / 8);
    for (std::size_t i = 0; i < bytes; ++i) {
        image.pixels.push_back(static_cast<std::uint8_t>(i * 37));
    }
    return tools::encodeTga(image, withFooter);
}

} // namespace

std::vector<Seed> packSeeds(const std::filesystem::path& dataDir) {
    tools::PackSources sources;
    sources.logo = smallTga(5, 3, 24, false);
    sources.module = testing::coveringModules().front().bytes;
    sources.scroller = textFile(dataDir / "scroller.txt");
    sources.font = smallTga(32, 32, 32, true);
    for (const char* page : PageFiles) {
        sources.pages.push_back(textFile(dataDir / "pages" / page));
    }
    std::vector<Seed> seeds;
    seeds.push_back({"small-images.pack", tools::buildPack(sources)});

    sources.pages.clear();
    seeds.push_back({"no-pages.pack", tools::buildPack(sources)});

    const tools::PackSources empty{{}, {}, {}, {}, {"", ""}};
    seeds.push_back({"empty-entries.pack", tools::buildPack(empty)});
    return seeds;
}

} // namespace omra::fuzz
