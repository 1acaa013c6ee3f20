// The reference player's speed alone, measured as omra_player_speed measures it beside ours, on
// the same modules: built for 32-bit x86, it is the Windows build's peer, whose program under
// Wine cannot load the Linux library (see scripts/benchmarks.sh).
//
//   omra_peer_speed SHIPPED_MODULE [MODULE...]
//
// Prints the peer's name, then a line "name<TAB>speed" for each module, the speed "-" where the
// peer refuses the module: what `omra_player_speed modules --peer FILE` reads.
#include "benchmarks/peer_player.h"
#include "benchmarks/speed_modules.h"
#include "benchmarks/speed_runs.h"

#include <cstdio>
#include <span>

int main(int argc, char** argv) {
    using namespace omra::benchmark;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SHIPPED_MODULE [MODULE...]\n", argv[0]);
        return 2;
    }
    std::printf("%s\n", peerName().c_str());
    for (const SpeedModule& module :
         speedModules(readModule(argv[1]), std::span(argv + 2, argv + argc))) {
        const std::unique_ptr<PeerPlayer> peer = loadPeerPlayer(module.bytes);
        if (peer == nullptr) {
            std::printf("%s\t-\n", module.name.c_str());
            continue;
        }
        Fastest fastest;
        for (int run = 0; run <= Runs; ++run) {
            fastest.add(peerRunRate(*peer));
        }
        std::printf("%s\t%.1f\n", module.name.c_str(), fastest.rate());
        std::fflush(stdout);
    }
    return 0;
}
