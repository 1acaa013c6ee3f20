#include "tune/phrase_operations.h"

#include <stdexcept>
#include <string>

namespace omra::tools::tune {

Phrase joined(std::initializer_list<Phrase> phrases) {
    Phrase all;
    for (const Phrase& part : phrases) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Phrase repeated(const Phrase& phrase, int times) {
    Phrase all;
    for (int i = 0; i < times; ++i) {
        all.insert(all.end(), phrase.begin(), phrase.end());
    }
    return all;
}

Phrase transposed(Phrase phrase, int semitones) {
    for (XmCell& cell : phrase) {
        if (xm::isNote(cell.note)) {
            const int note = cell.note + semitones;
            if (note < 1 || note > xm::LastNote) {
                throw std::invalid_argument("a transposed note leaves the keyboard");
            }
            cell.note = static_cast<std::uint8_t>(note);
        }
    }
    return phrase;
}

Phrase overwritten(Phrase base, int row, const Phrase& part) {
    if (row < 0 || row + part.size() > base.size()) {
        throw std::invalid_argument("an overwritten part runs past the phrase");
    }
    std::copy(part.begin(), part.end(), base.begin() + row);
    return base;
}

Phrase sustained(std::string_view first, std::string_view each, int rows) {
    Phrase held = phrase(first);
    const Phrase running = phrase(each);
    for (int row = 1; row < rows; ++row) {
        held.insert(held.end(), running.begin(), running.end());
    }
    return held;
}

Phrase silence(int rows) {
    return Phrase(static_cast<std::size_t>(rows), XmCell{});
}

XmPattern patternOf(const std::array<Phrase, TuneChannels>& channels) {
    XmPattern pattern = emptyPattern(PatternRows, TuneChannels);
    for (int channel = 0; channel < TuneChannels; ++channel) {
        const Phrase& rows = channels[static_cast<std::size_t>(channel)];
        if (rows.size() != PatternRows) {
            throw std::invalid_argument("channel " + std::to_string(channel) + " has " +
                                        std::to_string(rows.size()) + " rows, not 64");
        }
        for (int row = 0; row < PatternRows; ++row) {
            pattern.at(row, channel, TuneChannels) = rows[static_cast<std::size_t>(row)];
        }
    }
    return pattern;
}

} // namespace omra::tools::tune
