#include "render/star_field.h"

#include <gtest/gtest.h>

namespace omra {
namespace {

TEST(StarList, Holds256StarsWithinTheirRanges) {
    const std::vector<Star> stars = generateStars();
    ASSERT_EQ(stars.size(), 256u);
    for (const Star& star : stars) {
        EXPECT_GE(star.x, -1.2f);
        EXPECT_LE(star.x, 1.2f);
        EXPECT_GE(star.y, -1.0f);
        EXPECT_LE(star.y, 1.0f);
        EXPECT_GE(star.z, 0.3f);
        EXPECT_LE(star.z, 2.0f);
    }
}

TEST(StarList, IsTheSameOnEveryStartAndBeginsWithTheGeneratorsFirstOutputAsX) {
    const std::vector<Star> first = generateStars();
    const std::vector<Star> second = generateStars();
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].x, second[i].x);
        EXPECT_EQ(first[i].y, second[i].y);
        EXPECT_EQ(first[i].z, second[i].z);
    }
    // The standard default-seeded Mersenne Twister starts with 3499211612.
    EXPECT_FLOAT_EQ(first[0].x, 3499211612.0f / 4294967296.0f * 2.4f - 1.2f);
}

} // namespace
} // namespace omra
