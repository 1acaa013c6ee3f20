#pragma once

#include "unit/sequencer/sequencer_harness.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string_view>
#include <vector>

// Playback behaviours as rows: a small module and the ticks it must trace.
//
// The module is behaviourModule's: pattern 0 written in the tune's notation, one phrase a
// channel, and what `adjust` changes. The expected ticks are lines of the trace
// (sequencer/trace.h, what `xmrender --trace` writes) cut down to the fields the case is about,
// each led by the tick's number counted from the start, or by a range of ticks, "6-8", whose
// fields hold one value for every tick or a list of one value a tick: the song's fields first,
// then "channel=N" and that channel's fields, for each channel checked.
//
//   6-8 row=1 tick=0,1,2 channel=0 period=4480+0 voice=32 channel=1 gain=47/47,23/23,23/23
//
// A failure names the tick, the channel and the field, beside the whole traced line.
namespace omra::testing {

struct TraceCase {
    std::string_view name;
    std::vector<std::string_view> channels;     // pattern 0, one phrase a channel
    int rows = 4;                               // of every pattern
    int patterns = 1;                           // played in order
    void (*adjust)(tools::XmModule&) = nullptr; // what the notation does not write
    std::string_view ticks;
};

// Plays the case's module and compares every expected tick with the trace.
void expectTicks(const TraceCase& traceCase);

// A case is shown, and named in its table, by its name.
void PrintTo(const TraceCase& traceCase, std::ostream* out);

} // namespace omra::testing

// The table `cases` as the tests Suite.TickByTick/NAME, one for each case.
#define OMRA_TRACE_CASE_TABLE(Suite, cases)                                                        \
    class Suite : public ::testing::TestWithParam<::omra::testing::TraceCase> {};                  \
    TEST_P(Suite, TickByTick) {                                                                    \
        ::omra::testing::expectTicks(GetParam());                                                  \
    }                                                                                              \
    INSTANTIATE_TEST_SUITE_P(, Suite, ::testing::ValuesIn(cases),                                  \
                             ::testing::PrintToStringParamName())
