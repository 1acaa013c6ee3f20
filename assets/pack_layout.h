#pragma once

#include <cstddef>

// The asset pack's layout: what the intro's loader reads and the pack tool writes.
namespace omra {

// Entry roles in the pack: logo, module, scroller text, glyph sheet, an unused entry, the page
// count, then one entry per page.
namespace pack_entry {
inline constexpr std::size_t Logo = 0;
inline constexpr std::size_t Module = 1;
inline constexpr std::size_t ScrollerText = 2;
inline constexpr std::size_t FontImage = 3;
inline constexpr std::size_t Unused = 4;
inline constexpr std::size_t PageCount = 5;
inline constexpr std::size_t FirstPage = 6;
} // namespace pack_entry

// The pack's two images, each an uncompressed true-colour TGA of exactly this size.
struct PackImageSize {
    int width;
    int height;
    int bitsPerPixel;
};

inline constexpr PackImageSize LogoImageSize{425, 81, 24};
inline constexpr PackImageSize GlyphSheetImageSize{512, 512, 32};

} // namespace omra
