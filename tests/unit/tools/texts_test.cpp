#include "assets/assets.h"
#include "assets/pack_reader.h"
#include "common/files.h"
#include "core/text_page.h"
#include "pack/cp437.h"
#include "pack/pack_builder.h"
#include "support/content_baseline.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace omra::tools {
namespace {

const std::filesystem::path DataDir = OMRA_DATA_DIR;

std::string readText(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readFile(path);
    return {bytes.begin(), bytes.end()};
}

// The page files in the order the pack lists them: by their leading number.
std::vector<std::filesystem::path> pageFiles() {
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(DataDir / "pages")) {
        pages.push_back(entry.path());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines{""};
    for (const char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

TEST(Texts, TheScrollerIsOneLineOfPrintableAsciiOfAFewHundredCharacters) {
    const std::string scroller = withoutFinalLineFeed(readText(DataDir / "scroller.txt"));
    EXPECT_EQ(scroller.size(), testing::contentBaseline().scrollerLength);
    for (const char c : scroller) {
        EXPECT_TRUE(c >= 32 && c <= 126) << "byte " << static_cast<int>(c);
    }
}

TEST(Texts, TheBaselinedPagesInOrder) {
    const std::vector<std::filesystem::path> pages = pageFiles();
    const testing::ContentBaseline baseline = testing::contentBaseline();
    ASSERT_EQ(pages.size(), baseline.pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].filename().string(), baseline.pages[i].name);
        EXPECT_EQ(pages[i].extension(), ".txt");
    }
}

TEST(Texts, EveryPageFitsTheSheetInCodePage437) {
    // A held page must stay inside the visible part of the rippling sheet all through the
    // ripple (see core/text_page.h). The pages are sized for a fair amount of art, not a line
    // or two, as the baseline records them.
    const testing::ContentBaseline baseline = testing::contentBaseline();
    const std::vector<std::filesystem::path> files = pageFiles();
    ASSERT_EQ(files.size(), baseline.pages.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::filesystem::path& file = files[i];
        SCOPED_TRACE(file.filename().string());
        const std::string page =
            utf8ToCp437(withoutFinalLineFeed(readText(file)), file.filename().string());
        EXPECT_EQ(page.size(), baseline.pages[i].bytes);
        const std::vector<std::string> lines = linesOf(page);
        EXPECT_LE(lines.size(), static_cast<std::size_t>(PageLinesOnScreen));
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), static_cast<std::size_t>(PageColumnsOnScreen)) << line;
        }
        const bool hasArt = std::any_of(page.begin(), page.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0xB0 && static_cast<unsigned char>(c) <= 0xDF;
        });
        EXPECT_EQ(hasArt, baseline.pages[i].art) << "box drawing, shade or block";
    }
}

TEST(Texts, ThePackBuiltFromTheDataFolderPassesThePackChecks) {
    PackSources sources;
    sources.logo = readFile(DataDir / "logo.tga");
    sources.module = readFile(DataDir / "module.xm");
    sources.scroller = withoutFinalLineFeed(readText(DataDir / "scroller.txt"));
    sources.font = readFile(DataDir / "font.tga");
    for (const std::filesystem::path& file : pageFiles()) {
        sources.pages.push_back(utf8ToCp437(withoutFinalLineFeed(readText(file)), file.string()));
    }
    EXPECT_NO_THROW(checkPackSources(sources));
    const Assets loaded = assetsFromEntries(splitPackEntries(buildPack(sources)));
    EXPECT_EQ(loaded.scrollerText, sources.scroller);
    ASSERT_EQ(loaded.pages.size(), sources.pages.size());
    for (std::size_t i = 0; i < sources.pages.size(); ++i) {
        EXPECT_EQ(loaded.pages[i].text, sources.pages[i]);
    }
}

} // namespace
} // namespace omra::tools
