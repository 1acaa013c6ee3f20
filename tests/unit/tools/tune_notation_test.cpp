#include "tune/note_notation.h"
#include "tune/phrase_operations.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace omra::tools::tune {
namespace {

TEST(TuneNotation, ARowReadsAsATrackerShowsIt) {
    const Phrase rows = phrase("C-4 01 40 A08");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].note, 49); // C-4 is note 49, as XM counts from C-0 = 1
    EXPECT_EQ(rows[0].instrument, 1);
    EXPECT_EQ(rows[0].volume, 0x50); // set volume 0x40 is stored as 0x10 + 0x40
    EXPECT_EQ(rows[0].effect, 10);
    EXPECT_EQ(rows[0].parameter, 0x08);
}

TEST(TuneNotation, SharpsOctavesAndKeyOffs) {
    const Phrase rows = phrase("C#0 | B-7 | === | --- 02");
    EXPECT_EQ(rows[0].note, 2);
    EXPECT_EQ(rows[1].note, 96);
    EXPECT_EQ(rows[2].note, xm::KeyOffNote);
    EXPECT_EQ(rows[3].note, 0);
    EXPECT_EQ(rows[3].instrument, 2);
}

TEST(TuneNotation, VolumeColumnCommandsTakeTheirLetters) {
    const Phrase rows = phrase("--- .. -3 | --- .. +3 | --- .. D3 | --- .. U3 | --- .. S3 |"
                               "--- .. V3 | --- .. P3 | --- .. L3 | --- .. R3 | --- .. MF |"
                               "--- .. 00 | --- .. ..");
    const std::uint8_t expected[] = {0x63, 0x73, 0x83, 0x93, 0xA3, 0xB3,
                                     0xC3, 0xD3, 0xE3, 0xFF, 0x10, 0x00};
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].volume, expected[i]) << "row " << i;
    }
}

TEST(TuneNotation, EffectsFromDigitsAndLetters) {
    const Phrase rows = phrase("--- .. .. 037 | --- .. .. EC1 | --- .. .. R92 | --- .. .. ...");
    EXPECT_EQ(rows[0].effect, 0);
    EXPECT_EQ(rows[0].parameter, 0x37);
    EXPECT_EQ(rows[1].effect, 14);
    EXPECT_EQ(rows[1].parameter, 0xC1);
    EXPECT_EQ(rows[2].effect, 27);
    EXPECT_EQ(rows[2].parameter, 0x92);
    EXPECT_EQ(rows[3].effect, 0);
    EXPECT_EQ(rows[3].parameter, 0);
}

TEST(TuneNotation, EmptyRowsAndRestCounts) {
    const Phrase rows = phrase("D-2 04 | .3 | . | | D-3");
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].note, 27);
    for (int row = 1; row < 6; ++row) {
        EXPECT_EQ(rows[static_cast<std::size_t>(row)].note, 0);
    }
    EXPECT_EQ(rows[6].note, rows[0].note + 12);
}

TEST(TuneNotation, MistakesAreRefused) {
    for (const char* wrong : {"H-4", "C-8", "C-4 00", "C-4 01 41", "C-4 01 Z1", "C-4 01 .. G1",
                              "C-4 01 .. A0", ".0", ".x", "C-4 01 .. ... extra"}) {
        EXPECT_THROW(phrase(wrong), std::invalid_argument) << wrong;
    }
}

TEST(TunePhrases, TranspositionMovesNotesOnly) {
    const Phrase moved = transposed(phrase("D-2 04 | === | --- .. .. 037"), -4);
    EXPECT_EQ(moved[0].note, phrase("A#1").front().note);
    EXPECT_EQ(moved[1].note, xm::KeyOffNote);
    EXPECT_EQ(moved[2].note, 0);
    EXPECT_THROW(transposed(phrase("C-0"), -1), std::invalid_argument);
}

TEST(TunePhrases, SustainedRepeatsTheRunningRow) {
    const Phrase held = sustained("C-4 06", "--- .. .. 446", 4);
    ASSERT_EQ(held.size(), 4u);
    EXPECT_EQ(held[0].note, 49);
    EXPECT_EQ(held[3].effect, 4);
    EXPECT_EQ(held[3].parameter, 0x46);
}

TEST(TunePhrases, APatternNeedsSixtyFourRowsOnEveryChannel) {
    std::array<Phrase, TuneChannels> channels;
    channels.fill(silence(PatternRows));
    EXPECT_NO_THROW(patternOf(channels));
    channels[4] = silence(PatternRows - 1);
    EXPECT_THROW(patternOf(channels), std::invalid_argument);
}

} // namespace
} // namespace omra::tools::tune
