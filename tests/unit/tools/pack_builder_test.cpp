#include "assets/assets.h"
#include "pack/pack_builder.h"
#include "tga/tga.h"
#include "xm/xm_writer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

namespace omra::tools {
namespace {

Bytes tga(int width, int height, int bits) {
    TgaImage image{
        width, height, bits,
        std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * bits / 8, 7)};
    return encodeTga(image, bits == 32);
}

PackSources validSources() {
    PackSources sources;
    sources.logo = tga(425, 81, 24);
    XmModule module;
    module.orders = {0};
    module.patterns = {emptyPattern(64, 2)};
    sources.module = writeXm(module);
    sources.scroller = "HELLO ~ 0123";
    sources.font = tga(512, 512, 32);
    sources.pages = {"\xC9\xCD\xBB\nabc", ""};
    return sources;
}

std::string rejectionOf(const PackSources& sources, const PackSourceNames& names = {}) {
    try {
        checkPackSources(sources, names);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "accepted";
}

TEST(PackBuilder, BuildsAPackTheIntroLoadsBackUnchanged) {
    const PackSources sources = validSources();
    EXPECT_EQ(rejectionOf(sources), "accepted");
    const omra::Assets loaded = omra::assetsFromEntries(omra::splitPackEntries(buildPack(sources)));
    EXPECT_EQ(loaded.logoImage, sources.logo);
    EXPECT_EQ(loaded.moduleBytes, sources.module);
    EXPECT_EQ(loaded.scrollerText, sources.scroller);
    EXPECT_EQ(loaded.fontImage, sources.font);
    ASSERT_EQ(loaded.pages.size(), 2u);
    EXPECT_EQ(loaded.pages[0].text, sources.pages[0]);
    EXPECT_EQ(loaded.pages[1].text, "");
}

TEST(PackBuilder, LaysOutTheEntriesInTheirFixedOrder) {
    const std::vector<omra::Bytes> entries = omra::splitPackEntries(buildPack(validSources()));
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_TRUE(entries[4].empty());
    EXPECT_EQ(entries[5], (omra::Bytes{2, 0, 0, 0}));
}

TEST(PackBuilder, RefusesSourcesTheIntroCannotUse) {
    PackSources wrongLogo = validSources();
    wrongLogo.logo = tga(400, 81, 24);
    EXPECT_EQ(rejectionOf(wrongLogo), "logo: must be 425 x 81 at 24 bits, is 400 x 81 at 24 bits");

    PackSources shortFont = validSources();
    shortFont.font.resize(shortFont.font.size() / 2);
    EXPECT_EQ(rejectionOf(shortFont), "font: not a TGA image, or shorter than its header says");

    PackSources compressed = validSources();
    compressed.logo[2] = 10;
    EXPECT_EQ(rejectionOf(compressed),
              "logo: must be an uncompressed true-colour TGA (type 2), is type 10");

    // Run-length encoded and colour-mapped files are shorter than their pixels uncompressed.
    PackSources runLength = validSources();
    runLength.logo[2] = 10;
    runLength.logo.resize(5000);
    EXPECT_EQ(rejectionOf(runLength),
              "logo: must be an uncompressed true-colour TGA (type 2), is type 10");

    PackSources colourMapped = validSources();
    colourMapped.logo[1] = 1;
    colourMapped.logo[2] = 1;
    colourMapped.logo[16] = 8;
    EXPECT_EQ(rejectionOf(colourMapped),
              "logo: must be an uncompressed true-colour TGA (type 2), is type 1");

    PackSources notTga = validSources();
    notTga.logo = Bytes(100, 0x4E);
    EXPECT_EQ(rejectionOf(notTga), "logo: not a TGA image, or shorter than its header says");

    PackSources topDown = validSources();
    topDown.font[17] |= 0x20;
    EXPECT_EQ(rejectionOf(topDown), "font: must have its origin at the bottom left");

    PackSources notXm = validSources();
    notXm.module = {'M', 'T', 'h', 'd'};
    EXPECT_EQ(rejectionOf(notXm),
              "module: not an XM module (it must begin with \"Extended Module: \")");

    PackSources cutModule = validSources();
    cutModule.module.resize(200);
    EXPECT_EQ(rejectionOf(cutModule), "module: truncated: it ends inside the module header (the "
                                      "module needs at least 336 bytes, the file has 200)");

    PackSources emptyFont = validSources();
    emptyFont.font.clear();
    EXPECT_EQ(rejectionOf(emptyFont), "font: empty file");

    PackSources twoLines = validSources();
    twoLines.scroller = "one\ntwo";
    EXPECT_EQ(rejectionOf(twoLines), "scroller: line 1, column 4: a line break is not printable "
                                     "ASCII (one line, codes 32 to 126)");

    PackSources accented = validSources();
    accented.scroller = "caf\xc3\xa9 and tea";
    EXPECT_EQ(rejectionOf(accented), "scroller: line 1, column 4: '\xc3\xa9' (U+00E9) is not "
                                     "printable ASCII (one line, codes 32 to 126)");

    PackSources longPage = validSources();
    longPage.pages = {"title", std::string(20, '\n')};
    EXPECT_EQ(rejectionOf(longPage), "page 2: 21 lines, more than the 20 that stay on screen");

    PackSources widePage = validSources();
    widePage.pages = {"fits\n" + std::string(101, '-')};
    EXPECT_EQ(rejectionOf(widePage), "page 1: line 2 is 101 characters long, more than the 100 "
                                     "that fit across the screen");
}

TEST(PackBuilder, StoresALogoWhoseOriginIsAtTheTopBottomRowFirst) {
    TgaImage image{425, 81, 24, {}};
    for (int row = 0; row < image.height; ++row) {
        image.pixels.insert(image.pixels.end(), 425 * 3, static_cast<std::uint8_t>(row));
    }
    const Bytes bottomUp = encodeTga(image, false);
    Bytes topDown = bottomUp;
    topDown[17] |= 0x20;
    for (int row = 0; row < image.height; ++row) {
        std::fill_n(topDown.begin() + 18 + row * 425 * 3, 425 * 3,
                    static_cast<std::uint8_t>(image.height - 1 - row));
    }
    for (const Bytes& logo : {bottomUp, topDown}) {
        PackSources sources = validSources();
        sources.logo = logo;
        EXPECT_EQ(rejectionOf(sources), "accepted");
        EXPECT_EQ(omra::splitPackEntries(buildPack(sources))[0], bottomUp);
    }
}

TEST(PackBuilder, NamesTheSourceItWasGiven) {
    PackSources wrongLogo = validSources();
    wrongLogo.logo = tga(400, 81, 24);
    EXPECT_EQ(rejectionOf(wrongLogo, {.logo = "art/logo.tga (logo)"}),
              "art/logo.tga (logo): must be 425 x 81 at 24 bits, is 400 x 81 at 24 bits");
}

TEST(PackBuilder, DropsOnlyOneFinalLineFeedOfATextFile) {
    EXPECT_EQ(withoutFinalLineFeed("a\nb\n"), "a\nb");
    EXPECT_EQ(withoutFinalLineFeed("a\n\n"), "a\n");
    EXPECT_EQ(withoutFinalLineFeed(""), "");
}

} // namespace
} // namespace omra::tools
