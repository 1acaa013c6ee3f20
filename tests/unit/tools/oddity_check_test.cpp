#include "unit/sequencer/sequencer_harness.h"
#include "xmrender/oddity_check.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace omra::testing {
namespace {

// One row per place the player labels an oddity: a module that meets it once, and the report
// line it must give, from its position on up to the first words of what it says.
struct OddityCase {
    std::string_view name;
    std::vector<std::string_view> channels; // pattern 0, in the tune's notation
    void (*adjust)(tools::XmModule&) = nullptr;
    std::string_view line;
    int patterns = 1;
};

const OddityCase OddityCases[] = {
    {"DoubledFadeout",
     {"C-4 01"},
     [](tools::XmModule& m) { m.instruments[0].fadeout = 100; },
     "instrument 1: fadeout 100 fades released notes twice as fast"},
    {"ReleasedNoteStaysSilent",
     {"C-4 01 | === | C-4"},
     nullptr,
     "order 0 row 2 channel 1: this note stays silent"},
    {"TremoloOffsetStays",
     {"C-4 01 .. 74F | C-4"},
     nullptr,
     "order 0 row 1 channel 1: the tremolo stops and leaves its last offset (+16)"},
    {"SampleOffsetPastEnd",
     {"| C-4 01 .. 904"},
     nullptr,
     "order 0 row 1 channel 1: sample offset 1024 is past the sample's end (1000 frames)"},
    {"FinetuneSetsTheSample",
     {"C-4 01", "| C-4 01 .. E5F"},
     nullptr,
     "order 0 row 1 channel 2: E5F sets finetune 15"},
    {"GlobalVolumeLags",
     {"C-4 01", "| --- .. .. G20"},
     nullptr,
     "order 0 row 1 channel 2: global volume 32 reaches only this channel"},
    {"PortamentoUpStopsAt56",
     {"B-7 01 .. 1FF"},
     nullptr,
     "order 0 row 0 channel 1: portamento up stops at period 56"},
    {"ColumnPanningLeavesRange",
     {"C-4 01 | --- .. RF 8FF"},
     nullptr,
     "order 0 row 1 channel 1: the volume column's panning slide takes the panning to 270"},
    {"EnvelopeLoopEndsOnTheLastPoint",
     {"C-4 01"},
     [](tools::XmModule& m) {
         m.instruments[0].volumeEnvelope = {{{0, 64}, {2, 32}, {4, 64}}, 0, 1, 2, 1 | 4, {}};
     },
     "instrument 1: the volume envelope's loop ends on its last point"},
    {"BreakOnLastOrder",
     {"C-4 01"},
     [](tools::XmModule& m) {
         m.restartPosition = 1;
         cell(m, 1, 2, 0) = {0, 0, 0, 0x0D, 0};
     },
     "order 1 row 2 channel 1: the break on the last order goes to order 0, not to the "
     "restart position 1",
     2},
    {"WaveformThree",
     {"C-4 01 .. E43 | --- .. .. 444"},
     nullptr,
     "order 0 row 1 channel 1: vibrato waveform 3 plays as a square"},
    {"AmigaClock",
     {"| C-4 01"},
     [](tools::XmModule& m) { m.linearFrequencies = false; },
     "order 0 row 1 channel 1: Amiga periods: every note plays 0.05 cent flat"},
    {"VibratoStepsOf4",
     {"| C-4 01 .. 442"},
     nullptr,
     "order 0 row 1 channel 1: vibrato depth 2 peaks at 12 period units, not 15"},
};

class OddityCheck : public ::testing::TestWithParam<OddityCase> {};

void PrintTo(const OddityCase& oddityCase, std::ostream* out) {
    *out << oddityCase.name;
}

TEST_P(OddityCheck, ReportsThePlaceItIsMetOnce) {
    const OddityCase& c = GetParam();
    tools::XmModule module = behaviourModule(c.channels, 4, c.patterns);
    if (c.adjust != nullptr) {
        c.adjust(module);
    }
    const std::vector<std::uint8_t> bytes = tools::writeXm(module);
    const std::vector<std::string> lines = tools::checkOddities(bytes, "case.xm");
    // What the line says, without its position, is found once and at that position.
    const std::string_view saying = c.line.substr(c.line.find(": ") + 2);
    int found = 0;
    for (const std::string& line : lines) {
        if (line.find(saying) != std::string::npos) {
            ++found;
            EXPECT_TRUE(line.starts_with(c.line)) << line;
        }
    }
    EXPECT_EQ(found, 1) << "expected once: " << c.line;
}

INSTANTIATE_TEST_SUITE_P(, OddityCheck, ::testing::ValuesIn(OddityCases),
                         ::testing::PrintToStringParamName());

TEST(OddityCheckOfAPlainTune, MeetsNoneAndAnUnreadableOneIsRefused) {
    const std::vector<std::uint8_t> plain = tools::writeXm(behaviourModule({"C-4 01 | ==="}));
    EXPECT_TRUE(tools::checkOddities(plain, "plain.xm").empty());
    const std::vector<std::uint8_t> cut(plain.begin(), plain.begin() + 100);
    EXPECT_THROW(tools::checkOddities(cut, "cut.xm"), std::runtime_error);
}

} // namespace
} // namespace omra::testing
