#include "common/command_line.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace omra::tools {

int runCommandLineTool(const char* name, const char* usage, int argc, char** argv,
                       int (*body)(int argc, char** argv)) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    try {
        return body(argc, argv);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "%s: %s\n%s", name, error.what(), usage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return 1;
    }
}

} // namespace omra::tools
