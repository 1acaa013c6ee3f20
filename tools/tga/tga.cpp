#include "tga/tga.h"

namespace omra::tools {

namespace {

constexpr int HeaderSize = 18;
constexpr int UncompressedTrueColour = 2;
constexpr std::uint8_t OriginTopBit = 0x20;

void putU16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

int u16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8;
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
    TgaHeader header{file[2], u16At(file, 12), u16At(file, 14), file[16],
                     (file[17] & OriginTopBit) != 0};
    const std::size_t pixelBytes = static_cast<std::size_t>(header.width) * header.height *
                                   static_cast<std::size_t>(header.bitsPerPixel / 8);
    const std::size_t headerAndId = HeaderSize + std::size_t{file[0]};
    if (file.size() < headerAndId || file.size() - headerAndId < pixelBytes) {
        return std::nullopt;
    }
    return header;
}

} // namespace omra::tools
