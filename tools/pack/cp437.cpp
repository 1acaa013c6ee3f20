#include "pack/cp437.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace omra::tools {

namespace {

// Code points shown by bytes 0x80 to 0xFF.
constexpr std::array<char32_t, 128> HighHalf = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0, // F8
};

// Symbols shown by bytes 0x01 to 0x1F. Zero marks the bytes a page cannot hold as symbols:
// tab (0x09), line feed (0x0A) and carriage return (0x0D) keep their control meaning.
constexpr std::array<char32_t, 32> LowSymbols = {
    0,      0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, // 00
    0x25D8, 0,      0,      0x2642, 0x2640, 0,      0x266B, 0x263C, // 08
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, // 10
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC, // 18
};

constexpr char32_t House = 0x2302; // shown by 0x7F

// The symbols of the three bytes a page keeps as control codes.
constexpr char32_t TabSymbol = 0x25CB;
constexpr char32_t LineFeedSymbol = 0x25D9;
constexpr char32_t CarriageReturnSymbol = 0x266A;

struct Position {
    std::string_view name;
    int line;
    int column;
};

[[noreturn]] void reject(const Position& at, const std::string& reason) {
    throw std::runtime_error(std::string(at.name) + ":" + std::to_string(at.line) + ":" +
                             std::to_string(at.column) + ": " + reason);
}

std::string describe(char32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

// Decodes one UTF-8 sequence at text[i], advancing i; nullopt for an invalid sequence.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - i <= static_cast<std::size_t>(extra)) {
        return std::nullopt;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = value << 6 | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    i += static_cast<std::size_t>(extra) + 1;
    return value;
}

} // namespace

std::optional<std::uint8_t> cp437ByteFor(char32_t codePoint) {
    if (codePoint == U'\n' || (codePoint >= 0x20 && codePoint < 0x7F)) {
        return static_cast<std::uint8_t>(codePoint);
    }
    if (codePoint == House) {
        return 0x7F;
    }
    for (std::size_t b = 0; b < LowSymbols.size(); ++b) {
        if (LowSymbols[b] != 0 && LowSymbols[b] == codePoint) {
            return static_cast<std::uint8_t>(b);
        }
    }
    for (std::size_t b = 0; b < HighHalf.size(); ++b) {
        if (HighHalf[b] == codePoint) {
            return static_cast<std::uint8_t>(0x80 + b);
        }
    }
    return std::nullopt;
}

char32_t cp437Glyph(std::uint8_t byte) {
    switch (byte) {
    case 0x00:
        return U' ';
    case 0x09:
        return TabSymbol;
    case 0x0A:
        return LineFeedSymbol;
    case 0x0D:
        return CarriageReturnSymbol;
    case 0x7F:
        return House;
    default:
        break;
    }
    if (byte < LowSymbols.size()) {
        return LowSymbols[byte];
    }
    return byte < 0x80 ? char32_t{byte} : HighHalf[byte - 0x80u];
}

std::string utf8ToCp437(std::string_view utf8, std::string_view sourceName) {
    std::string out;
    out.reserve(utf8.size());
    Position at{sourceName, 1, 1};
    for (std::size_t i = 0; i < utf8.size(); ++at.column) {
        const std::optional<char32_t> codePoint = decodeUtf8(utf8, i);
        if (!codePoint) {
            reject(at, "invalid UTF-8");
        }
        if (*codePoint == U'\t') {
            reject(at, "tab (pages hold no tabs; use spaces)");
        }
        if (*codePoint == U'\r') {
            reject(at, "carriage return (pages end lines with a line feed only)");
        }
        const std::optional<std::uint8_t> byte = cp437ByteFor(*codePoint);
        if (!byte) {
            reject(at, "character " + describe(*codePoint) + " has no code page 437 byte");
        }
        out.push_back(static_cast<char>(*byte));
        if (*codePoint == U'\n') {
            ++at.line;
            at.column = 0;
        }
    }
    return out;
}

} // namespace omra::tools
