// The lead: channel 4. Rows count sixteenths; ".N" rests hold the note before them.
#include "tune/parts.h"

namespace omra::tools::tune {

// Over Dm | Bb | F | C: rises to the fifth, steps down, and ends on a long G with a vibrato
// (volume column: S sets its speed, V its depth) that deepens as it is held.
Phrase leadThemeCall() {
    return phrase("D-5 06 | .3 | A-5 06 | .5 | G-5 06 | .1 | F-5 06 | .1 | E-5 06 | .1 |"
                  "F-5 06 | .5 | D-5 06 | .1 | F-5 06 | .1 | G-5 06 | .3 | F-5 06 | .1 |"
                  "A-5 06 | .5 | C-6 06 | .3 | A-5 06 | .1 | G-5 06 | .1 | F-5 06 | .1 |"
                  "E-5 06 | .5 | G-5 06 | --- .. S6 | --- .. V4 | --- .. V4 | --- .. V6 |"
                  "--- .. V6 | --- .. V8 | --- .. V8 | === | .");
}

// The answer starts an octave up and comes down to an open ending on the C chord.
Phrase leadThemeAnswer() {
    return phrase("D-6 06 | .3 | C-6 06 | .1 | A-5 06 | .1 | F-5 06 | .3 | E-5 06 | .1 |"
                  "D-5 06 | .1 |"
                  "D-5 06 | .1 | F-5 06 | .1 | A#5 06 | .5 | A-5 06 | .1 | F-5 06 | .3 |"
                  "C-6 06 | .3 | A-5 06 | .3 | F-5 06 | .1 | G-5 06 | .1 | A-5 06 | .3 |"
                  "G-5 06 | .3 | E-5 06 | .3 | C-5 06 | .3 | E-5 06 | .1 | F-5 06 | --- .. D8");
}

// The call again with slides (tone portamento, 3xx) between neighbouring notes and a vibrato
// in the effect column.
Phrase leadThemeCallOrnamented() {
    return phrase("D-5 06 | .1 | E-5 .. .. 320 | F-5 .. .. 320 | A-5 06 | .5 | G-5 06 | .1 |"
                  "F-5 06 | .1 | E-5 06 | .1 |"
                  "F-5 06 | .3 | G-5 06 | .1 | F-5 06 | .1 | D-5 06 | .3 | C-5 06 | .1 |"
                  "D-5 06 | .1 |"
                  "A-5 06 | .3 | C-6 .. .. 310 | .3 | D-6 06 | .1 | C-6 06 | .1 | A-5 06 | .1 |"
                  "G-5 06 | .1 |"
                  "A-5 06 | .1 | G-5 06 | .1 | E-5 06 | .3 | G-5 06 | --- .. .. 442 |"
                  "--- .. .. 444 | --- .. .. 444 | --- .. .. 446 | --- .. .. 446 | --- .. .. 400 |"
                  "===");
}

// The answer higher, with a legato step (volume-column portamento) and a fall (portamento
// down) off its last note.
Phrase leadThemeAnswerOrnamented() {
    return phrase("D-6 06 | .1 | F-6 06 | .1 | E-6 .. MF | .1 | D-6 06 | .1 | C-6 06 | .3 |"
                  "A-5 06 | .3 |"
                  "A#5 06 | .3 | A-5 06 | .1 | G-5 06 | .1 | F-5 06 | .5 | D-5 06 | .1 |"
                  "C-6 06 | .1 | A-5 06 | .1 | C-6 06 | .1 | F-6 06 | .5 | E-6 06 | .1 |"
                  "C-6 06 | .1 |"
                  "D-6 06 | .7 | --- .. .. 204 | --- .. .. 208 | --- .. .. 20C | --- .. -8 |"
                  "=== | .3");
}

// The second theme: repeated notes that leap up, sixteenths against the beat.
Phrase leadSecondThemeCall() {
    return phrase("A-5 06 | .1 | A-5 06 | .1 | C-6 06 | .2 | D-6 06 | .2 | C-6 06 | .1 |"
                  "A-5 06 | .3 |"
                  "A#5 06 | .1 | A#5 06 | .1 | D-6 06 | .2 | F-6 06 | .2 | D-6 06 | .1 |"
                  "A#5 06 | .3 |"
                  "C-6 06 | .1 | C-6 06 | .1 | F-6 06 | .2 | A-6 06 | .2 | G-6 06 | .1 |"
                  "F-6 06 | .3 |"
                  "E-6 06 | .2 | D-6 06 | .2 | C-6 06 | .1 | G-5 06 | .3 | --- .. .. 446 |"
                  "--- .. .. 400 | --- .. .. 400 | ===");
}

Phrase leadSecondThemeAnswer() {
    const Phrase call = leadSecondThemeCall();
    return overwritten(call, 48,
                       phrase("E-6 06 | .1 | F-6 06 | .1 | E-6 06 | .1 | C-6 06 | .1 |"
                              "D-6 06 | --- .. .. 434 | --- .. .. 436 | --- .. .. 438 |"
                              "--- .. .. 438 | --- .. .. A02 | --- .. .. A04 | ==="));
}

// Long notes over Gm | Bb | Dm | A, gliding and singing.
Phrase leadBreakdown(int octaveShift) {
    return transposed(phrase("A#4 06 | .3 | D-5 .. .. 308 | .3 | G-5 06 | .5 | F-5 06 | .1 |"
                             "F-5 06 | .3 | --- .. .. 434 | --- .. .. 434 | --- .. .. 436 |"
                             "--- .. .. 436 | D-5 06 | .5 | F-5 06 | .1 |"
                             "A-5 06 | .7 | --- .. .. 446 | --- .. .. 446 | --- .. .. 446 |"
                             "--- .. .. 446 | G-5 06 | F-5 06 | E-5 06 | F-5 06 |"
                             "E-5 06 | .5 | C#5 06 | .3 | A-4 06 | .3 | === | ."),
                      12 * octaveShift);
}

// The theme's call an octave down and quieter, as a hint of what is coming.
Phrase leadTeaser() {
    Phrase teaser = transposed(leadThemeCall(), -12);
    for (XmCell& cell : teaser) {
        if (cell.instrument != 0) {
            cell.volume = 0x10 + 0x1C;
        }
    }
    return teaser;
}

} // namespace omra::tools::tune
