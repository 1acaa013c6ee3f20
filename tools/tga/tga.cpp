#include "tga/tga.h"

#include "core/little_endian.h"

#include <algorithm>

namespace omra::tools {

namespace {

constexpr int HeaderSize = 18;
constexpr int UncompressedTrueColour = 2;
constexpr std::uint8_t OriginTopBit = 0x20;

void putU16(std::vector<std::uint8_t>& out, int value) {
    appendU16LE(out, static_cast<std::uint16_t>(value));
}

int u16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return readU16LE(&bytes[offset]);
}

} // namespace

std::vector<std::uint8_t> encodeTga(const TgaImage& image, bool withFooter) {
    std::vector<std::uint8_t> out;
    out.reserve(HeaderSize + image.pixels.size() + 26);
    out.push_back(0); // no image ID
    out.push_back(0); // no colour map
    out.push_back(UncompressedTrueColour);
    out.insert(out.end(), 5, 0); // colour map specification
    putU16(out, 0);              // x origin
    putU16(out, 0);              // y origin
    putU16(out, image.width);
    putU16(out, image.height);
    out.push_back(static_cast<std::uint8_t>(image.bitsPerPixel));
    // Alpha bits in the low nibble; the origin bit stays clear for bottom-left.
    out.push_back(static_cast<std::uint8_t>(image.bitsPerPixel == 32 ? 8 : 0));
    out.insert(out.end(), image.pixels.begin(), image.pixels.end());
    if (withFooter) {
        out.insert(out.end(), 8, 0); // no extension area, no developer directory
        const char signature[] = "TRUEVISION-XFILE.";
        out.insert(out.end(), signature, signature + sizeof signature); // with its zero
    }
    return out;
}

std::optional<TgaHeader> readTgaHeader(std::span<const std::uint8_t> file) {
    if (file.size() < HeaderSize) {
        return std::nullopt;
    }
    const std::size_t colourMapBytes =
        file[1] == 0 ? 0 : static_cast<std::size_t>(u16At(file, 5)) * ((file[7] + 7) / 8);
    TgaHeader header{file[2],
                     u16At(file, 12),
                     u16At(file, 14),
                     file[16],
                     (file[17] & OriginTopBit) != 0,
                     HeaderSize + std::size_t{file[0]} + colourMapBytes,
                     false};
    const std::size_t pixelBytes = static_cast<std::size_t>(header.width) * header.height *
                                   static_cast<std::size_t>(header.bitsPerPixel / 8);
    header.holdsItsPixels =
        file.size() >= header.pixelOffset && file.size() - header.pixelOffset >= pixelBytes;
    return header;
}

bool isTgaImageType(int imageType) {
    return (imageType >= 0 && imageType <= 3) || (imageType >= 9 && imageType <= 11);
}

std::vector<std::uint8_t> withBottomLeftOrigin(std::span<const std::uint8_t> file) {
    std::vector<std::uint8_t> out(file.begin(), file.end());
    const std::optional<TgaHeader> header = readTgaHeader(file);
    if (!header || !header->originTop || !header->holdsItsPixels) {
        return out;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(header->width) *
                                 static_cast<std::size_t>(header->bitsPerPixel / 8);
    for (int row = 0; row < header->height; ++row) {
        const std::size_t from = header->pixelOffset + row * rowBytes;
        const std::size_t to = header->pixelOffset + (header->height - 1 - row) * rowBytes;
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(from), rowBytes,
                    out.begin() + static_cast<std::ptrdiff_t>(to));
    }
    out[17] &= static_cast<std::uint8_t>(~OriginTopBit);
    return out;
}

} // namespace omra::tools
