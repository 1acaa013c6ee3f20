#include "assets/pack_reader.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra {
namespace {

void appendEntry(Bytes& pack, const Bytes& payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    for (int shift = 0; shift < 32; shift += 8) {
        pack.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    pack.insert(pack.end(), payload.begin(), payload.end());
}

std::string rejectionOf(const Bytes& pack) {
    try {
        splitPackEntries(pack);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "accepted";
}

TEST(PackReader, AnEmptyPackHasNoEntries) {
    EXPECT_TRUE(splitPackEntries({}).empty());
}

TEST(PackReader, KeepsEveryEntryInOrderWithItsBytesUnchanged) {
    const Bytes first{0x00, 0x0D, 0x0A, 0xFF, 0x00};
    const Bytes second(70000, 0xAB);
    Bytes pack;
    appendEntry(pack, first);
    appendEntry(pack, {});
    appendEntry(pack, second);
    const std::vector<Bytes> entries = splitPackEntries(pack);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], first);
    EXPECT_TRUE(entries[1].empty());
    EXPECT_EQ(entries[2], second);
}

TEST(PackReader, ReadsAnEmptyLastEntryFromItsLengthFieldAlone) {
    Bytes pack;
    appendEntry(pack, {1, 2, 3});
    appendEntry(pack, {});
    const std::vector<Bytes> entries = splitPackEntries(pack);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1].empty());
}

TEST(PackReader, RejectsAPayloadRunningPastTheEnd) {
    Bytes pack;
    appendEntry(pack, {1, 2});
    appendEntry(pack, {1, 2, 3, 4});
    pack.pop_back();
    EXPECT_EQ(rejectionOf(pack), "ReadPack: entry 1's payload runs past the end of the pack");
}

TEST(PackReader, RejectsALengthThatWouldWrapTheOffset) {
    // A length near 2^32 must not wrap an offset computation back into the pack.
    const Bytes pack{0xFC, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4};
    EXPECT_EQ(rejectionOf(pack), "ReadPack: entry 0's payload runs past the end of the pack");
}

TEST(PackReader, RejectsALengthFieldCutShort) {
    Bytes pack;
    appendEntry(pack, {7});
    pack.insert(pack.end(), {0, 0, 0});
    EXPECT_EQ(rejectionOf(pack), "ReadPack: entry 1's length field runs past the end of the pack");
}

} // namespace
} // namespace omra
