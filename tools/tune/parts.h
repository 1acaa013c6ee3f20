#pragma once

#include "tune/phrase_operations.h"

// The tune's material, each part one channel's 64 rows (four bars of 16 rows; a row is a
// sixteenth note). The key is D minor. Harmony comes as a progression of four chords, one a
// bar; parts that follow the harmony are written over D and moved to each chord's root.
namespace omra::tools::tune {

struct Chord {
    int root;   // semitones from D
    bool minor; // minor or major triad
};
using Progression = std::array<Chord, 4>;

// Dm | Bb | F | C: the main progression.
inline constexpr Progression MainProgression{{{0, true}, {-4, false}, {3, false}, {-2, false}}};
// Gm | Bb | Dm | A: the breakdown's, with A major pulling back to D minor.
inline constexpr Progression BreakdownProgression{
    {{-7, true}, {-4, false}, {0, true}, {-5, false}}};

// Channel 0: kick and snare.
enum class Fill { None, Pickup, Flam, Roll };
Phrase drumsGroove(Fill fill);
Phrase drumsFourToTheFloor(bool lastBarOnly);
Phrase drumsBoom();
Phrase drumsRoll(bool flams);

// Channel 1: hi-hats, or the noise sweep where the hats rest.
Phrase hatsEighths();
Phrase hatsSixteenths(bool retriggerFills);
Phrase hatsOffbeats();
Phrase sweepWind();
Phrase sweepRiser();

// Channel 2: bass.
Phrase bassDriving(const Progression& chords);
Phrase bassHeld(const Progression& chords);
Phrase bassPumping(const Progression& chords);

// Channel 3: pad.
Phrase padChords(const Progression& chords);
Phrase padFadeIn(const Progression& chords);
Phrase padTremolo(const Progression& chords);

// Channel 4: lead. The theme is eight bars, an antecedent and an answer; the second theme
// eight more; each also comes ornamented.
Phrase leadThemeCall();
Phrase leadThemeAnswer();
Phrase leadThemeCallOrnamented();
Phrase leadThemeAnswerOrnamented();
Phrase leadSecondThemeCall();
Phrase leadSecondThemeAnswer();
Phrase leadBreakdown(int octaveShift);
Phrase leadTeaser();

// Channel 5: arpeggios (pluck), stabs, echoes of the lead, and sweeps.
Phrase arpBroken(const Progression& chords);
Phrase arpStabs(const Progression& chords);
Phrase arpDrifting(const Progression& chords);
Phrase arpEchoes();
Phrase echoOf(const Phrase& lead, int rows);
Phrase sweepDown();

} // namespace omra::tools::tune
