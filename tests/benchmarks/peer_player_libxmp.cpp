#include "benchmarks/peer_player.h"
#include "records/mix_constants.h"

#include <string>
#include <vector>
#include <xmp.h>

namespace omra::benchmark {

namespace {

class LibxmpPlayer final : public PeerPlayer {
public:
    explicit LibxmpPlayer(xmp_context context) : context_(context), block_(2 * BlockFrames) {}
    ~LibxmpPlayer() override {
        xmp_end_player(context_);
        xmp_release_module(context_);
        xmp_free_context(context_);
    }
    LibxmpPlayer(const LibxmpPlayer&) = delete;
    LibxmpPlayer& operator=(const LibxmpPlayer&) = delete;

    void restart() override {
        xmp_end_player(context_);
        xmp_start_player(context_, MixRate, 0);
        xmp_set_player(context_, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
    }

    void render(int blocks) override {
        for (int block = 0; block < blocks; ++block) {
            // Loops at the song's end, as the intro's player does.
            xmp_play_buffer(context_, block_.data(), static_cast<int>(block_.size() * 2), 0);
        }
    }

private:
    xmp_context context_;
    std::vector<std::int16_t> block_;
};

} // namespace

std::unique_ptr<PeerPlayer> loadPeerPlayer(std::span<const std::uint8_t> module) {
    xmp_context context = xmp_create_context();
    if (xmp_load_module_from_memory(context, module.data(), static_cast<long>(module.size())) !=
        0) {
        xmp_free_context(context);
        return nullptr;
    }
    xmp_start_player(context, MixRate, 0);
    xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
    return std::make_unique<LibxmpPlayer>(context);
}

std::string peerName() {
#if defined(__x86_64__)
    const char* processor = "x86-64";
#elif defined(__i386__)
    const char* processor = "i386";
#else
    const char* processor = "native";
#endif
    return std::string("libxmp ") + xmp_version + ", " + processor;
}

} // namespace omra::benchmark
