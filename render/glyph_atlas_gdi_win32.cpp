#include "render/glyph_atlas_gdi_win32.h"

namespace omra {

namespace {

HFONT createTerminalFont() {
    // 8 × 12 cells, no smoothing: GDI picks the raster font's own bitmaps.
    return CreateFontA(12, 8, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0, "Terminal");
}

void drawEveryCode(HDC dc) {
    for (int code = 0; code < 256; ++code) {
        const char character = static_cast<char>(code);
        TextOutA(dc, code % 16 * GlyphAtlasCellSize, code / 16 * GlyphAtlasCellSize, &character, 1);
    }
}

std::uint8_t* readBottomUpRgb(HDC dc, HBITMAP bitmap) {
    BITMAP size{};
    GetObjectA(bitmap, sizeof(size), &size);
    auto* pixels = static_cast<std::uint8_t*>(
        HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(size.bmWidth) * size.bmHeight * 3));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = size.bmWidth;
    // A positive height asks for the bottom row first.
    format.bmiHeader.biHeight = size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels, &format, DIB_RGB_COLORS);
    return pixels;
}

} // namespace

void GlyphAtlasPixelsRelease::operator()(std::uint8_t* pixels) const {
    HeapFree(GetProcessHeap(), 0, pixels);
}

GlyphAtlasPixels drawGdiGlyphAtlas(HDC compatibleWith) {
    HDC memoryDC = CreateCompatibleDC(compatibleWith);
    HBITMAP bitmap = CreateCompatibleBitmap(compatibleWith, GlyphAtlasSize, GlyphAtlasSize);
    const HGDIOBJ originalBitmap = SelectObject(memoryDC, bitmap);
    const RECT whole{0, 0, GlyphAtlasSize, GlyphAtlasSize};
    FillRect(memoryDC, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    HFONT font = createTerminalFont();
    const HGDIOBJ originalFont = SelectObject(memoryDC, font);
    SetTextColor(memoryDC, RGB(255, 255, 255));
    SetBkMode(memoryDC, TRANSPARENT);
    drawEveryCode(memoryDC);

    // GetDIBits wants the bitmap out of every device context while it reads.
    SelectObject(memoryDC, originalBitmap);
    GlyphAtlasPixels pixels(readBottomUpRgb(memoryDC, bitmap));

    SelectObject(memoryDC, originalFont);
    DeleteDC(memoryDC);
    DeleteObject(font);
    DeleteObject(bitmap);
    return pixels;
}

} // namespace omra
