#include "sequencer/envelope.h"

#include "records/oddities.h"
#include "sequencer/saturate.h"

namespace omra {

namespace {

constexpr std::int64_t One = 65536; // 1.0 in 16.16

std::int32_t pointX(const EnvelopeShape& shape, std::int32_t i) {
    return shape.points[i].x;
}

std::int64_t pointY(const EnvelopeShape& shape, std::int32_t i) {
    return shape.points[i].y;
}

// The segment's change per tick. Computed in 64 bits and held to 32, so points far above 64 or
// not in tick order (only malformed files have them) cannot overflow it.
std::int32_t segmentSlope(const EnvelopeShape& shape, std::int32_t from) {
    const std::int64_t width = pointX(shape, from + 1) - pointX(shape, from);
    if (width == 0) {
        return 0;
    }
    return saturateToInt32((pointY(shape, from + 1) * One - pointY(shape, from) * One) / width);
}

void setOutputFromValue(const EnvelopeState& state) {
    state.output = state.value >> 16;
}

} // namespace

EnvelopeState volumeEnvelopeState(Channel& channel) {
    return {channel.volumeEnvelopeTick,  channel.volumeEnvelopePoint,
            channel.volumeEnvelopeValue, channel.volumeEnvelopeOutput,
            channel.volumeEnvelopeSlope, channel.volumeEnvelopeFinished};
}

EnvelopeState panningEnvelopeState(Channel& channel) {
    return {channel.panningEnvelopeTick,  channel.panningEnvelopePoint,
            channel.panningEnvelopeValue, channel.panningEnvelopeOutput,
            channel.panningEnvelopeSlope, channel.panningEnvelopeFinished};
}

EnvelopeShape volumeEnvelopeShape(const Instrument& instrument) {
    return {instrument.volumeEnvelope.data(), instrument.volumePointCount,
            instrument.volumeEnvelopeFlags,   instrument.volumeSustainPoint,
            instrument.volumeLoopStart,       instrument.volumeLoopEnd};
}

EnvelopeShape panningEnvelopeShape(const Instrument& instrument) {
    return {instrument.panningEnvelope.data(), instrument.panningPointCount,
            instrument.panningEnvelopeFlags,   instrument.panningSustainPoint,
            instrument.panningLoopStart,       instrument.panningLoopEnd};
}

bool envelopeRuns(const EnvelopeShape& shape, const EnvelopeState& state) {
    return (shape.flags & EnvelopeOn) != 0 && state.finished == 0;
}

namespace {

// Where looping first makes the envelope differ: a loop ending on the last point, or a sustain
// on the loop's end that the loop passes over while the note is held.
void reportEnvelopeLoop(const Channel& channel, const EnvelopeShape& shape,
                        std::uint8_t changedFlag) {
    const bool lastPoint = shape.loopEnd == shape.pointCount - 1;
    const bool passedSustain = (shape.flags & EnvelopeSustain) != 0 &&
                               shape.sustainPoint == shape.loopEnd &&
                               shape.loopStart != shape.loopEnd && channel.keyOff == 0;
    if (lastPoint || passedSustain) {
        reportOddity(Oddity::EnvelopeLoopBeforeSustain, &channel,
                     changedFlag == PanningChanged ? 1 : 0, passedSustain ? 1 : 0,
                     channel.instrument);
    }
}

} // namespace

void stepEnvelope(Channel& channel, const EnvelopeState& state, const EnvelopeShape& shape,
                  std::uint8_t changedFlag) {
    const std::int32_t count = shape.pointCount;
    if (state.point < count && state.tick == pointX(shape, state.point)) {
        // Oddity: the loop is tested before the last point and the sustain, so an envelope
        // whose loop ends on its last point never finishes, and a sustain on the loop end holds
        // only if it is also the loop start. Kept: looped envelopes in the tunes rely on it.
        // Pinned by: Envelope.LoopEndingAtTheLastPointNeverFinishes,
        // Envelope.LoopIsTestedBeforeSustain.
        // Reported as "instrument I: the volume envelope's loop ends on its last point..." or
        // "...'s sustain point is the loop's end...".
        if ((shape.flags & EnvelopeLoop) != 0 && state.point == shape.loopEnd) {
            if (odditiesWatched()) {
                reportEnvelopeLoop(channel, shape, changedFlag);
            }
            state.point = shape.loopStart;
            state.tick = pointX(shape, shape.loopStart);
        }
        const std::int32_t j = state.point;
        if (j == count - 1) {
            state.output = static_cast<std::int32_t>(pointY(shape, j));
            state.finished = 1;
            channel.updateFlags |= changedFlag;
            return;
        }
        if ((shape.flags & EnvelopeSustain) != 0 && j == shape.sustainPoint &&
            channel.keyOff == 0) {
            // Holds here, tick and point unmoved, until the note is released.
            state.output = static_cast<std::int32_t>(pointY(shape, j));
            channel.updateFlags |= changedFlag;
            return;
        }
        state.slope = segmentSlope(shape, j);
        state.value = saturateToInt32(pointY(shape, j) * One);
        state.point = j + 1;
    } else if (state.point < count) {
        state.value = saturateToInt32(std::int64_t{state.value} + state.slope);
    }
    setOutputFromValue(state);
    state.tick += 1;
    channel.updateFlags |= changedFlag;
}

void setVolumeEnvelopePosition(Channel& channel, const Instrument& instrument,
                               std::int32_t position) {
    const EnvelopeShape shape = volumeEnvelopeShape(instrument);
    if ((shape.flags & EnvelopeOn) == 0 || shape.pointCount == 0) {
        return;
    }
    const EnvelopeState state = volumeEnvelopeState(channel);
    const std::int32_t last = shape.pointCount - 1;
    // The segment whose end lies at or after the position; past the last point, the last.
    std::int32_t i = 0;
    while (i < last && pointX(shape, i + 1) < position) {
        ++i;
    }
    state.point = i;
    if (i < last) {
        state.finished = 0;
        state.tick = position;
        state.slope = segmentSlope(shape, i);
        state.point = i + 1;
        state.value = saturateToInt32((std::int64_t{position} - pointX(shape, i)) * state.slope +
                                      pointY(shape, i) * One);
        setOutputFromValue(state);
    } else {
        state.output = static_cast<std::int32_t>(pointY(shape, last));
        state.finished = 1;
    }
}

} // namespace omra
