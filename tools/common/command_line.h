#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace omra::tools {

// Wrong or missing command-line arguments.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The value of a numeric option: `text` read whole as a number from `lowest` to `highest`
// (`what` names it, "a number of seconds"). Throws a UsageError saying so otherwise.
double parseNumberOption(const std::string& option, const std::string& text, const char* what,
                         double lowest, double highest);

// The same for a whole number.
long parseWholeNumberOption(const std::string& option, const std::string& text, const char* what,
                            long lowest, long highest);

// Throws the UsageError "unknown option WORD" when the word is an option (it begins with '-' and
// is more than "-" alone); a tool's parser calls
// it with each word it does not know, so that no option is ever taken for a file name.
void refuseIfOption(const std::string& word);

// The words after the program name, for a tool that takes files and no options of its own.
// Throws a UsageError for any option among them.
std::vector<std::string> fileArguments(int argc, char** argv);

// Runs a tool's main body with the conventions all our tools share: --help or -h prints the
// usage on stdout and exits 0; --version or -V prints "NAME VERSION" and exits 0; a UsageError
// prints its message and the usage to stderr and exits 2; a run stopped by a signal
// (stop_signals.h) says so and exits with 128 + the signal; any other error prints one line
// "NAME: message" and exits 1.
int runCommandLineTool(const char* name, const char* usage, int argc, char** argv,
                       int (*body)(int argc, char** argv));

} // namespace omra::tools
