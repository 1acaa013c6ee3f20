// Draws the glyph atlas with the intro's own GDI code and compares it, glyph for glyph, with the
// Linux build's code-page-437 table drawn into the same layout. Run under Wine with the stand-in
// "Terminal" font installed, it shows that the Windows build's pages look like the Linux
// build's. Prints each code whose cell differs, both pictures side by side; exit code 0 when all
// 256 match, 1 otherwise.
// First it has GDI fail: no bitmap can be made compatible with no device context, and the
// drawing must end with an error naming that call rather than hand on a picture it never made.
#include "render/cp437_glyphs.h"
#include "render/glyph_atlas_gdi_win32.h"
#include "render/glyph_table_raster.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace omra;

// A cell row of the stored image, counted from the atlas's top.
const std::uint8_t* cellRow(const std::uint8_t* atlas, int code, int row) {
    const int y = code / GlyphAtlasColumns * GlyphAtlasCellSize + row;
    return atlas + (GlyphAtlasSize - 1 - y) * GlyphAtlasRowBytes +
           code % GlyphAtlasColumns * GlyphAtlasCellSize * 3;
}

bool cellsMatch(const std::uint8_t* drawn, const std::uint8_t* expected, int code) {
    for (int row = 0; row < GlyphAtlasCellSize; ++row) {
        if (std::memcmp(cellRow(drawn, code, row), cellRow(expected, code, row),
                        GlyphAtlasCellSize * 3) != 0) {
            return false;
        }
    }
    return true;
}

void printCells(const std::uint8_t* drawn, const std::uint8_t* expected, int code) {
    std::printf("code %d (0x%02X): GDI | table\n", code, code);
    for (int row = 0; row < GlyphAtlasCellSize; ++row) {
        for (const std::uint8_t* atlas : {drawn, expected}) {
            const std::uint8_t* line = cellRow(atlas, code, row);
            for (int x = 0; x < GlyphAtlasCellSize; ++x) {
                std::putchar(
                    line[x * 3] != 0 || line[x * 3 + 1] != 0 || line[x * 3 + 2] != 0 ? '#' : '.');
            }
            std::printf(atlas == drawn ? " | " : "\n");
        }
    }
}

bool failedBitmapIsReported() {
    try {
        drawGdiGlyphAtlas(nullptr);
        std::printf("drawing with no device context went on as if GDI had made the bitmap\n");
    } catch (const std::runtime_error& error) {
        if (std::string(error.what()) == "CreateCompatibleBitmap") {
            return true;
        }
        std::printf("drawing with no device context failed as '%s', not 'CreateCompatibleBitmap'\n",
                    error.what());
    }
    return false;
}

} // namespace

int main() {
    if (!failedBitmapIsReported()) {
        return 1;
    }
    std::printf("a failed CreateCompatibleBitmap ends the drawing with an error naming it\n");
    HDC screen = GetDC(nullptr);
    const GlyphAtlasPixels drawn = drawGdiGlyphAtlas(screen);
    ReleaseDC(nullptr, screen);
    std::vector<std::uint8_t> expected(GlyphAtlasBytes);
    rasteriseGlyphTable(Cp437Glyphs, expected.data());

    int differing = 0;
    for (int code = 0; code < 256; ++code) {
        if (!cellsMatch(drawn.get(), expected.data(), code)) {
            printCells(drawn.get(), expected.data(), code);
            ++differing;
        }
    }
    std::printf("%d of 256 glyphs differ from the table\n", differing);
    return differing == 0 ? 0 : 1;
}
