#pragma once

#include "tune/note_notation.h"

#include <array>
#include <initializer_list>

// Ways of building a channel's 64 rows out of shorter phrases.
namespace omra::tools::tune {

inline constexpr int PatternRows = 64;
inline constexpr int TuneChannels = 6;

// The phrases one after the other.
Phrase joined(std::initializer_list<Phrase> phrases);

// The phrase `times` times over.
Phrase repeated(const Phrase& phrase, int times);

// Every note moved by `semitones`; key-offs and empty notes stay.
Phrase transposed(Phrase phrase, int semitones);

// `base` with the rows from `row` on replaced by `part` (an ending fill, a break).
Phrase overwritten(Phrase base, int row, const Phrase& part);

// A held note or effect: the row `first`, then `rows` - 1 copies of the row `each` (the running
// effect of a slide or vibrato, which lasts one row unless it is repeated).
Phrase sustained(std::string_view first, std::string_view each, int rows);

// `rows` empty rows.
Phrase silence(int rows);

// A pattern from one 64-row phrase per channel. Throws std::invalid_argument naming the
// channel whose phrase is not 64 rows long.
XmPattern patternOf(const std::array<Phrase, TuneChannels>& channels);

} // namespace omra::tools::tune
