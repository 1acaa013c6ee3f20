// omra-tune: composes the intro's tune and writes it as an XM module.
#include "common/command_line.h"
#include "common/files.h"
#include "tune/omra_tune.h"

namespace {

constexpr const char* Usage = "usage: omra-tune OUT.xm\n"
                              "Writes the intro's tune, composed and synthesised by this program.\n"
                              "The committed copy is data/module.xm.\n";

int run(int argc, char** argv) {
    using namespace omra::tools;
    const std::vector<std::string> files = fileArguments(argc, argv);
    if (files.size() != 1) {
        throw UsageError("need the file to write");
    }
    writeFileAtomically(files[0], writeXm(tune::omraTune()));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool("omra-tune", Usage, argc, argv, run);
}
