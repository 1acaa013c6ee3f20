#include "xm/xm_check.h"
#include "xm/xm_writer.h"

#include <gtest/gtest.h>

namespace omra::tools {
namespace {

XmModule smallModule() {
    XmModule module;
    module.channels = 2;
    module.orders = {0};
    XmPattern pattern = emptyPattern(2, 2);
    pattern.at(0, 0, 2) = XmCell{.note = 49, .instrument = 1};
    module.patterns = {pattern};
    XmSample sample;
    sample.frames = {1, 2, 3, 4};
    sample.sixteenBit = true;
    XmInstrument instrument;
    instrument.samples = {sample};
    module.instruments = {instrument};
    return module;
}

std::string problemOf(const std::vector<std::uint8_t>& bytes) {
    return xmModuleProblem(bytes).value_or("none");
}

TEST(XmCheck, AcceptsAWholeModuleAndOneWithBytesAfterIt) {
    std::vector<std::uint8_t> bytes = writeXm(smallModule());
    EXPECT_EQ(problemOf(bytes), "none");
    bytes.push_back(0);
    EXPECT_EQ(problemOf(bytes), "none");
}

TEST(XmCheck, NamesThePartACutModuleEndsIn) {
    const std::vector<std::uint8_t> whole = writeXm(smallModule());
    // 336-byte header, a 9-byte pattern header, a 3-byte packed cell and three 1-byte empty
    // ones, a 263-byte instrument header, one 40-byte sample header and 8 data bytes.
    const std::size_t patternEnd = 336 + 9 + 3 + 3;
    ASSERT_EQ(whole.size(), patternEnd + 263 + 40 + 8);
    const auto cut = [&](std::size_t size) {
        return problemOf({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)});
    };
    EXPECT_EQ(cut(0), "empty file");
    EXPECT_EQ(cut(16), "not an XM module (it must begin with \"Extended Module: \")");
    EXPECT_EQ(cut(17), "truncated: it ends inside the module header (the module needs at least "
                       "336 bytes, the file has 17)");
    EXPECT_EQ(cut(340), "truncated: it ends inside pattern 0 (the module needs at least 345 "
                        "bytes, the file has 340)");
    EXPECT_EQ(cut(350), "truncated: it ends inside pattern 0 (the module needs at least 351 "
                        "bytes, the file has 350)");
    EXPECT_EQ(cut(patternEnd + 100), "truncated: it ends inside instrument 1 (the module needs "
                                     "at least " +
                                         std::to_string(patternEnd + 241) +
                                         " bytes, the file has " +
                                         std::to_string(patternEnd + 100) + ")");
    EXPECT_EQ(cut(whole.size() - 1), "truncated: it ends inside the sample data of instrument 1 "
                                     "(the module needs at least " +
                                         std::to_string(whole.size()) + " bytes, the file has " +
                                         std::to_string(whole.size() - 1) + ")");
    for (std::size_t size = 17; size < whole.size(); ++size) {
        EXPECT_TRUE(cut(size).starts_with("truncated: ")) << size << " bytes: " << cut(size);
    }

    // Three cell-less 9-byte patterns cut inside the second: the loader reads only the pattern
    // headers that fit, and the first one left out is where the file ends.
    XmModule bare;
    bare.patterns = {XmPattern{}, XmPattern{}, XmPattern{}};
    std::vector<std::uint8_t> headers = writeXm(bare);
    headers.resize(336 + 9 + 4);
    EXPECT_EQ(problemOf(headers), "truncated: it ends inside pattern 1 (the module needs at least "
                                  "354 bytes, the file has 349)");
}

TEST(XmCheck, RefusesWhatThePlayerRefuses) {
    XmModule wide = smallModule();
    wide.channels = 33;
    wide.patterns = {emptyPattern(2, 33)};
    EXPECT_EQ(problemOf(writeXm(wide)), "33 channels; the player plays at most 32");

    XmModule crowded = smallModule();
    crowded.instruments.push_back(XmInstrument{});
    crowded.instruments.back().samples.resize(17, crowded.instruments[0].samples[0]);
    EXPECT_EQ(problemOf(writeXm(crowded)),
              "instrument 2 has 17 samples; the player takes at most 16");

    XmModule tall = smallModule();
    tall.patterns.push_back(emptyPattern(257, 2));
    EXPECT_EQ(problemOf(writeXm(tall)), "pattern 1 has 257 rows; the player takes at most 256");
    tall.patterns.back() = emptyPattern(256, 2);
    EXPECT_EQ(problemOf(writeXm(tall)), "none");

    std::vector<std::uint8_t> notXm = writeXm(smallModule());
    notXm[16] = '-';
    EXPECT_EQ(problemOf(notXm), "not an XM module (it must begin with \"Extended Module: \")");
}

TEST(XmCheck, FollowsTheHeaderSizesNotTheWritersLayout) {
    XmModule padded = smallModule();
    padded.headerPadding = 20;
    padded.instruments[0].headerPadding = 30;
    EXPECT_EQ(problemOf(writeXm(padded)), "none");

    // An odd byte length of 16-bit data leaves its last byte unread.
    XmModule odd = smallModule();
    odd.instruments[0].samples[0].declaredByteLength = 7;
    std::vector<std::uint8_t> bytes = writeXm(odd);
    bytes.pop_back();
    EXPECT_EQ(problemOf(bytes), "none");
}

} // namespace
} // namespace omra::tools
