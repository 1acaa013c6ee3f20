#include "shell/command_line_sdl.h"

#include <cstdio>
#include <string>

namespace omra {

namespace {

constexpr const char* Usage =
    "usage: omra\n"
    "\n"
    "Shows the intro in a window of its own until Escape or closing the window ends it.\n"
    "Without a display, scripts/run-intro.sh runs it on a virtual one.\n"
    "  --help, -h     show this help\n"
    "  --version, -V  show the version\n";

} // namespace

std::optional<int> answerCommandLine(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string word = argv[1];
    if (argc == 2 && (word == "--help" || word == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc == 2 && (word == "--version" || word == "-V")) {
        std::printf("omra %s\n", OMRA_VERSION);
        return 0;
    }
    if (word.size() > 1 && word[0] == '-') {
        std::fprintf(stderr, "omra: unknown option %s\n%s", word.c_str(), Usage);
    } else {
        std::fprintf(stderr, "omra: takes no arguments, not '%s'\n%s", word.c_str(), Usage);
    }
    return 2;
}

} // namespace omra
