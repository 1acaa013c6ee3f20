// omra-terminal-fon: writes the "Terminal" stand-in raster font the Wine tests install, with the
// glyphs of the Linux build's table.
#include "common/command_line.h"
#include "common/files.h"
#include "glyphs/terminal_font.h"
#include "render/cp437_glyphs.h"

namespace {

constexpr const char* Usage =
    "usage: omra-terminal-fon OUT.fon\n"
    "\n"
    "Writes a raster font named \"Terminal\" (8 x 12, OEM character set) with the intro's code\n"
    "page 437 glyphs. Wine has no such font; the Windows end-to-end test puts this one in its\n"
    "prefix's Fonts folder.\n";

int run(int argc, char** argv) {
    using namespace omra::tools;
    const std::vector<std::string> files = fileArguments(argc, argv);
    if (files.size() != 1) {
        throw UsageError("need OUT.fon");
    }
    const std::vector<std::uint8_t> file = terminalFontFile(omra::Cp437Glyphs);
    writeFileAtomically(files[0], file);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool("omra-terminal-fon", Usage, argc, argv, run);
}
