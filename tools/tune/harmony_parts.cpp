// Bass, pad and pluck: channels 2, 3 and 5, following the chords.
#include "tune/parts.h"

#include <string>

namespace omra::tools::tune {

namespace {

// One bar per chord: the bar as written over D (minor or major), moved to the chord's root.
Phrase overChords(const Progression& chords, const Phrase& minorBar, const Phrase& majorBar) {
    Phrase all;
    for (const Chord& chord : chords) {
        const Phrase bar = transposed(chord.minor ? minorBar : majorBar, chord.root);
        all.insert(all.end(), bar.begin(), bar.end());
    }
    return all;
}

Phrase overChords(const Progression& chords, const Phrase& bar) {
    return overChords(chords, bar, bar);
}

} // namespace

Phrase bassDriving(const Progression& chords) {
    // Octave jumps on a syncopated sixteenth grid, with the fifth leading into the next bar.
    return overChords(chords, phrase("D-2 04 | .1 | D-3 04 20 | .1 | D-2 04 | D-2 04 1C |"
                                     "D-3 04 20 | .1 | D-2 04 | .1 | D-3 04 20 | .1 | D-2 04 |"
                                     "D-3 04 1C | A-2 04 1E | .1"));
}

Phrase bassHeld(const Progression& chords) {
    // Whole notes that glide (tone portamento) into each next root; a pickup ends the phrase.
    Phrase held = overChords(chords, phrase("D-2 .. .. 318 | .15"));
    held = overwritten(held, 0, transposed(phrase("D-2 04 20"), chords[0].root));
    return overwritten(held, 60,
                       transposed(phrase("D-3 04 1C | .1 | D-2 04 20 | ==="), chords[3].root));
}

Phrase bassPumping(const Progression& chords) {
    return overChords(chords, repeated(phrase("D-2 04 | .1 | D-2 04 1C | .1"), 4));
}

Phrase padChords(const Progression& chords) {
    return overChords(chords, phrase("D-3 05 | .15"));
}

Phrase padFadeIn(const Progression& chords) {
    // From silence, a fine volume step up every row for three bars; the chord changes come
    // without an instrument number, so the swell and the stereo drift run on unbroken.
    const Phrase climbing = sustained("D-3 .. U1", "--- .. U1", 16);
    Phrase fading = overChords(chords, climbing);
    fading = overwritten(fading, 0, transposed(phrase("D-3 05 00"), chords[0].root));
    return overwritten(fading, 48, transposed(phrase("D-3 | .15"), chords[3].root));
}

Phrase padTremolo(const Progression& chords) {
    return overChords(chords, sustained("D-3 05 2C", "--- .. .. 744", 16));
}

Phrase arpBroken(const Progression& chords) {
    const char* const minor = "D-5 07 21 | A-5 07 12 | F-5 07 18 | D-6 07 12 | A-5 07 1B |"
                              "F-5 07 12 | D-5 07 18 | A-5 07 12 | F-5 07 1E | D-6 07 12 |"
                              "A-5 07 18 | F-6 07 12 | D-6 07 1B | A-5 07 12 | F-5 07 18 |"
                              "A-5 07 12";
    const char* const major = "D-5 07 21 | A-5 07 12 | F#5 07 18 | D-6 07 12 | A-5 07 1B |"
                              "F#5 07 12 | D-5 07 18 | A-5 07 12 | F#5 07 1E | D-6 07 12 |"
                              "A-5 07 18 | F#6 07 12 | D-6 07 1B | A-5 07 12 | F#5 07 18 |"
                              "A-5 07 12";
    return overChords(chords, phrase(minor), phrase(major));
}

Phrase arpStabs(const Progression& chords) {
    // Chords played as a fast arpeggio (minor 0 3 7, major 0 4 7) in a 3-3-2 rhythm.
    const auto stabs = [](const char* first, const char* hold) {
        const std::string note = std::string("D-4 07 ") + first;
        return joined({sustained(note, hold, 3), sustained(note, hold, 3), sustained(note, hold, 2),
                       sustained(note, hold, 3), sustained(note, hold, 3),
                       sustained(note, hold, 2)});
    };
    return overChords(chords, stabs("22 037", "--- .. .. 037"), stabs("22 047", "--- .. .. 047"));
}

Phrase arpDrifting(const Progression& chords) {
    // Eighth notes that fly alternately to the left and to the right while they ring; the
    // volume column is busy with the slide, so the effect column sets their quieter level.
    const auto bar = [](const char* third) {
        const std::string notes[] = {"D-5", "A-5", third, "A-5", "D-6", "A-5", third, "A-5"};
        Phrase all;
        for (int i = 0; i < 8; ++i) {
            const char* slide = i % 2 == 0 ? "LF" : "RF";
            const Phrase two =
                sustained(notes[i] + " 07 " + slide + " C14", std::string("--- .. ") + slide, 2);
            all.insert(all.end(), two.begin(), two.end());
        }
        return all;
    };
    return overChords(chords, bar("F-5"), bar("F#5"));
}

Phrase arpEchoes() {
    // High chord tones, each answered two ticks late (note delay) by a quiet echo.
    return phrase("A-5 07 24 | .2 | A-5 07 14 ED2 | .2 | F-5 07 1B | .2 | F-5 07 10 ED2 | .6 |"
                  "D-6 07 24 | .2 | D-6 07 14 ED2 | .2 | A#5 07 1B | .2 | A#5 07 10 ED2 | .6 |"
                  "C-6 07 24 | .2 | C-6 07 14 ED2 | .2 | A-5 07 1B | .2 | A-5 07 10 ED2 | .6 |"
                  "G-5 07 24 | .2 | G-5 07 14 ED2 | .2 | E-5 07 1B | .2 | E-5 07 10 ED2 | .2 |"
                  "G-5 07 12 | .3");
}

Phrase echoOf(const Phrase& lead, int rows) {
    // The lead's notes on the pluck, quieter and `rows` later, wrapping round the pattern.
    Phrase echo = silence(static_cast<int>(lead.size()));
    for (std::size_t row = 0; row < lead.size(); ++row) {
        const XmCell& cell = lead[row];
        if (xm::isNote(cell.note)) {
            echo[(row + static_cast<std::size_t>(rows)) % lead.size()] =
                XmCell{cell.note, 7, 0x10 + 0x16, 0, 0};
        }
    }
    return echo;
}

Phrase sweepDown() {
    // A bar of noise falling a semitone every tick: the whoosh at the top of a section.
    return joined({sustained("C-6 08 30", "--- .. .. 210", 12), phrase("=== | .3")});
}

} // namespace omra::tools::tune
