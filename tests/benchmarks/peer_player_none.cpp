#include "benchmarks/peer_player.h"

namespace omra::benchmark {

std::unique_ptr<PeerPlayer> loadPeerPlayer(std::span<const std::uint8_t> /*module*/) {
    return nullptr;
}

std::string peerName() {
    return {};
}

} // namespace omra::benchmark
