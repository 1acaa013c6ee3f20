#include "common/command_line.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace omra::tools {

namespace {

[[noreturn]] void refuse(const std::string& option, const std::string& text, const char* what,
                         const std::string& lowest, const std::string& highest) {
    throw UsageError(option + " takes " + what + " from " + lowest + " to " + highest + ", not '" +
                     text + "'");
}

std::string plain(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

double parseNumberOption(const std::string& option, const std::string& text, const char* what,
                         double lowest, double highest) {
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value >= lowest && value <= highest)) {
        refuse(option, text, what, plain(lowest), plain(highest));
    }
    return value;
}

long parseWholeNumberOption(const std::string& option, const std::string& text, const char* what,
                            long lowest, long highest) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < lowest || value > highest) {
        refuse(option, text, what, std::to_string(lowest), std::to_string(highest));
    }
    return value;
}

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
