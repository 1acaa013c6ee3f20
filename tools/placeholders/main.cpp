// omra-placeholders: writes the stand-in tune into a folder.
#include "common/files.h"
#include "placeholders/placeholder_tune.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs("usage: omra-placeholders FOLDER\n"
                   "Writes module.xm, the stand-in tune, into FOLDER.\n",
                   argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 2;
    }
    try {
        using namespace omra::tools;
        const std::filesystem::path folder = argv[1];
        writeFileAtomically(folder / "module.xm", writeXm(placeholderTune()));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "omra-placeholders: %s\n", error.what());
        return 1;
    }
}
