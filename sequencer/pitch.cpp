#include "sequencer/pitch.h"

#include "records/mix_constants.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace omra {

namespace {

// 1/12 and 1/768 as the single-precision constants the tables are built with.
constexpr float OneTwelfth = 1.0f / 12.0f;
constexpr float OneOver768 = 1.0f / 768.0f;
// Amiga periods divide 14317056, not 8363 x 1712 = 14317456 (see updateVoice's Oddity).
constexpr std::int64_t AmigaClock = 14317056;
constexpr std::int32_t MinimumStepFrequency = 100;

// P(k) = trunc(13.375 x 2^((132 - k) x c)).
std::int32_t amigaTablePeriod(std::int32_t note) {
    const double exponent = static_cast<double>(132 - note) * static_cast<double>(OneTwelfth);
    return static_cast<std::int32_t>(13.375 * std::pow(2.0, exponent));
}

} // namespace

std::int32_t linearPeriod(std::int32_t note, std::int32_t finetune) {
    return 7680 - 64 * note - finetune / 2;
}

std::int32_t amigaPeriod(std::int32_t note, std::int32_t finetune) {
    const std::int32_t period = amigaTablePeriod(note);
    // A negative finetune bends toward the note below, except on note 0, which has none.
    if (finetune < 0 && note != 0) {
        return period + ((period - amigaTablePeriod(note - 1)) * std::abs(finetune)) / -128;
    }
    return period + ((period - amigaTablePeriod(note + 1)) * finetune) / -128;
}

std::int32_t notePeriod(const Song& song, std::int32_t note, std::int32_t finetune) {
    return (song.flags & xm::LinearFrequencyTable) != 0 ? linearPeriod(note, finetune)
                                                        : amigaPeriod(note, finetune);
}

std::int32_t semitoneOffset(const Song& song, std::int32_t note, std::int32_t finetune,
                            std::int32_t semitones) {
    if ((song.flags & xm::LinearFrequencyTable) != 0) {
        return semitones * 64;
    }
    return amigaPeriod(note + semitones, finetune) - amigaPeriod(note, finetune);
}

bool periodFrequency(const Song& song, std::int32_t period, std::int32_t periodOffset,
                     std::int32_t& frequency) {
    const std::int64_t sum = std::int64_t{period} + periodOffset;
    if (sum == 0) {
        return false;
    }
    if ((song.flags & xm::LinearFrequencyTable) != 0) {
        // The offset counts upward here, against the period: a positive offset raises the pitch.
        const std::int64_t fromMiddleC = std::int64_t{4608} - period + periodOffset;
        const double hertz = 8363.0 * std::pow(2.0, static_cast<double>(fromMiddleC) *
                                                        static_cast<double>(OneOver768));
        // Endless slides can push the pitch past what 32 bits hold; it stays at the top instead.
        frequency = hertz >= static_cast<double>(std::numeric_limits<std::int32_t>::max())
                        ? std::numeric_limits<std::int32_t>::max()
                        : static_cast<std::int32_t>(hertz);
    } else {
        frequency = static_cast<std::int32_t>(AmigaClock / sum);
    }
    return true;
}

void setVoiceFrequency(Voice& voice, std::int32_t frequency) {
    voice.frequency = frequency;
    const std::uint32_t stepped =
        static_cast<std::uint32_t>(std::max(frequency, MinimumStepFrequency));
    voice.step = stepped / MixRate;
    voice.stepFraction =
        static_cast<std::uint32_t>((std::uint64_t{stepped % MixRate} << 32) / MixRate);
}

} // namespace omra
