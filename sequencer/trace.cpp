#include "sequencer/trace.h"

#include <array>
#include <cstdio>

namespace omra {

namespace {

std::string noteName(std::int32_t note) {
    static constexpr std::array<const char*, 12> Names = {"C-", "C#", "D-", "D#", "E-", "F-",
                                                          "F#", "G-", "G#", "A-", "A#", "B-"};
    return Names[static_cast<std::size_t>(note % 12)] + std::to_string(note / 12);
}

} // namespace

TickTrace captureTick(const Song& song, const PlayerState& state) {
    TickTrace trace{song.orderPosition, song.orderTable[song.orderPosition],
                    song.row,           song.tick,
                    song.speed,         song.bpm,
                    song.globalVolume,  {}};
    trace.channels.reserve(static_cast<std::size_t>(song.channelCount));
    for (std::int32_t i = 0; i < song.channelCount; ++i) {
        const Channel& channel = state.channels[i];
        const Voice& voice = *channel.voice;
        trace.channels.push_back(
            {channel.note, channel.instrument, channel.period, channel.periodOffset, channel.volume,
             channel.volumeOffset, channel.panning, channel.volumeEnvelopeOutput,
             channel.panningEnvelopeOutput, channel.fadeoutVolume, channel.keyOff != 0, voice.index,
             voice.sample != nullptr, voice.frequency, voice.gainLeft, voice.gainRight,
             voice.position});
    }
    return trace;
}

std::string formatTick(const TickTrace& trace) {
    std::string text;
    char line[320];
    for (std::size_t i = 0; i < trace.channels.size(); ++i) {
        const ChannelTrace& c = trace.channels[i];
        std::snprintf(line, sizeof line,
                      "order=%d pattern=%d row=%d tick=%d speed=%d bpm=%d global=%d channel=%zu "
                      "note=%s instrument=%d period=%d%+d volume=%d%+d panning=%d venv=%d penv=%d "
                      "fadeout=%d keyoff=%d voice=%d%s frequency=%d gain=%d/%d position=%u\n",
                      trace.orderPosition, trace.pattern, trace.row, trace.tick, trace.speed,
                      trace.bpm, trace.globalVolume, i, noteName(c.note).c_str(), c.instrument + 1,
                      c.period, c.periodOffset, c.volume, c.volumeOffset, c.panning,
                      c.volumeEnvelope, c.panningEnvelope, c.fadeout, c.keyOff ? 1 : 0, c.voice,
                      c.sounding ? "" : "(idle)", c.frequency, c.gainLeft, c.gainRight, c.position);
        text += line;
    }
    return text;
}

} // namespace omra
