#include "tga/tga.h"

#include "core/little_endian.h"
#include "core/tga_layout.h"

#include <algorithm>

namespace omra::tools {

namespace {

constexpr std::size_t FooterSize = 26;

int u16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return readU16LE(&bytes[offset]);
}

} // namespace

std::vector<std::uint8_t> encodeTga(const TgaImage& image, bool withFooter) {
    using namespace tga_header;
    // No image ID, no colour map, the origin at (0, 0).
    std::vector<std::uint8_t> out(Size, 0);
    out.reserve(Size + image.pixels.size() + FooterSize);
    out[ImageType] = tga_image_type::TrueColour;
    putU16LE(&out[Width], static_cast<std::uint16_t>(image.width));
    putU16LE(&out[Height], static_cast<std::uint16_t>(image.height));
    out[BitsPerPixel] = static_cast<std::uint8_t>(image.bitsPerPixel);
    // Alpha bits in the low nibble; the origin bit stays clear for bottom-left.
    out[Descriptor] = static_cast<std::uint8_t>(image.bitsPerPixel == 32 ? 8 : 0);
    out.insert(out.end(), image.pixels.begin(), image.pixels.end());
    if (withFooter) {
        out.insert(out.end(), 8, 0); // no extension area, no developer directory
        const char signature[] = "TRUEVISION-XFILE.";
        out.insert(out.end(), signature, signature + sizeof signature); // with its zero
    }
    return out;
}

std::optional<TgaHeader> readTgaHeader(std::span<const std::uint8_t> file) {
    using namespace tga_header;
    if (file.size() < Size) {
        return std::nullopt;
    }
    TgaHeader header{file[ImageType],
                     u16At(file, Width),
                     u16At(file, Height),
                     file[BitsPerPixel],
                     (file[Descriptor] & OriginTopBit) != 0,
                     pixelDataOffset(file),
                     false};
    const std::size_t pixelBytes = static_cast<std::size_t>(header.width) * header.height *
                                   static_cast<std::size_t>(header.bitsPerPixel / 8);
    header.holdsItsPixels =
        file.size() >= header.pixelOffset && file.size() - header.pixelOffset >= pixelBytes;
    return header;
}

bool isTgaImageType(int imageType) {
    using namespace tga_image_type;
    return (imageType >= None && imageType <= Grey) ||
           (imageType >= RunLengthEncoded + ColourMapped && imageType <= RunLengthEncoded + Grey);
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
    out[tga_header::Descriptor] &= static_cast<std::uint8_t>(~tga_header::OriginTopBit);
    return out;
}

} // namespace omra::tools
