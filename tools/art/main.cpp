// omra-art: draws the logo and the scroller's glyph sheet into the data folder.
#include "art/glyph_sheet.h"
#include "art/logo.h"
#include "common/command_line.h"
#include "common/files.h"

#include <filesystem>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: omra-art [--font FILE] FOLDER\n"
    "\n"
    "Draws logo.tga and font.tga, the intro's logo and scroller glyph sheet, into FOLDER.\n"
    "  --font FILE  the font the glyph sheet is rendered from (default: " OMRA_SCROLLER_FONT ")\n";

int run(int argc, char** argv) {
    using namespace omra::tools;
    std::filesystem::path font = OMRA_SCROLLER_FONT;
    std::filesystem::path folder;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--font") {
            if (i + 1 >= argc) {
                throw UsageError("missing file after --font");
            }
            font = argv[++i];
        } else {
            refuseIfOption(argument);
            if (!folder.empty()) {
                throw UsageError("unexpected argument " + argument);
            }
            folder = argument;
        }
    }
    if (folder.empty()) {
        throw UsageError("missing FOLDER");
    }
    writeFileAtomically(folder / "logo.tga", encodeTga(drawLogo(), false));
    writeFileAtomically(folder / "font.tga", encodeTga(drawGlyphSheet(font), true));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool("omra-art", Usage, argc, argv, run);
}
