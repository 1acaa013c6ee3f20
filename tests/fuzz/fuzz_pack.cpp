// Runs arbitrary bytes as the executable's asset pack through every step the intro takes with
// it: splitting and loading the entries, decoding both images, measuring and laying out the text
// pages, laying out the scroller, and loading the module from the pack's module bytes.
#include "assets/assets.h"
#include "core/page_schedule.h"
#include "fakes/fake_pack_resource.h"
#include "player/memory_file.h"
#include "player/player.h"
#include "render/scroller.h"
#include "render/text_page_layout.h"
#include "render/tga_decoder.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace {

using namespace omra;

// The window sizes of the two builds and a few scene times, one of them past the first repeat.
constexpr std::int32_t ViewportWidths[] = {960, 954};
constexpr std::int32_t ViewportHeight = 540;
constexpr float SceneTimes[] = {0.0f, 1.047f, 6.5f, 400.0f};

void layOutPages(std::vector<TextPage>& pages) {
    for (TextPage& page : pages) {
        measurePage(page);
        const float top = pageTop(ViewportHeight, page.lines);
        const auto left =
            static_cast<std::int32_t>(pageGeometry(page.width, ViewportWidths[0]).centre);
        std::vector<GlyphQuad> quads;
        forEachPageGlyph(page.text, left, top,
                         [&quads](const GlyphQuad& quad) { quads.push_back(quad); });
    }
}

void layOutScroller(const std::string& text, const DecodedImage& sheet) {
    const GlyphSheetMetrics metrics{32, 32, 16, 18, sheet.width, sheet.height};
    std::vector<float> vertices;
    for (const std::int32_t width : ViewportWidths) {
        for (const float t : SceneTimes) {
            buildScrollerVertices(vertices, text, t, width, metrics);
        }
    }
}

void loadModule(const Bytes& module) {
    freeSong(loadSongFromMemory(module));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fake_pack_resource::pack.assign(data, data + size);
    try {
        loadAssets();
    } catch (const std::runtime_error&) {
        return 0;
    }
    layOutPages(assets.pages);
    decodeTga(assets.logoImage);
    const DecodedImage sheet = decodeTga(assets.fontImage);
    if (sheet.pixels) {
        layOutScroller(assets.scrollerText, sheet);
    }
    loadModule(assets.moduleBytes);
    assets = Assets{};
    return 0;
}
