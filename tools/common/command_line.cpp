#include "common/command_line.h"

#include "common/stop_signals.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <unistd.h>

namespace omra::tools {

namespace {

constexpr const char* CommonOptions = "  --help, -h     show this help\n"
                                      "  --version, -V  show the version\n";

std::string plain(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// `text` read whole by `read` (std::stod, std::stol) and within the range, or a UsageError.
template <typename Number, typename Read>
Number parseWithin(const std::string& option, const std::string& text, const char* what,
                   Number lowest, Number highest, Read read) {
    std::size_t used = 0;
    Number value = 0;
    try {
        value = read(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    // Written so that a NaN fails too.
    if (used == 0 || used != text.size() || !(value >= lowest && value <= highest)) {
        throw UsageError(option + " takes " + what + " from " + plain(lowest) + " to " +
                         plain(highest) + ", not '" + text + "'");
    }
    return value;
}

} // namespace

double parseNumberOption(const std::string& option, const std::string& text, const char* what,
                         double lowest, double highest) {
    return parseWithin(option, text, what, lowest, highest,
                       [](const std::string& t, std::size_t* used) { return std::stod(t, used); });
}

long parseWholeNumberOption(const std::string& option, const std::string& text, const char* what,
                            long lowest, long highest) {
    return parseWithin(option, text, what, lowest, highest,
                       [](const std::string& t, std::size_t* used) { return std::stol(t, used); });
}

void refuseIfOption(const std::string& word) {
    if (word.size() > 1 && word[0] == '-') {
        throw UsageError("unknown option " + word);
    }
}

std::vector<std::string> fileArguments(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        refuseIfOption(argv[i]);
        files.emplace_back(argv[i]);
    }
    return files;
}

int runCommandLineTool(const char* name, const char* usage, int argc, char** argv,
                       int (*body)(int argc, char** argv)) {
    const auto given = [&](const char* word, const char* shortWord) {
        return argc == 2 &&
               (std::strcmp(argv[1], word) == 0 || std::strcmp(argv[1], shortWord) == 0);
    };
    if (given("--help", "-h")) {
        std::fputs(usage, stdout);
        std::fputs(CommonOptions, stdout);
        return 0;
    }
    if (given("--version", "-V")) {
        std::printf("%s %s\n", name, OMRA_VERSION);
        return 0;
    }
    try {
        return body(argc, argv);
    } catch (const Interrupted&) {
        // On a terminal a progress line may still be open.
        std::fprintf(stderr, "%s%s: interrupted; no output was written\n",
                     isatty(STDERR_FILENO) != 0 ? "\n" : "", name);
        return stoppedExitCode();
    } catch (const UsageError& error) {
        std::fprintf(stderr, "%s: %s\n%s%s", name, error.what(), usage, CommonOptions);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return 1;
    }
}

} // namespace omra::tools
