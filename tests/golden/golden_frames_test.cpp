#include "assets/assets.h"
#include "common/files.h"
#include "support/png_files.h"
#include "support/scene_under_test.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// Whole frames of the intro with its real asset pack, compared with stored pictures.
//
// The pictures depend on the Mesa version that renders them. To regenerate them after a
// deliberate change of the picture or of Mesa:
//     OMRA_UPDATE_GOLDEN_FRAMES=1 build/debug/tests/omra_golden_frames
// and look at the new tests/golden/*.png before committing them.
namespace omra {
namespace {

// Channels may differ by a few steps where llvmpipe rounds differently; more than a few
// thousandths of the pixels differing by more is a changed picture.
constexpr int ChannelTolerance = 8;
constexpr double DifferingPixelsAllowed = 0.002;

class GoldenFrame : public ::testing::TestWithParam<float> {
protected:
    static void SetUpTestSuite() {
        assets = assetsFromEntries(splitPackEntries(tools::readFile(OMRA_PACK_FILE)));
        headless::setUpSceneOnce();
    }
};

std::string nameFor(float t) {
    return "frame_at_" + std::to_string(static_cast<int>(t * 1000)) + "ms";
}

TEST_P(GoldenFrame, MatchesTheStoredPicture) {
    const float t = GetParam();
    const headless::Image frame = headless::renderWindowAt(t);
    const std::filesystem::path stored =
        std::filesystem::path(OMRA_GOLDEN_DIR) / (nameFor(t) + ".png");
    if (std::getenv("OMRA_UPDATE_GOLDEN_FRAMES") != nullptr) {
        headless::writePng(stored, frame);
        GTEST_SKIP() << "wrote " << stored;
    }
    const std::optional<headless::Image> expected = headless::readPng(stored);
    ASSERT_TRUE(expected) << stored << " is missing; see this file's comment to make it";
    ASSERT_EQ(expected->width, frame.width);
    ASSERT_EQ(expected->height, frame.height);
    std::size_t differing = 0;
    int worst = 0, worstX = 0, worstY = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const headless::Rgba& a = frame.at(x, y);
            const headless::Rgba& b = expected->at(x, y);
            const int difference =
                std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
            differing += difference > ChannelTolerance;
            if (difference > worst) {
                worst = difference;
                worstX = x;
                worstY = y;
            }
        }
    }
    const double share = static_cast<double>(differing) / frame.pixels.size();
    if (share > DifferingPixelsAllowed) {
        const auto actual = std::filesystem::temp_directory_path() / (nameFor(t) + "-actual.png");
        headless::writePng(actual, frame);
        ADD_FAILURE() << differing << " pixels differ by more than " << ChannelTolerance
                      << "; the worst by " << worst << " at window " << worstX << "," << worstY
                      << ". This frame: " << actual;
    }
}

// The start (scroller entering, objects low, the first page off-screen right), a bounce at its
// top with the scroller moving and the page's edge sliding in, and a later moment with the ring
// turned on, the scroller well into the window and the page held in the centre.
INSTANTIATE_TEST_SUITE_P(SceneTimes, GoldenFrame, ::testing::Values(0.0f, 1.047f, 6.5f),
                         [](const auto& info) { return nameFor(info.param); });

} // namespace
} // namespace omra
