#include "render/glyph_atlas_gdi_win32.h"

#include <stdexcept>

namespace omra {

namespace {

// A failed GDI call ends start-up like the intro's other start-up failures: a runtime error
// naming the call. Carrying on would upload a picture that was never drawn, or read past one.
void require(bool succeeded, const char* call) {
    if (!succeeded) {
        throw std::runtime_error(call);
    }
}

// The memory device context and what is drawn with it, released in the order GDI needs: the
// objects out of the context, the context, then the objects.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    HGDIOBJ originalFont = nullptr;

    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        if (dc != nullptr) {
            deselect(originalFont);
            deselect(originalBitmap);
            DeleteDC(dc);
        }
        if (font != nullptr) {
            DeleteObject(font);
        }
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }

    HGDIOBJ select(HGDIOBJ object) {
        const HGDIOBJ previous = SelectObject(dc, object);
        require(previous != nullptr && previous != HGDI_ERROR, "SelectObject");
        return previous;
    }

    void deselect(HGDIOBJ& original) {
        if (original != nullptr) {
            SelectObject(dc, original);
            original = nullptr;
        }
    }
};

HFONT createTerminalFont() {
    // 8 × 12 cells, no smoothing: GDI picks the raster font's own bitmaps.
    return CreateFontA(GlyphHeight, GlyphWidth, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0,
                       "Terminal");
}

void drawEveryCode(HDC dc) {
    for (int code = 0; code < GlyphCount; ++code) {
        const char character = static_cast<char>(code);
        require(TextOutA(dc, code % GlyphAtlasColumns * GlyphAtlasCellSize,
                         code / GlyphAtlasColumns * GlyphAtlasCellSize, &character, 1),
                "TextOutA");
    }
}

// The upload reads exactly the atlas's bytes, so the bitmap must be the atlas's size.
GlyphAtlasPixels readBottomUpRgb(HDC dc, HBITMAP bitmap) {
    BITMAP size{};
    require(GetObjectA(bitmap, sizeof(size), &size) != 0 && size.bmWidth == GlyphAtlasSize &&
                size.bmHeight == GlyphAtlasSize,
            "GetObjectA");
    GlyphAtlasPixels pixels(static_cast<std::uint8_t*>(
        HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(size.bmWidth) * size.bmHeight * 3)));
    require(pixels != nullptr, "HeapAlloc");
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = size.bmWidth;
    // A positive height asks for the bottom row first.
    format.bmiHeader.biHeight = size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    require(GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.get(), &format,
                      DIB_RGB_COLORS) == size.bmHeight,
            "GetDIBits");
    return pixels;
}

} // namespace

void GlyphAtlasPixelsRelease::operator()(std::uint8_t* pixels) const {
    HeapFree(GetProcessHeap(), 0, pixels);
}

GlyphAtlasPixels drawGdiGlyphAtlas(HDC compatibleWith) {
    Canvas canvas;
    canvas.dc = CreateCompatibleDC(compatibleWith);
    require(canvas.dc != nullptr, "CreateCompatibleDC");
    canvas.bitmap = CreateCompatibleBitmap(compatibleWith, GlyphAtlasSize, GlyphAtlasSize);
    require(canvas.bitmap != nullptr, "CreateCompatibleBitmap");
    canvas.originalBitmap = canvas.select(canvas.bitmap);
    const RECT whole{0, 0, GlyphAtlasSize, GlyphAtlasSize};
    require(FillRect(canvas.dc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))),
            "FillRect");

    canvas.font = createTerminalFont();
    require(canvas.font != nullptr, "CreateFontA");
    canvas.originalFont = canvas.select(canvas.font);
    require(SetTextColor(canvas.dc, RGB(255, 255, 255)) != CLR_INVALID, "SetTextColor");
    require(SetBkMode(canvas.dc, TRANSPARENT) != 0, "SetBkMode");
    drawEveryCode(canvas.dc);

    // GetDIBits wants the bitmap out of every device context while it reads.
    canvas.deselect(canvas.originalBitmap);
    return readBottomUpRgb(canvas.dc, canvas.bitmap);
}

} // namespace omra
