#pragma once

#include "render/texture2d.h"
#include "render/vertex_array.h"

#include <memory>
#include <span>

namespace omra {

// The scroller's glyph sheet: 16 × 16 cells of 32 × 32 pixels, code c in column c mod 16 and
// row c / 16 from the top-left, its glyph in the cell's top-left 16 × 18 pixels.
struct BitmapFont {
    // Records the mesh's layout (refilled per frame) and loads the sheet from a TGA file.
    explicit BitmapFont(std::span<const std::uint8_t> sheetFile);
    ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    VertexArray mesh;
    int cellWidth = 32;
    int cellHeight = 32;
    int glyphWidth = 16;
    int glyphHeight = 18;
    std::unique_ptr<Texture2D> texture;
};

} // namespace omra
