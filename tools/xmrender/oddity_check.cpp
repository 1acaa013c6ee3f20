#include "xmrender/oddity_check.h"

#include "records/oddities.h"
#include "records/player_state.h"
#include "xmrender/loaded_song.h"
#include "xmrender/offline_render.h"

#include <cstdarg>
#include <cstdio>
#include <set>
#include <tuple>

namespace omra::tools {

namespace {

std::string format(const char* pattern, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

// What the listener hears at the event and what to write for the tracker's behaviour.
std::string describe(const OddityEvent& event) {
    const int value = event.value;
    switch (event.oddity) {
    case Oddity::DoubledFadeout:
        return format("fadeout %d fades released notes twice as fast as a tracker does (%d a "
                      "tick%s); write fadeout %d for the tracker's fade",
                      value, value * 2, value * 2 > 0xFFFF ? ", kept modulo 65536" : "",
                      (value + 1) / 2);
    case Oddity::ReleasedNoteStaysSilent:
        return "this note stays silent: the channel's note was released and its instrument has "
               "no volume envelope, and a note alone does not bring it back; write the "
               "instrument number with the note to hear it";
    case Oddity::TremoloOffsetStays:
        return format("the tremolo stops and leaves its last offset (%+d) in the volume; set "
                      "the volume on this row (Cxx or the volume column) to hear it come back",
                      value);
    case Oddity::SampleOffsetPastEnd:
        return format("sample offset %d is past the sample's end (%d frames): no note starts "
                      "and the sound playing jumps back to its start; write 9xx below %02X for "
                      "a note from inside the sample",
                      value, event.other, (event.other + 255) / 256);
    case Oddity::FinetuneSetsTheSample:
        return format("E5%X sets finetune %d (of -128..127) on the sample itself, for every "
                      "later note on every channel; a tracker sets %d for this note only: set "
                      "the sample's finetune in the instrument instead",
                      value, value, (value - 8) * 16);
    case Oddity::GlobalVolumeLags:
        return format("global volume %d reaches only this channel now; the others change when "
                      "their volume is next set (a note, a volume command, an envelope); set a "
                      "volume on every channel on this row to hear them change together",
                      value);
    case Oddity::PortamentoUpStopsAt56:
        return format("portamento up stops at period 56 (it would reach %d); a tracker slides "
                      "on: end the slide sooner or write the higher note",
                      value);
    case Oddity::ColumnPanningLeavesRange:
        return format("the volume column's panning slide takes the panning to %d, outside "
                      "0..255: it is heard at the edge and must come back past it before it "
                      "moves; a tracker stops at the edge: end the slide there",
                      value);
    case Oddity::EnvelopeLoopBeforeSustain:
        return format(event.other != 0
                          ? "the %s envelope's sustain point is its loop's end: the loop runs "
                            "on while the note is held instead of holding there; put the "
                            "sustain on the loop's start to hold"
                          : "the %s envelope's loop ends on its last point: it loops for ever "
                            "and never finishes, even after the release; add a point after "
                            "the loop for an envelope that ends",
                      value != 0 ? "panning" : "volume");
    case Oddity::BreakOnLastOrder:
        return format("the break on the last order goes to order 0, not to the restart "
                      "position %d as at the song's end; write B%02X in a channel left of "
                      "the break to go there",
                      value, value);
    case Oddity::WaveformThree:
        return value != 0 ? "tremolo waveform 3 plays as a sine; write E70 to say so, or E72 "
                            "for a square"
                          : "vibrato waveform 3 plays as a square; write E42 to say so, or E40 "
                            "for a sine";
    case Oddity::AmigaClock:
        return format("Amiga periods: every note plays 0.05 cent flat of a tracker's (this one "
                      "at %d Hz; C-4 at 8362 Hz, not 8363); too little to hear, nothing to "
                      "change",
                      value);
    case Oddity::VibratoStepsOf4:
        return format("vibrato depth %d peaks at %d period units, not %d: this player moves "
                      "the vibrato in steps of 4 (1/16 semitone), so shallow vibratos sound "
                      "shallower; write a depth of 4 or more for steps that hardly matter",
                      value, event.other & ~3, event.other);
    }
    return {};
}

// Once a place: an instrument's oddity once for the instrument, the Amiga pitch once a tune.
struct Findings {
    std::vector<std::string> lines;
    std::set<std::tuple<int, int, int, int, int>> seen;
};

void collect(const OddityEvent& event, void* context) {
    auto& findings = *static_cast<Findings*>(context);
    const auto kind = static_cast<int>(event.oddity);
    const bool ofInstrument = event.channel == nullptr || event.instrument >= 0;
    const Song* song = player.currentSong;
    std::string line;
    std::tuple<int, int, int, int, int> key{kind, -1, -1, -1, -1};
    if (event.oddity == Oddity::AmigaClock) {
        // the key as it stands: once a tune
    } else if (ofInstrument) {
        std::get<1>(key) = event.instrument;
        std::get<2>(key) = event.value;
        std::get<3>(key) = event.other;
    } else if (song != nullptr) {
        std::get<1>(key) = song->orderPosition;
        std::get<2>(key) = song->row;
        std::get<3>(key) = static_cast<int>(event.channel - player.channels.data());
    }
    if (!findings.seen.insert(key).second) {
        return;
    }
    if (ofInstrument && event.oddity != Oddity::AmigaClock) {
        line = format("instrument %d: ", event.instrument + 1);
    } else if (song != nullptr) {
        line = format("order %d row %d channel %d: ", song->orderPosition, song->row,
                      static_cast<int>(event.channel - player.channels.data()) + 1);
    }
    findings.lines.push_back(line + describe(event));
}

} // namespace

std::vector<std::string> checkOddities(std::span<const std::uint8_t> bytes,
                                       const std::string& name) {
    Findings findings;
    oddityWatch = {collect, &findings};
    struct Release {
        ~Release() { oddityWatch = {}; }
    } release;
    LoadedSong song = loadModule(bytes, name);
    RenderPlan plan;
    plan.passLimitFrames = PassLimitSeconds * MixRate;
    renderSong(
        *song, plan, [](std::span<const std::int16_t>) {}, [](std::uint64_t) {});
    return findings.lines;
}

} // namespace omra::tools
