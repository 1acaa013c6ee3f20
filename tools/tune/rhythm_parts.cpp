// Drums and hi-hats: channels 0 and 1.
#include "tune/parts.h"

namespace omra::tools::tune {

namespace {

// Kick on 1 and the "and" of 3, snare on 2 and 4.
const char* const Beat = "C-4 01 | .3 | C-4 02 | .3 | C-4 01 | .1 | C-4 01 30 | .1 | C-4 02 | .3";

Phrase fillBar(Fill fill) {
    switch (fill) {
    case Fill::Pickup:
        // Snare pickups into the next bar.
        return phrase("C-4 01 | .3 | C-4 02 | .3 | C-4 01 | .1 | C-4 01 | C-4 02 18 |"
                      "C-4 02 | .1 | C-4 02 28 | C-4 02 34");
    case Fill::Flam:
        // Delayed ghost notes before the main hits, and a snare that starts late in its sample
        // (offset 0x800 frames) for a brushed tail.
        return phrase("C-4 01 | .2 | C-4 02 14 ED2 | C-4 02 | .3 | C-4 01 | C-4 02 10 908 |"
                      "C-4 01 | .1 | C-4 02 | .1 | C-4 02 20 ED3 | C-4 02 30");
    case Fill::Roll:
        return phrase("C-4 02 20 | C-4 02 18 | C-4 02 24 | C-4 02 1C | C-4 02 28 | C-4 02 20 |"
                      "C-4 02 2C | C-4 02 24 | C-4 02 30 R92 | .1 | C-4 01 | .1 | C-4 01 | .1 |"
                      "C-4 02 38 R82 | .");
    case Fill::None:
        break;
    }
    return phrase(Beat);
}

} // namespace

Phrase drumsGroove(Fill fill) {
    return joined({repeated(phrase(Beat), 3), fillBar(fill)});
}

Phrase drumsFourToTheFloor(bool lastBarOnly) {
    const Phrase bar = phrase("C-4 01 | .3 | C-4 01 | .3 | C-4 01 | .3 | C-4 01 | .3");
    if (lastBarOnly) {
        return joined({silence(48), bar});
    }
    return joined({repeated(bar, 3), fillBar(Fill::Pickup)});
}

Phrase drumsBoom() {
    // A kick started 0x400 frames in keeps only its low, long tail: a soft boom a bar.
    return repeated(phrase("C-4 01 28 904 | .15"), 4);
}

Phrase drumsRoll(bool flams) {
    const Phrase eighths = repeated(phrase("C-4 01 | .1 | C-4 02 20 | .1"), 4);
    const Phrase sixteenths =
        phrase("C-4 01 | C-4 02 10 | C-4 02 14 | C-4 02 18 | C-4 01 | C-4 02 1C | C-4 02 20 |"
               "C-4 02 24 | C-4 01 | C-4 02 28 | C-4 02 2C | C-4 02 30 | C-4 01 | C-4 02 34 |"
               "C-4 02 38 | C-4 02 3C");
    // The last bar: retriggers that get louder with every hit, then everything stops for the
    // last beat (the note cut silences the snare after one tick) before the drop.
    const Phrase climax = phrase(flams ? "C-4 02 20 RA2 | C-4 02 24 RA2 | C-4 02 28 ED2 |"
                                         "C-4 02 2C RA2 | C-4 02 30 ED1 | C-4 02 34 RA2 |"
                                         "C-4 02 38 ED2 | C-4 02 3C RA2 |"
                                         "C-4 02 30 R93 | C-4 02 34 R93 | C-4 02 38 R93 |"
                                         "C-4 02 40 EC1 | .4"
                                       : "C-4 02 20 RA2 | C-4 02 24 RA2 | C-4 02 28 RA2 |"
                                         "C-4 02 2C RA2 | C-4 02 30 RA2 | C-4 02 34 RA2 |"
                                         "C-4 02 38 R92 | C-4 02 3C R92 |"
                                         "C-4 02 30 R93 | C-4 02 34 R93 | C-4 02 38 R93 |"
                                         "C-4 02 40 EC1 | .4");
    return joined({eighths, eighths, sixteenths, climax});
}

Phrase hatsEighths() {
    return repeated(phrase("C-5 03 20 EC1 | . | D-5 03 30 | ."), 16);
}

Phrase hatsSixteenths(bool retriggerFills) {
    // Closed (cut after a tick) on the beat and the quiet sixteenths, open on the off-beat,
    // panned a little further out.
    const Phrase beat = phrase("C-5 03 24 EC1 | C-5 03 10 EC1 | D-5 03 PC | C-5 03 10 EC2");
    if (!retriggerFills) {
        return repeated(beat, 16);
    }
    // A hat retriggered every two ticks at the end of every second bar.
    const Phrase bar = repeated(beat, 4);
    const Phrase rollingBar = overwritten(bar, 12,
                                          phrase("C-5 03 14 E92 | C-5 03 18 E92 |"
                                                 "D-5 03 20 E92 | D-5 03 24 E92"));
    return joined({bar, rollingBar, bar, rollingBar});
}

Phrase hatsOffbeats() {
    return repeated(phrase(". | . | D-5 03 20 | ."), 16);
}

Phrase sweepWind() {
    // Held noise starting at two points of its sample, drifting left, right and back.
    return joined({sustained("C-3 08 10 908", "--- .. .. P01", 16),
                   sustained("--- .. .. P02", "--- .. .. P02", 16),
                   sustained("C-3 08 0C 904", "--- .. .. P10", 16),
                   sustained("=== .. .. P01", "--- .. .. P01", 16)});
}

Phrase sweepRiser() {
    // A bar of wind, then three bars climbing by a semitone a row while getting louder.
    return joined({phrase("C-3 08 10 | .15"),
                   repeated(sustained("--- .. +1 104", "--- .. .. 104", 4), 11),
                   phrase("--- .. .. 104 | --- .. .. 104 | --- .. .. 104 | === .. .. EC1")});
}

} // namespace omra::tools::tune
