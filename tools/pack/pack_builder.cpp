#include "pack/pack_builder.h"

#include "core/little_endian.h"
#include "tga/tga.h"
#include "xm/xm_check.h"

#include <stdexcept>
#include <string_view>

namespace omra::tools {

namespace {

[[noreturn]] void reject(const std::string& what) {
    throw std::runtime_error(what);
}

// Which way up a TGA's rows may be stored: the logo either way (the pack stores it bottom row
// first), the glyph sheet only as the art tool writes it.
enum class Origins { BottomLeft, Either };

void checkTga(const Bytes& file, const std::string& name, int width, int height, int bits,
              Origins origins) {
    if (file.empty()) {
        reject(name + ": empty file");
    }
    const std::optional<TgaHeader> header = readTgaHeader(file);
    if (!header || !isTgaImageType(header->imageType)) {
        reject(name + ": not a TGA image, or shorter than its header says");
    }
    if (header->imageType != 2) {
        reject(name + ": must be an uncompressed true-colour TGA (type 2), is type " +
               std::to_string(header->imageType));
    }
    if (!header->holdsItsPixels) {
        reject(name + ": not a TGA image, or shorter than its header says");
    }
    if (header->width != width || header->height != height || header->bitsPerPixel != bits) {
        reject(name + ": must be " + std::to_string(width) + " x " + std::to_string(height) +
               " at " + std::to_string(bits) + " bits, is " + std::to_string(header->width) +
               " x " + std::to_string(header->height) + " at " +
               std::to_string(header->bitsPerPixel) + " bits");
    }
    if (header->originTop && origins == Origins::BottomLeft) {
        reject(name + ": must have its origin at the bottom left");
    }
}

void appendEntry(Bytes& pack, std::string_view payload) {
    appendU32LE(pack, static_cast<std::uint32_t>(payload.size()));
    pack.insert(pack.end(), payload.begin(), payload.end());
}

std::string_view asText(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

void checkPackSources(const PackSources& sources, const PackSourceNames& names) {
    checkTga(sources.logo, names.logo, 425, 81, 24, Origins::Either);
    checkTga(sources.font, names.font, 512, 512, 32, Origins::BottomLeft);
    if (const std::optional<std::string> problem = xmModuleProblem(sources.module)) {
        reject(names.module + ": " + *problem);
    }
    for (std::size_t i = 0; i < sources.scroller.size(); ++i) {
        const auto c = static_cast<unsigned char>(sources.scroller[i]);
        if (c < 32 || c > 126) {
            reject(names.scroller + ": byte " + std::to_string(c) + " at offset " +
                   std::to_string(i) + " is not printable ASCII (one line, codes 32 to 126)");
        }
    }
}

Bytes buildPack(const PackSources& sources) {
    Bytes pack;
    // The intro reads the logo's rows bottom row first.
    const Bytes logo = withBottomLeftOrigin(sources.logo);
    appendEntry(pack, asText(logo));
    appendEntry(pack, asText(sources.module));
    appendEntry(pack, sources.scroller);
    appendEntry(pack, asText(sources.font));
    appendEntry(pack, {});
    std::string pageCount;
    appendU32LE(pageCount, static_cast<std::uint32_t>(sources.pages.size()));
    appendEntry(pack, pageCount);
    for (const std::string& page : sources.pages) {
        appendEntry(pack, page);
    }
    return pack;
}

std::string withoutFinalLineFeed(std::string text) {
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

} // namespace omra::tools
