#pragma once

#include "core/little_endian.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The 18-byte header that opens a TGA file: where each field lies, the image types and the
// descriptor's origin bit. The intro's decoder and the tools that write and check images read it
// from here; 16-bit fields are little-endian.
namespace omra {

namespace tga_header {
inline constexpr std::size_t Size = 18;
inline constexpr std::size_t IdLength = 0;        // bytes of image ID after the header
inline constexpr std::size_t ColourMapType = 1;   // 0: no colour map
inline constexpr std::size_t ImageType = 2;       // one of tga_image_type
inline constexpr std::size_t ColourMapLength = 5; // 16-bit: entries
inline constexpr std::size_t ColourMapEntryBits = 7;
inline constexpr std::size_t XOrigin = 8;  // 16-bit
inline constexpr std::size_t YOrigin = 10; // 16-bit
inline constexpr std::size_t Width = 12;   // 16-bit
inline constexpr std::size_t Height = 14;  // 16-bit
inline constexpr std::size_t BitsPerPixel = 16;
inline constexpr std::size_t Descriptor = 17;      // alpha bits in the low nibble, origin bit
inline constexpr std::uint8_t OriginTopBit = 0x20; // set: rows stored top row first

// Where the pixels start in a file of at least Size bytes: after the header, the image ID and
// any colour map.
inline std::size_t pixelDataOffset(std::span<const std::uint8_t> file) {
    const std::size_t colourMapBytes = file[ColourMapType] == 0
                                           ? 0
                                           : std::size_t{readU16LE(&file[ColourMapLength])} *
                                                 ((file[ColourMapEntryBits] + 7u) / 8u);
    return Size + file[IdLength] + colourMapBytes;
}
} // namespace tga_header

// Image types; each but None also comes run-length encoded, its value plus RunLengthEncoded.
namespace tga_image_type {
inline constexpr int None = 0;
inline constexpr int ColourMapped = 1;
inline constexpr int TrueColour = 2;
inline constexpr int Grey = 3;
inline constexpr int RunLengthEncoded = 8;
} // namespace tga_image_type

} // namespace omra
