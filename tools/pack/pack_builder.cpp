#include "pack/pack_builder.h"

#include "assets/pack_layout.h"
#include "core/little_endian.h"
#include "core/text_page.h"
#include "core/tga_layout.h"
#include "tga/tga.h"
#include "xm/xm_check.h"

#include <cstdio>
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

void checkTga(const Bytes& file, const std::string& name, const PackImageSize& size,
              Origins origins) {
    if (file.empty()) {
        reject(name + ": empty file");
    }
    const std::optional<TgaHeader> header = readTgaHeader(file);
    if (!header || !isTgaImageType(header->imageType)) {
        reject(name + ": not a TGA image, or shorter than its header says");
    }
    if (header->imageType != tga_image_type::TrueColour) {
        reject(name + ": must be an uncompressed true-colour TGA (type 2), is type " +
               std::to_string(header->imageType));
    }
    if (!header->holdsItsPixels) {
        reject(name + ": not a TGA image, or shorter than its header says");
    }
    if (header->width != size.width || header->height != size.height ||
        header->bitsPerPixel != size.bitsPerPixel) {
        reject(name + ": must be " + std::to_string(size.width) + " x " +
               std::to_string(size.height) + " at " + std::to_string(size.bitsPerPixel) +
               " bits, is " + std::to_string(header->width) + " x " +
               std::to_string(header->height) + " at " + std::to_string(header->bitsPerPixel) +
               " bits");
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

// What a byte of the scroller that is not printable ASCII starts, for the message: the
// character where the bytes are UTF-8, as an editor shows it.
std::string describeCharacter(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c == '\n') {
        return "a line break";
    }
    if (c == '\t') {
        return "a tab";
    }
    char hex[16];
    if (c < 0x80) {
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return std::string("control character ") + hex;
    }
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::uint32_t code = length == 1 ? 0 : c & (0x7F >> length);
    bool utf8 = length > 1 && at + length <= text.size();
    for (std::size_t k = 1; utf8 && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        utf8 = (next & 0xC0) == 0x80;
        code = code << 6 | (next & 0x3F);
    }
    if (!utf8) {
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return std::string("byte ") + hex + " (not UTF-8)";
    }
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
    return "'" + std::string(text.substr(at, length)) + "' (" + hex + ")";
}

// One line of printable ASCII; a refusal names the character, its line and its column. The
// first line break is itself refused, so whatever is refused lies on line 1.
void checkScroller(std::string_view scroller, const std::string& name) {
    for (std::size_t i = 0; i < scroller.size(); ++i) {
        const auto c = static_cast<unsigned char>(scroller[i]);
        if (c < 32 || c > 126) {
            reject(name + ": line 1, column " + std::to_string(i + 1) + ": " +
                   describeCharacter(scroller, i) +
                   " is not printable ASCII (one line, codes 32 to 126)");
        }
    }
}

// A page must stay wholly on screen.
void checkPage(std::string_view page, const std::string& name) {
    std::size_t lines = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= page.size(); ++i) {
        if (i < page.size() && page[i] != '\n') {
            continue;
        }
        const std::size_t width = i - lineStart;
        if (width > static_cast<std::size_t>(PageColumnsOnScreen)) {
            reject(name + ": line " + std::to_string(lines) + " is " + std::to_string(width) +
                   " characters long, more than the " + std::to_string(PageColumnsOnScreen) +
                   " that fit across the screen");
        }
        if (i < page.size()) {
            ++lines;
            lineStart = i + 1;
        }
    }
    if (lines > static_cast<std::size_t>(PageLinesOnScreen)) {
        reject(name + ": " + std::to_string(lines) + " lines, more than the " +
               std::to_string(PageLinesOnScreen) + " that stay on screen");
    }
}

} // namespace

void checkPackSources(const PackSources& sources, const PackSourceNames& names) {
    checkTga(sources.logo, names.logo, LogoImageSize, Origins::Either);
    checkTga(sources.font, names.font, GlyphSheetImageSize, Origins::BottomLeft);
    if (const std::optional<std::string> problem = xmModuleProblem(sources.module)) {
        reject(names.module + ": " + *problem);
    }
    checkScroller(sources.scroller, names.scroller);
    for (std::size_t i = 0; i < sources.pages.size(); ++i) {
        checkPage(sources.pages[i],
                  i < names.pages.size() ? names.pages[i] : "page " + std::to_string(i + 1));
    }
}

Bytes buildPack(const PackSources& sources) {
    // The intro reads the logo's rows bottom row first.
    const Bytes logo = withBottomLeftOrigin(sources.logo);
    std::string pageCount;
    appendU32LE(pageCount, static_cast<std::uint32_t>(sources.pages.size()));

    std::vector<std::string_view> entries(pack_entry::FirstPage + sources.pages.size());
    entries[pack_entry::Logo] = asText(logo);
    entries[pack_entry::Module] = asText(sources.module);
    entries[pack_entry::ScrollerText] = sources.scroller;
    entries[pack_entry::FontImage] = asText(sources.font);
    entries[pack_entry::PageCount] = pageCount;
    for (std::size_t i = 0; i < sources.pages.size(); ++i) {
        entries[pack_entry::FirstPage + i] = sources.pages[i];
    }

    Bytes pack;
    for (const std::string_view entry : entries) {
        appendEntry(pack, entry);
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
