#include "assets/assets.h"
#include "common/files.h"
#include "core/little_endian.h"
#include "fakes/fake_pack_resource.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra {
namespace {

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes pageCount(std::uint32_t n) {
    Bytes count;
    appendU32LE(count, n);
    return count;
}

// A pack's entries with the given page texts and a count that matches them.
std::vector<Bytes> entriesWithPages(const std::vector<std::string>& pages) {
    std::vector<Bytes> entries{bytesOf("logo"),
                               bytesOf("Extended Module: "),
                               bytesOf("scroller"),
                               bytesOf("font"),
                               {},
                               pageCount(static_cast<std::uint32_t>(pages.size()))};
    for (const std::string& page : pages) {
        entries.push_back(bytesOf(page));
    }
    return entries;
}

std::string rejectionOf(const std::vector<Bytes>& entries) {
    try {
        assetsFromEntries(entries);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "accepted";
}

TEST(AssetLoader, GivesEachEntryItsRole) {
    const Assets loaded = assetsFromEntries(entriesWithPages({"first", "second"}));
    EXPECT_EQ(loaded.logoImage, bytesOf("logo"));
    EXPECT_EQ(loaded.moduleBytes, bytesOf("Extended Module: "));
    EXPECT_EQ(loaded.scrollerText, "scroller");
    EXPECT_EQ(loaded.fontImage, bytesOf("font"));
    ASSERT_EQ(loaded.pages.size(), 2u);
    EXPECT_EQ(loaded.pages[0].text, "first");
    EXPECT_EQ(loaded.pages[1].text, "second");
}

TEST(AssetLoader, KeepsTextBytesUnchangedPastZerosAndLineEnds) {
    const std::string page("a\r\n\0\xB0\xDB\n", 7);
    std::vector<Bytes> entries = entriesWithPages({page, ""});
    entries[pack_entry::ScrollerText] = Bytes{'h', 0, 'i'};
    const Assets loaded = assetsFromEntries(entries);
    EXPECT_EQ(loaded.scrollerText, std::string("h\0i", 3));
    EXPECT_EQ(loaded.pages[0].text, page);
    EXPECT_EQ(loaded.pages[0].text.size(), 7u);
    EXPECT_TRUE(loaded.pages[1].text.empty());
}

TEST(AssetLoader, LeavesPageMeasurementToTheTextSetUp) {
    const Assets loaded = assetsFromEntries(entriesWithPages({"wide line\nx"}));
    EXPECT_EQ(loaded.pages[0].width, 0);
    EXPECT_EQ(loaded.pages[0].lines, 0);
}

TEST(AssetLoader, APageCountOfZeroGivesNoPagesAndIgnoresExtraEntries) {
    std::vector<Bytes> entries = entriesWithPages({});
    entries.push_back(bytesOf("not a page"));
    EXPECT_TRUE(assetsFromEntries(entries).pages.empty());
}

TEST(AssetLoader, RejectsMalformedPacksNamingTheRule) {
    std::vector<Bytes> five = entriesWithPages({});
    five.pop_back();
    EXPECT_EQ(rejectionOf(five), "LoadAssets: the pack has 5 entries, fewer than 6");
    EXPECT_EQ(rejectionOf({}), "LoadAssets: the pack has 0 entries, fewer than 6");

    std::vector<Bytes> shortCount = entriesWithPages({});
    shortCount[pack_entry::PageCount] = Bytes{1, 0, 0};
    EXPECT_EQ(rejectionOf(shortCount),
              "LoadAssets: the page count entry holds 3 bytes, fewer than 4");

    std::vector<Bytes> missingPage = entriesWithPages({"one", "two"});
    missingPage.pop_back();
    EXPECT_EQ(rejectionOf(missingPage),
              "LoadAssets: the pack has 7 entries, fewer than 6 + 2 pages");

    // A count near 2^32 must not wrap the "enough entries" check.
    std::vector<Bytes> hugeCount = entriesWithPages({"one"});
    hugeCount[pack_entry::PageCount] = pageCount(0xFFFFFFFFu);
    EXPECT_EQ(rejectionOf(hugeCount),
              "LoadAssets: the pack has 7 entries, fewer than 6 + 4294967295 pages");
}

TEST(AssetLoader, LoadsThePackOfTheRunningExecutable) {
    Bytes pack;
    for (const Bytes& entry : entriesWithPages({"page"})) {
        pack.insert(pack.end(), {static_cast<std::uint8_t>(entry.size()), 0, 0, 0});
        pack.insert(pack.end(), entry.begin(), entry.end());
    }
    fake_pack_resource::pack = pack;
    loadAssets();
    EXPECT_EQ(fake_pack_resource::requestedModule, fake_pack_resource::ExecutablePath);
    EXPECT_EQ(assets.scrollerText, "scroller");
    ASSERT_EQ(assets.pages.size(), 1u);
    EXPECT_EQ(assets.pages[0].text, "page");
}

TEST(AssetLoader, LoadsThePackTheBuildMade) {
    const Assets loaded = assetsFromEntries(splitPackEntries(tools::readFile(OMRA_PACK_FILE)));
    // One page for each page file, however many data/pages holds.
    std::size_t pageFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(OMRA_DATA_DIR "/pages")) {
        pageFiles += entry.path().extension() == ".txt";
    }
    EXPECT_EQ(loaded.pages.size(), pageFiles);
    EXPECT_EQ(std::string(loaded.moduleBytes.begin(), loaded.moduleBytes.begin() + 17),
              "Extended Module: ");
    for (const TextPage& page : loaded.pages) {
        EXPECT_EQ(page.text.find('\r'), std::string::npos);
        EXPECT_NE(page.text.back(), '\n');
    }
}

} // namespace
} // namespace omra
