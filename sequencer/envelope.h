#pragma once

#include "records/channel.h"
#include "records/song.h"

#include <cstdint>

// Volume and panning envelopes: one step per tick along the instrument's points.
namespace omra {

// One of a channel's two envelope states, as references into the channel.
struct EnvelopeState {
    std::int32_t& tick;
    std::int32_t& point; // the next point
    std::int32_t& value; // 16.16
    std::int32_t& output;
    std::int32_t& slope; // 16.16 per tick
    std::uint8_t& finished;
};

EnvelopeState volumeEnvelopeState(Channel& channel);
EnvelopeState panningEnvelopeState(Channel& channel);

// One of an instrument's two envelopes.
struct EnvelopeShape {
    const EnvelopePoint* points;
    std::int32_t pointCount;
    std::uint8_t flags;
    std::uint8_t sustainPoint;
    std::uint8_t loopStart;
    std::uint8_t loopEnd;
};

EnvelopeShape volumeEnvelopeShape(const Instrument& instrument);
EnvelopeShape panningEnvelopeShape(const Instrument& instrument);

// An envelope steps on a tick when it is on and has not reached its last point.
bool envelopeRuns(const EnvelopeShape& shape, const EnvelopeState& state);

// Advances the envelope by one tick and sets `changedFlag` in the channel's update flags. The
// loop test comes before the last-point and sustain tests, so an envelope whose loop ends at
// its last point never finishes.
void stepEnvelope(Channel& channel, const EnvelopeState& state, const EnvelopeShape& shape,
                  std::uint8_t changedFlag);

// Moves the volume envelope to tick `position` (effect L); nothing when the envelope is off.
void setVolumeEnvelopePosition(Channel& channel, const Instrument& instrument,
                               std::int32_t position);

} // namespace omra
