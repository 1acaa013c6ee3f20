#include "records/tempo.h"

#include "records/mix_constants.h"

namespace omra {

void setTempo(Song& song, std::int32_t bpm) {
    song.bpm = bpm;
    // A tick lasts 2.5 s / bpm. The constants are single precision, the arithmetic double; for
    // every bpm from 1 to 255 this is exactly 110250 / bpm frames.
    const double tickMilliseconds = 1000.0f / (bpm * static_cast<double>(0.4f));
    song.framesPerTick =
        static_cast<std::int32_t>(tickMilliseconds * MixRate * static_cast<double>(0.001f));
}

} // namespace omra
