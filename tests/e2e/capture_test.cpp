#include "assets/assets.h"
#include "common/files.h"
#include "core/frame_state.h"
#include "core/page_schedule.h"
#include "support/decoded_media.h"
#include "support/scene_under_test.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

// omra-capture run on short clips, and what it wrote decoded again with FFmpeg's libraries:
// frame counts and lengths, the sound against xmrender's, and frames against the headless
// renderer of the rendering tests.
namespace omra {
namespace {

constexpr std::size_t WavHeaderBytes = 44;

// Runs a tool in this test's environment, leak-check rule included.
int run(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::filesystem::path workFolder(const std::string& test) {
    const auto folder = std::filesystem::path(OMRA_CAPTURE_WORK_DIR) / test;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// xmrender's rendering of the intro's module, as 16-bit stereo samples.
std::vector<std::int16_t> xmrenderSound(const std::filesystem::path& folder, const char* seconds) {
    const std::filesystem::path wav = folder / "xmrender.wav";
    EXPECT_EQ(run(OMRA_XMRENDER, {"--seconds", seconds, OMRA_MODULE_FILE, wav.string()}), 0);
    const std::vector<std::uint8_t> bytes = tools::readFile(wav);
    std::vector<std::int16_t> samples((bytes.size() - WavHeaderBytes) / 2);
    std::memcpy(samples.data(), bytes.data() + WavHeaderBytes, samples.size() * 2);
    return samples;
}

class Capture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        assets = assetsFromEntries(splitPackEntries(tools::readFile(OMRA_PACK_FILE)));
        headless::setUpSceneOnce();
    }
    void SetUp() override { frameState.currentPage = &assets.pages.front(); }
};

// A window drawn by the headless renderer, as RGB rows top first like a decoded picture.
std::vector<std::uint8_t> rgbRows(const headless::Image& image) {
    std::vector<std::uint8_t> rgb;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const headless::Rgba& pixel = image.at(x, y);
            rgb.insert(rgb.end(), {pixel.r, pixel.g, pixel.b});
        }
    }
    return rgb;
}

// The facts of a decoded file that a capture's options decide, in one line.
std::string formatOf(const media::DecodedMedia& media) {
    return media.videoCodec + " " + media.pixelFormat + " " + std::to_string(media.width) + "x" +
           std::to_string(media.height) + ", " + std::to_string(media.videoFrames) + " frames; " +
           media.soundCodec + " " + std::to_string(media.sampleRate) + " Hz";
}

std::size_t differingBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::size_t differing = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        differing += a[i] != b[i];
    }
    return differing;
}

TEST_F(Capture, LosslessFileHoldsEveryFrameAsDrawnAndXmrendersSound) {
    const auto folder = workFolder("lossless");
    const auto video = folder / "clip.mkv";
    ASSERT_EQ(run(OMRA_CAPTURE, {"--fps", "25", "--seconds", "2", video.string()}), 0);
    constexpr std::uint64_t Compared = 26; // t = 1.04 s
    std::vector<std::uint8_t> captured;
    const media::DecodedMedia media =
        media::decodeMedia(video, [&](std::uint64_t index, const AVFrame& frame) {
            if (index == Compared) {
                captured = media::rgbOf(frame);
            }
        });
    EXPECT_EQ(formatOf(media), "ffv1 bgr0 960x540, 50 frames; flac 44100 Hz");
    EXPECT_NEAR(media.videoSeconds, 2.0, 0.001);
    EXPECT_TRUE(media.sound == xmrenderSound(folder, "2")) << media.sound.size() / 2 << " samples";
    const std::vector<std::uint8_t> drawn =
        rgbRows(headless::renderWindowAt(static_cast<float>(Compared / 25.0)));
    EXPECT_EQ(differingBytes(captured, drawn), 0u);
}

TEST_F(Capture, VideoForSitesHasEveryFrameEnlargedAndTheSameTwice) {
    const auto folder = workFolder("video");
    std::vector<std::uint64_t> hashes[2];
    std::vector<std::int16_t> sound[2];
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto video = folder / ("clip" + std::to_string(attempt) + ".mp4");
        ASSERT_EQ(run(OMRA_CAPTURE, {"--fps", "30", "--seconds", "1", "--scale", "2", "--start",
                                     "3", video.string()}),
                  0);
        const media::DecodedMedia media =
            media::decodeMedia(video, [&](std::uint64_t, const AVFrame& frame) {
                hashes[attempt].push_back(media::pictureHash(frame));
            });
        EXPECT_EQ(formatOf(media), "h264 yuv420p 1920x1080, 30 frames; aac 44100 Hz");
        // What video sites ask for: the index in front, High profile, AAC-LC, a closed group
        // of pictures every half second with two B-frames in a row.
        const std::vector<std::string> boxes = media::topLevelBoxes(video);
        const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
        EXPECT_TRUE(moov < std::find(boxes.begin(), boxes.end(), "mdat"))
            << ::testing::PrintToString(boxes);
        EXPECT_EQ(media.videoProfile + " " + media.soundProfile, "High LC");
        EXPECT_TRUE(media.groupsClosed);
        EXPECT_EQ(media.pictureTypes.find('I', 1), 15u) << media.pictureTypes;
        EXPECT_NE(media.pictureTypes.find("BB"), std::string::npos) << media.pictureTypes;
        EXPECT_EQ(media.pictureTypes.find("BBB"), std::string::npos) << media.pictureTypes;
        EXPECT_NEAR(media.videoSeconds, 1.0, 0.001);
        // AAC codes whole frames of 1024 samples.
        EXPECT_NEAR(static_cast<double>(media.sound.size() / 2), 44100.0, 1024.0);
        sound[attempt] = media.sound;
    }
    EXPECT_EQ(hashes[0], hashes[1]);
    EXPECT_TRUE(sound[0] == sound[1]);
}

// At 25 frames a second each page holds the screen for 451 frames, so 43.08 s (frame 1077) is
// 7 s into the third page, which is held in the middle.
TEST_F(Capture, StartLandsOnItsPageWithItsSound) {
    const auto folder = workFolder("start");
    const auto frames = folder / "frames";
    ASSERT_EQ(run(OMRA_CAPTURE, {"--fps", "25", "--start", "43.08", "--seconds", "0.04", "--frames",
                                 frames.string()}),
              0);
    EXPECT_TRUE(std::filesystem::exists(frames / "frame-000000.png"));
    EXPECT_FALSE(std::filesystem::exists(frames / "frame-000001.png"));
    std::vector<std::uint8_t> captured;
    media::decodeMedia(frames / "frame-000000.png", [&](std::uint64_t, const AVFrame& frame) {
        captured = media::rgbOf(frame);
    });

    const auto drawnWithPage = [](std::size_t page) {
        frameState.currentPage = &assets.pages.at(page);
        const PageGeometry geometry =
            pageGeometry(frameState.currentPage->width, frameState.viewportWidth);
        return rgbRows(headless::renderWindowAt(static_cast<float>(1077 / 25.0),
                                                static_cast<std::int32_t>(geometry.centre)));
    };
    EXPECT_EQ(differingBytes(captured, drawnWithPage(2)), 0u);
    EXPECT_GT(differingBytes(captured, drawnWithPage(1)), 1000u);

    // Frame 1077's sound: samples 1899828 up to 1901592 of the song.
    const std::vector<std::int16_t> song = xmrenderSound(folder, "43.12");
    const std::vector<std::uint8_t> wav = tools::readFile(frames / "sound.wav");
    ASSERT_EQ(wav.size(), WavHeaderBytes + (1901592 - 1899828) * 4);
    EXPECT_EQ(std::memcmp(wav.data() + WavHeaderBytes, song.data() + 2 * 1899828,
                          wav.size() - WavHeaderBytes),
              0);
}

} // namespace
} // namespace omra
