#include "glyphs/terminal_font.h"

#include "core/little_endian.h"

#include <cstring>
#include <string>

namespace omra::tools {

namespace {

constexpr const char* FaceName = "Terminal";
constexpr std::uint8_t OemCharset = 255;
constexpr std::uint8_t FixedPitchModern = 0x30; // family FF_MODERN; bit 0 clear: fixed pitch
constexpr std::size_t FntHeaderSize = 118;      // version 2.0
constexpr std::size_t FontDirEntrySize = 113;   // the header up to dfFace, then 4 reserved bytes
constexpr std::uint16_t FontDirType = 0x8007;
constexpr std::uint16_t FontType = 0x8008;
constexpr std::uint16_t FirstResourceId = 0x8001;
constexpr int AlignmentShift = 4; // resource offsets and lengths count 16-byte units
constexpr std::size_t NeHeaderOffset = 64;

class Writer {
public:
    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint16_t value) { appendU16LE(bytes_, value); }
    void u32(std::uint32_t value) { appendU32LE(bytes_, value); }
    void text(const std::string& value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            u8(i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0);
        }
    }
    // A length-prefixed name, as the NE name tables hold them.
    void pascal(const std::string& value) {
        u8(static_cast<std::uint8_t>(value.size()));
        text(value, value.size());
    }
    void bytes(const std::uint8_t* data, std::size_t count) {
        bytes_.insert(bytes_.end(), data, data + count);
    }
    void alignTo(std::size_t unit) {
        while (bytes_.size() % unit != 0) {
            u8(0);
        }
    }
    void put16(std::size_t at, std::uint16_t value) { putU16LE(&bytes_.at(at + 1) - 1, value); }
    void put32(std::size_t at, std::uint32_t value) { putU32LE(&bytes_.at(at + 3) - 3, value); }
    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// The FNT 2.0 font: header, character table, one 12-byte column per glyph, face name.
std::vector<std::uint8_t> fntFont(const GlyphTable& glyphs) {
    constexpr std::size_t TableEntries = GlyphCount + 1; // and one past the last character
    constexpr std::size_t BitsOffset = FntHeaderSize + 4 * TableEntries;
    constexpr std::size_t FaceOffset = BitsOffset + GlyphCount * GlyphHeight;
    const std::size_t fileSize = FaceOffset + std::strlen(FaceName) + 1;
    Writer out;
    out.u16(0x0200);
    out.u32(static_cast<std::uint32_t>(fileSize));
    out.text("Omra test stand-in, from the public domain 8x13 fixed font", 60);
    out.u16(0);               // raster
    out.u16(9);               // points: 12 pixels at 96 dpi
    out.u16(96);              // vertical resolution
    out.u16(96);              // horizontal resolution
    out.u16(GlyphHeight - 2); // ascent: the cut font's baseline
    out.u16(0);               // internal leading
    out.u16(0);               // external leading
    out.u8(0);                // italic
    out.u8(0);                // underline
    out.u8(0);                // strike-out
    out.u16(400);             // weight
    out.u8(OemCharset);
    out.u16(GlyphWidth);
    out.u16(GlyphHeight);
    out.u8(FixedPitchModern);
    out.u16(GlyphWidth); // average width
    out.u16(GlyphWidth); // maximum width
    out.u8(0);           // first character
    out.u8(255);         // last character
    out.u8(' ');         // default character, from the first
    out.u8(' ');         // break character, from the first
    out.u16(GlyphCount); // bytes in a row of all glyphs side by side
    out.u32(0);          // no device name
    out.u32(static_cast<std::uint32_t>(FaceOffset));
    out.u32(0); // bits pointer, set on loading
    out.u32(static_cast<std::uint32_t>(BitsOffset));
    out.u8(0);
    for (std::size_t i = 0; i < TableEntries; ++i) {
        const std::size_t glyph = i < GlyphCount ? i : 0;
        out.u16(GlyphWidth);
        out.u16(static_cast<std::uint16_t>(BitsOffset + glyph * GlyphHeight));
    }
    // One column of 8 pixels per glyph, its rows top to bottom.
    for (const GlyphRows& rows : glyphs) {
        for (const std::uint8_t row : rows) {
            out.u8(row);
        }
    }
    out.text(FaceName, std::strlen(FaceName) + 1);
    return out.take();
}

// The font directory resource: one entry, the font's header without its tail, and its names.
std::vector<std::uint8_t> fontDirectory(const std::vector<std::uint8_t>& font) {
    Writer out;
    out.u16(1);
    out.u16(FirstResourceId & 0x7FFF);
    out.bytes(font.data(), FontDirEntrySize);
    out.u8(0); // device name
    out.text(FaceName, std::strlen(FaceName) + 1);
    return out.take();
}

std::uint16_t units(std::size_t bytes) {
    return static_cast<std::uint16_t>((bytes + (1u << AlignmentShift) - 1) >> AlignmentShift);
}

} // namespace

std::vector<std::uint8_t> terminalFontFile(const GlyphTable& glyphs) {
    const std::vector<std::uint8_t> font = fntFont(glyphs);
    const std::vector<std::uint8_t> directory = fontDirectory(font);
    Writer out;
    // A bare DOS header whose only job is to point at the NE header after it.
    out.text("MZ", 2);
    out.text("", 0x3C - 2);
    out.u32(NeHeaderOffset);

    const std::size_t ne = out.size();
    out.text("NE", 2);
    out.u8(5);  // linker version
    out.u8(10); // linker revision
    const std::size_t entryTableField = out.size();
    out.u16(0);      // entry table, relative: set below
    out.u16(2);      // entry table length: an empty table
    out.u32(0);      // checksum
    out.u16(0x8000); // a library module with no data segment
    out.text("", 0x1C - 0x0E);
    out.u16(0); // segments
    out.u16(0); // module references
    const std::size_t nonResidentSizeField = out.size();
    out.u16(0);
    const std::size_t tableFields = out.size(); // segment, resource, resident, module, import
    out.text("", 10);
    const std::size_t nonResidentField = out.size();
    out.u32(0);
    out.u16(0);              // movable entry points
    out.u16(AlignmentShift); // segment alignment
    out.u16(2);              // resource segments
    out.u8(2);               // for Windows
    out.u8(0);
    out.text("", 6);
    out.u16(0x030A); // expected Windows version 3.10

    const auto relative = [&] { return static_cast<std::uint16_t>(out.size() - ne); };
    out.put16(tableFields, relative()); // no segments: the segment table is empty
    out.put16(tableFields + 2, relative());
    out.u16(AlignmentShift);
    const std::size_t directoryEntry = out.size() + 8;
    out.u16(FontDirType);
    out.u16(1);
    out.u32(0);
    out.text("", 12);
    const std::size_t fontEntry = out.size() + 8;
    out.u16(FontType);
    out.u16(1);
    out.u32(0);
    out.text("", 12);
    out.u16(0); // end of resource types
    out.u8(0);  // no resource names
    out.put16(tableFields + 4, relative());
    out.pascal("TERMINAL");
    out.u16(0);
    out.u8(0);
    out.put16(tableFields + 6, relative()); // no module references
    out.put16(tableFields + 8, relative());
    out.u8(0); // no imported names
    out.put16(entryTableField, relative());
    out.u16(0); // no entry points
    const std::size_t nonResident = out.size();
    out.put32(nonResidentField, static_cast<std::uint32_t>(nonResident));
    out.pascal(std::string("FONTRES 100,96,96 : ") + FaceName + " 9");
    out.u16(0);
    out.u8(0);
    out.put16(nonResidentSizeField, static_cast<std::uint16_t>(out.size() - nonResident));

    const auto placeResource = [&](std::size_t entry, const std::vector<std::uint8_t>& data,
                                   std::uint16_t flags) {
        out.alignTo(std::size_t{1} << AlignmentShift);
        out.put16(entry, units(out.size()));
        out.put16(entry + 2, units(data.size()));
        out.put16(entry + 4, flags);
        out.put16(entry + 6, FirstResourceId);
        out.bytes(data.data(), data.size());
    };
    placeResource(directoryEntry, directory, 0x0C50); // preloaded, pure, movable
    placeResource(fontEntry, font, 0x1C30);           // discardable, pure, movable
    out.alignTo(std::size_t{1} << AlignmentShift);
    return out.take();
}

} // namespace omra::tools
