#include "art/glyph_sheet.h"

#include "art/canvas.h"

#include <algorithm>
#include <array>
#include <ft2build.h>
#include <stdexcept>
#include <string>
#include <vector>
#include FT_FREETYPE_H

namespace omra::tools {

namespace {

// The monospaced face is set wider than tall so its glyphs fill the 16-pixel advance of the
// scroller; at this size its tallest glyphs reach 14 rows above the baseline and its
// descenders 4 below, exactly the 18 rows of the glyph area.
constexpr int FaceWidthPixels = 22;
constexpr int FaceHeightPixels = 17;
constexpr int Baseline = 14;    // rows from the glyph area's top
constexpr int CapHeight = 12;   // rows the face's capitals rise above the baseline
constexpr int ShadowOffset = 1; // down and to the right; cut off at the area's edge

constexpr std::array<Colour, 3> Gradient = {{{255, 248, 176}, {255, 150, 44}, {214, 40, 116}}};
constexpr Colour Shadow{70, 26, 120};

// Pale yellow at the cap line through orange to a deep pink at the baseline; descenders keep
// the pink.
Colour gradientAt(int row) {
    constexpr int CapLine = Baseline - CapHeight;
    const float t =
        std::clamp(static_cast<float>(row - CapLine) / (Baseline - 1 - CapLine), 0.0f, 1.0f) * 2;
    return t < 1 ? mix(Gradient[0], Gradient[1], t) : mix(Gradient[1], Gradient[2], t - 1);
}

class FontFace {
public:
    explicit FontFace(const std::filesystem::path& file) {
        if (FT_Init_FreeType(&library_) != 0) {
            throw std::runtime_error("FreeType does not start");
        }
        if (FT_New_Face(library_, file.c_str(), 0, &face_) != 0) {
            FT_Done_FreeType(library_);
            throw std::runtime_error(file.string() + ": not a font FreeType can read");
        }
    }
    ~FontFace() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face operator->() const { return face_; }
    FT_Face get() const { return face_; }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Coverage from 0 to 1 of one glyph over its 16 x 18 area.
using GlyphCoverage = std::array<std::array<float, GlyphWidth>, GlyphHeight>;

GlyphCoverage renderGlyph(const FontFace& face, int code) {
    if (FT_Load_Char(face.get(), static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) {
        throw std::runtime_error("the font has no glyph for code " + std::to_string(code));
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int advance = static_cast<int>(slot->advance.x >> 6);
    const int left = (GlyphWidth - ShadowOffset - advance) / 2 + slot->bitmap_left;
    const int top = Baseline - slot->bitmap_top;
    GlyphCoverage coverage{};
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const unsigned char value = bitmap.buffer[row * bitmap.pitch + column];
            if (value == 0) {
                continue;
            }
            const int x = left + static_cast<int>(column), y = top + static_cast<int>(row);
            if (x < 0 || y < 0 || x >= GlyphWidth || y >= GlyphHeight) {
                throw std::runtime_error("the glyph for code " + std::to_string(code) +
                                         " does not fit its " + std::to_string(GlyphWidth) + " x " +
                                         std::to_string(GlyphHeight) + " area");
            }
            coverage[y][x] = value / 255.0f;
        }
    }
    return coverage;
}

// Ink over its own shadow, both over black.
void paintGlyph(Canvas& sheet, int code, const GlyphCoverage& coverage) {
    const int cellLeft = code % 16 * CellSize, cellTop = code / 16 * CellSize;
    for (int y = 0; y < GlyphHeight; ++y) {
        for (int x = 0; x < GlyphWidth; ++x) {
            const float ink = coverage[y][x];
            const float shadow = x >= ShadowOffset && y >= ShadowOffset
                                     ? coverage[y - ShadowOffset][x - ShadowOffset]
                                     : 0.0f;
            const Colour under = mix(Colour{}, Shadow, shadow);
            sheet.at(cellLeft + x, cellTop + y) = mix(under, gradientAt(y), ink);
        }
    }
}

} // namespace

TgaImage drawGlyphSheet(const std::filesystem::path& fontFile) {
    const FontFace face(fontFile);
    if (FT_Set_Pixel_Sizes(face.get(), FaceWidthPixels, FaceHeightPixels) != 0) {
        throw std::runtime_error(fontFile.string() + ": cannot be set to the glyph size");
    }
    Canvas sheet(SheetSize, SheetSize);
    for (int code = FirstGlyphCode; code <= LastGlyphCode; ++code) {
        paintGlyph(sheet, code, renderGlyph(face, code));
    }
    return sheet.toTga(GlyphSheetImageSize.bitsPerPixel);
}

} // namespace omra::tools
