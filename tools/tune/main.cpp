// omra-tune: composes the intro's tune and writes it as an XM module.
#include "common/command_line.h"
#include "common/files.h"
#include "tune/omra_tune.h"

namespace {

constexpr const char* Usage = "usage: omra-tune OUT.xm\n"
                              "Writes the intro's tune, composed and synthesised by this program.\n"
                              "The committed copy is data/module.xm.\n";

int run(int argc, char** argv) {
    if (argc != 2) {
        throw omra::tools::UsageError("need the file to write");
    }
    omra::tools::writeFileAtomically(argv[1], omra::tools::writeXm(omra::tools::tune::omraTune()));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool("omra-tune", Usage, argc, argv, run);
}
