#pragma once

#include "benchmarks/peer_player.h"
#include "records/mix_constants.h"

#include <algorithm>
#include <time.h>

// How a player's speed is measured, ours and the reference player's alike: seconds of music per
// second of the thread's CPU time, the fastest of five runs of the same 30 s of music.
namespace omra::benchmark {

constexpr int Runs = 5;            // the fastest of these counts
constexpr int BlocksPerRun = 1500; // 30 s of music
constexpr double RunSeconds = BlocksPerRun * double{BlockFrames} / MixRate;
// A run repeats its 30 s until this much CPU time has passed: long enough for a coarse thread
// clock (Windows counts it in 15.6 ms ticks) to time it to a few percent, and for a machine
// that others share to even out.
constexpr double MinRunCpuSeconds = 0.5;

// The CPU time this thread has had: what one core spent on it, however busy the machine is.
inline double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The fastest of the runs it is given but the first, which warms the caches up.
class Fastest {
public:
    void add(double rate) {
        if (runs_++ > 0) {
            rate_ = std::max(rate_, rate);
        }
    }
    double rate() const { return rate_; }

private:
    int runs_ = 0;
    double rate_ = 0;
};

// Seconds of music per second of CPU time over one run; `mixRun` renders the same 30 s each
// time it is called.
template <typename MixRun>
double realTimeRate(MixRun mixRun) {
    const double start = threadSeconds();
    int repeats = 0;
    double elapsed = 0;
    do {
        mixRun();
        ++repeats;
        elapsed = threadSeconds() - start;
    } while (elapsed < MinRunCpuSeconds);
    return repeats * RunSeconds / elapsed;
}

// One run of the reference player from the start of its song.
inline double peerRunRate(PeerPlayer& peer) {
    return realTimeRate([&peer] {
        peer.restart();
        peer.render(BlocksPerRun);
    });
}

} // namespace omra::benchmark
