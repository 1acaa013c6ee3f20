// omra-glyphs: cuts the text pages' 8 x 12 code page 437 glyph table from an 8 x 13 BDF font.
#include "common/command_line.h"
#include "common/files.h"
#include "glyphs/glyph_table.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: omra-glyphs FONT.bdf OUT.inc\n"
    "\n"
    "Writes the 8 x 12 glyphs of all 256 code page 437 bytes, cut from an 8 x 13 BDF font by\n"
    "dropping its top row, as C++ array rows. scripts/generate-glyph-table.sh runs it on the\n"
    "8x13 misc-fixed font of Debian's xfonts-base.\n";

int run(int argc, char** argv) {
    using namespace omra::tools;
    const std::vector<std::string> files = fileArguments(argc, argv);
    if (files.size() != 2) {
        throw UsageError("need FONT.bdf and OUT.inc");
    }
    const std::string& fontPath = files[0];
    const std::string& outPath = files[1];
    const std::vector<std::uint8_t> bytes = readFile(fontPath);
    const BdfFont font =
        parseBdf({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, fontPath);
    const CutGlyphs glyphs = cutCp437Glyphs(font);
    const std::string heading =
        "// Code page 437 glyphs, 8 x 12 pixels, top row first, bit 7 the leftmost pixel: byte "
        "b's\n"
        "// rows are entry b. Written by omra-glyphs (scripts/generate-glyph-table.sh) from the "
        "8x13\n"
        "// misc-fixed font of Debian's xfonts-base. The font's copyright line:\n// " +
        font.copyright + "\n";
    const std::string source = glyphTableSource(glyphs.table, heading);
    writeFileAtomically(outPath,
                        {reinterpret_cast<const std::uint8_t*>(source.data()), source.size()});
    std::string lost;
    for (const int byte : glyphs.inkLost) {
        char text[8];
        std::snprintf(text, sizeof text, " 0x%02X", byte);
        lost += text;
    }
    std::fprintf(stderr, "%s: 256 glyphs; dropping the top row changed the shape of:%s\n",
                 outPath.c_str(), lost.empty() ? " none" : lost.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool("omra-glyphs", Usage, argc, argv, run);
}
