#include "render/scene_geometry.h"

#include <cmath>
#include <gtest/gtest.h>

namespace omra {
namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 attribute(int vertex, int offset) {
    const float* p = &spikedCubeVertices[static_cast<std::size_t>(vertex) * 9 + offset];
    return {p[0], p[1], p[2]};
}

bool same(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

TEST(SpikedCube, EachTriangleJoinsOneCubeEdgeToTheSpikeOnItsFace) {
    for (int triangle = 0; triangle < 24; ++triangle) {
        int spikes = 0, corners = 0;
        Vec3 spike{};
        for (int corner = 0; corner < 3; ++corner) {
            const Vec3 p = attribute(triangle * 3 + corner, 0);
            const float sum = std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z);
            if (sum == 1.0f) {
                ++spikes;
                spike = p;
            } else if (std::fabs(p.x) == 0.65f && std::fabs(p.y) == 0.65f &&
                       std::fabs(p.z) == 0.65f) {
                ++corners;
            }
        }
        ASSERT_EQ(spikes, 1) << triangle;
        ASSERT_EQ(corners, 2) << triangle;
        // Both corners lie on the face the spike rises from.
        for (int corner = 0; corner < 3; ++corner) {
            const Vec3 p = attribute(triangle * 3 + corner, 0);
            const float along = p.x * spike.x + p.y * spike.y + p.z * spike.z;
            EXPECT_TRUE(along == 1.0f || along == 0.65f) << triangle;
        }
    }
}

TEST(SpikedCube, CornersOfATriangleShareAnOutwardUnitNormalAndAColour) {
    int white = 0, purple = 0;
    for (int triangle = 0; triangle < 24; ++triangle) {
        const Vec3 normal = attribute(triangle * 3, 3);
        const Vec3 colour = attribute(triangle * 3, 6);
        Vec3 centre{0, 0, 0};
        for (int corner = 0; corner < 3; ++corner) {
            EXPECT_TRUE(same(attribute(triangle * 3 + corner, 3), normal)) << triangle;
            EXPECT_TRUE(same(attribute(triangle * 3 + corner, 6), colour)) << triangle;
            const Vec3 p = attribute(triangle * 3 + corner, 0);
            centre = {centre.x + p.x, centre.y + p.y, centre.z + p.z};
        }
        EXPECT_GT(normal.x * centre.x + normal.y * centre.y + normal.z * centre.z, 0) << triangle;
        const float length =
            std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
        EXPECT_NEAR(length, 1.0f, 0.01f) << triangle;
        white += same(colour, {1, 1, 1});
        purple += same(colour, {0.5f, 0, 0.5f});
    }
    EXPECT_EQ(white, 12);
    EXPECT_EQ(purple, 12);
}

TEST(Bars, EachIsOneHundredSixtiethOfTheWindowHighAtItsEdge) {
    // Strip vertices alternate between the bar's two edges.
    for (int bar = 0; bar < 2; ++bar) {
        const float a = barVertices[bar * 8 + 1];
        const float b = barVertices[bar * 8 + 3];
        EXPECT_NEAR(std::fabs(a - b), 2.0f / 160, 1e-6f) << bar;
        EXPECT_EQ(std::max(std::fabs(a), std::fabs(b)), 1.0f) << bar;
    }
}

TEST(LogoQuad, IsCentredByIntegerDivisionAndHangsA56thBelowTheTop) {
    for (const auto& [width, height] : {std::pair{960, 540}, std::pair{954, 515}}) {
        const auto quad = logoQuadVertices(width, height, 425, 81);
        const float left = std::min({quad[0], quad[4], quad[8], quad[12]});
        const float right = std::max({quad[0], quad[4], quad[8], quad[12]});
        const float top = std::max({quad[1], quad[5], quad[9], quad[13]});
        EXPECT_EQ(left, static_cast<float>((width - 425) / 2));
        EXPECT_EQ(right - left, 425);
        EXPECT_NEAR(top, height - height / 56.0f, 1e-3f);
    }
    // v = 0 is the image's top row, so the top vertices sample v = 0.
    const auto quad = logoQuadVertices(960, 540, 425, 81);
    EXPECT_EQ(quad[5], quad[1] + 81);
    EXPECT_EQ(quad[7], 0);
    EXPECT_EQ(quad[3], 1);
}

} // namespace
} // namespace omra
