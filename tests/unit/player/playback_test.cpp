#include "fakes/fake_wave_device.h"
#include "player/audio_thread.h"
#include "player/memory_file.h"
#include "player/mixer.h"
#include "player/playback.h"
#include "player/player.h"
#include "records/tempo.h"
#include "xm/xm_writer.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace omra {
namespace {

// Records which block each tick was mixed into. The audio thread writes the list; the test
// reads it only after stopPlayback has joined the thread, and waits on the atomic count.
std::vector<std::int32_t> ticksInBlock;
std::atomic<int> tickCount{0};
void recordTick(Song& /*song*/) {
    ticksInBlock.push_back(player.writeBlock);
    tickCount.fetch_add(1);
}

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        tools::XmModule module;
        module.channels = 2;
        module.bpm = 125;
        module.orders = {0};
        module.patterns = {tools::emptyPattern(64, 2)};
        moduleBytes = tools::writeXm(module);
        setWaveDevice(&device);
        song = loadSongFromMemory(moduleBytes);
        ASSERT_NE(song, nullptr);
        ticksInBlock.clear();
        tickCount = 0;
    }

    void TearDown() override {
        freeSong(song);
        setWaveDevice(nullptr);
    }

    // Waits, for a bounded time, until the audio thread has run `ticks` ticks.
    static bool waitForTicks(int ticks) {
        for (int i = 0; i < 5000 && tickCount.load() < ticks; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return tickCount.load() >= ticks;
    }

    std::vector<std::uint8_t> moduleBytes;
    FakeWaveDevice device;
    Song* song = nullptr;
};

TEST(Tempo, TicksLast110250OverBpmFrames) {
    Song song;
    for (std::int32_t bpm = 1; bpm <= 255; ++bpm) {
        setTempo(song, bpm);
        EXPECT_EQ(song.framesPerTick, 110250 / bpm) << "at " << bpm << " BPM";
        EXPECT_EQ(song.bpm, bpm);
    }
    setTempo(song, 125);
    EXPECT_EQ(song.framesPerTick, 882);
    setTempo(song, 32);
    EXPECT_EQ(song.framesPerTick, 3445);
}

TEST(PlayerApi, RefusesToStopOrFreeNoSong) {
    EXPECT_FALSE(stopPlayback(nullptr));
    EXPECT_FALSE(freeSong(nullptr));
    EXPECT_FALSE(startPlayback(nullptr));
}

TEST_F(Playback, MissingCallbacksClearAllFiveAndPlaybackRefusesToStart) {
    setFileCallbacks(memoryFileOpen, memoryFileClose, nullptr, memoryFileSeek, memoryFileTell);
    EXPECT_FALSE(player.fileCallbacks.complete());
    EXPECT_EQ(player.fileCallbacks.open, nullptr);
    EXPECT_FALSE(startPlayback(song));
    LoadReport refusal;
    EXPECT_EQ(loadSong(moduleBytes.data(), &refusal), nullptr);
    EXPECT_EQ(refusal.reason, RefusalReason::NoStream);
}

TEST_F(Playback, StartsWithTheWholeRingMixedAndTheDeviceLooping) {
    song->tickHandler = recordTick;
    ASSERT_TRUE(startPlayback(song));
    EXPECT_EQ(player.writeBlock, 0);
    EXPECT_EQ(player.currentSong, song);
    EXPECT_EQ(device.ringBytes, 353600u);
    EXPECT_EQ(device.ring, player.pcmRing.get());
    // 100 blocks of 884 frames hold the ticks at 0, 882, ..., 88200.
    EXPECT_EQ(ticksInBlock.size(), 101u);
    const std::vector<std::string> expected{"reset", "close", "open", "prepare", "start"};
    EXPECT_EQ(device.calls, expected);
    for (std::int32_t i = 0; i < VoiceCount; ++i) {
        EXPECT_EQ(player.voices[i].index, i);
        EXPECT_EQ(player.voices[i].step, 1u);
        EXPECT_EQ(player.voices[i].sample, nullptr);
    }
}

TEST_F(Playback, ADeviceThatDoesNotOpenLeavesTheIntroSilent) {
    device.opens = false;
    EXPECT_FALSE(startPlayback(song));
    EXPECT_EQ(player.pcmRing, nullptr);
    EXPECT_TRUE(audioFlags.threadEnded);
    EXPECT_TRUE(stopPlayback(song));
}

TEST_F(Playback, StartingAgainRestartsFromTheBeginning) {
    // The pre-fill plays the song's first two seconds, so a fresh start ends at one place.
    ASSERT_TRUE(startPlayback(song));
    const std::int32_t orderAfterStart = song->orderPosition;
    const std::int32_t rowAfterStart = song->row;
    const std::int32_t tickAfterStart = song->tick;
    song->orderPosition = 5;
    song->row = 17;
    song->globalVolume = 3;
    device.calls.clear();
    ASSERT_TRUE(startPlayback(song));
    EXPECT_EQ(song->orderPosition, orderAfterStart);
    EXPECT_EQ(song->row, rowAfterStart);
    EXPECT_EQ(song->tick, tickAfterStart);
    EXPECT_EQ(song->globalVolume, 64);
    const std::vector<std::string> expected{"reset", "unprepare", "close",
                                            "open",  "prepare",   "start"};
    EXPECT_EQ(device.calls, expected);
}

TEST_F(Playback, StoppingWhenStoppedChangesNothing) {
    EXPECT_TRUE(stopPlayback(song));
    EXPECT_TRUE(stopPlayback(song));
    EXPECT_EQ(player.currentSong, nullptr);
    EXPECT_EQ(player.writeBlock, 0);
}

TEST_F(Playback, TheAudioThreadRefillsOnlyTheBlocksTheDeviceHasLeft) {
    song->tickHandler = recordTick;
    ASSERT_TRUE(startPlayback(song));
    const int prefillTicks = tickCount.load();
    device.played = 3535; // still inside block 0
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(tickCount.load(), prefillTicks);

    // Frame 1775 is in block 2. At 882 frames per tick, blocks 0 and 1 of the second pass
    // through the ring hold one tick each.
    device.played = 7100;
    EXPECT_TRUE(waitForTicks(prefillTicks + 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stopPlayback(song);
    const std::vector<std::int32_t> refill(ticksInBlock.begin() + prefillTicks, ticksInBlock.end());
    EXPECT_EQ(refill, (std::vector<std::int32_t>{0, 1}));
}

// A thousand lives of a song: loaded, started, played while the device moves, stopped while
// the audio thread may be mixing, and released. ThreadSanitizer runs this too.
TEST_F(Playback, LoadsStartsStopsAndFreesASongAThousandTimesWhileTheDeviceMoves) {
    for (int cycle = 0; cycle < 1000; ++cycle) {
        Song* cycled = loadSong(moduleBytes.data());
        ASSERT_NE(cycled, nullptr);
        device.played = 0;
        ASSERT_TRUE(startPlayback(cycled));
        device.played = static_cast<std::uint32_t>(cycle % 7) * 3536u;
        if (cycle % 4 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(cycle % 3));
        }
        if (cycle % 2 == 0) {
            ASSERT_TRUE(stopPlayback(cycled));
            EXPECT_EQ(player.writeBlock, 0);
            EXPECT_TRUE(audioFlags.threadEnded);
        }
        // Freeing a playing song stops it first.
        ASSERT_TRUE(freeSong(cycled));
        EXPECT_EQ(player.currentSong, nullptr);
        EXPECT_EQ(player.pcmRing, nullptr);
        EXPECT_TRUE(audioFlags.threadEnded);
    }
}

TEST(PlayedBytesClock, RunsOnAcrossTheCounterWrap) {
    PlayedBytesClock clock;
    EXPECT_EQ(clock.advance(0xFFFFF000u), 0xFFFFF000u);
    EXPECT_EQ(clock.advance(0x00000200u), 0x100000200u);
    EXPECT_EQ(clock.advance(0x00000200u), 0x100000200u);
    EXPECT_EQ(playBlock(0x100000200u), static_cast<std::int32_t>(0x100000200u / 4 % 88400 / 884));
}

// The device's counter moves in steps of every size the thread may see between two polls, from
// a byte to 99 blocks, across 2^32 bytes: after every poll the thread has mixed exactly the
// blocks the device left, up to the one it plays, and the 64-bit position it keeps equals the
// bytes played, so it never goes backwards.
TEST_F(Playback, PlaysThroughTheCounterWrapWithoutAGapOrARepeat) {
    ASSERT_TRUE(createRings(player));
    resetPlayback(player, *song);
    PlayedBytesClock clock;
    constexpr std::uint64_t BlockBytes = BlockFrames * BytesPerFrame;
    constexpr std::uint64_t Wrap = std::uint64_t{1} << 32;
    const std::uint64_t steps[] = {1,
                                   BlockBytes - 1,
                                   BlockBytes,
                                   BlockBytes + 1,
                                   3 * BlockBytes + 7,
                                   99 * BlockBytes,
                                   40 * BlockBytes + 2,
                                   2};
    // Jump close to the wrap between two polls, as if the thread had kept up for hours.
    std::uint64_t played = Wrap - 500 * BlockBytes - 123;
    clock.advance(static_cast<std::uint32_t>(played));
    player.writeBlock = playBlock(played);
    std::uint64_t blocksMixed = 0;
    const std::uint64_t firstBlock = played / BlockBytes;
    for (std::size_t step = 0; played < Wrap + 500 * BlockBytes; ++step) {
        const std::uint64_t before = played / BlockBytes;
        played += steps[step % std::size(steps)];
        device.played = static_cast<std::uint32_t>(played);
        const std::int32_t writeBefore = player.writeBlock;
        serviceWaveDevice(player, device, clock);
        ASSERT_EQ(clock.advance(device.played), played) << "at byte " << played;
        ASSERT_EQ(player.writeBlock, playBlock(played)) << "at byte " << played;
        const std::int32_t mixed = (player.writeBlock - writeBefore + RingBlocks) % RingBlocks;
        ASSERT_EQ(static_cast<std::uint64_t>(mixed), played / BlockBytes - before)
            << "at byte " << played;
        blocksMixed += static_cast<std::uint64_t>(mixed);
    }
    EXPECT_EQ(blocksMixed, played / BlockBytes - firstBlock);
    player.currentSong = nullptr;
}

// The same through the audio thread: the device jumps to a ring's length short of 2^32 bytes and
// then crosses the wrap in uneven steps. Every tick lands in the block its frame belongs to, so
// no block was skipped or mixed twice.
TEST_F(Playback, TheAudioThreadPlaysOnAcrossTheCounterWrap) {
    song->tickHandler = recordTick;
    ASSERT_TRUE(startPlayback(song));
    constexpr std::uint64_t BlockBytes = BlockFrames * BytesPerFrame;
    constexpr std::uint64_t RingBytes = RingFrames * BytesPerFrame;
    constexpr std::uint64_t Wrap = std::uint64_t{1} << 32;
    // The ring's start: the thread has nothing to mix on arriving there.
    const std::uint64_t start = (Wrap / RingBytes) * RingBytes;
    const auto ticksAfter = [&](std::uint64_t played) {
        const std::uint64_t frames = (RingBlocks + (played - start) / BlockBytes) * BlockFrames;
        return static_cast<int>((frames - 1) / song->framesPerTick + 1);
    };
    device.played = static_cast<std::uint32_t>(start);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(tickCount.load(), ticksAfter(start));
    std::uint64_t played = start;
    for (const std::uint64_t step :
         {BlockBytes / 2, 30 * BlockBytes, 9 * BlockBytes + 3, BlockBytes - 3, 97 * BlockBytes,
          55 * BlockBytes + 1, BlockBytes, 60 * BlockBytes}) {
        played += step;
        device.played = static_cast<std::uint32_t>(played);
        ASSERT_TRUE(waitForTicks(ticksAfter(played))) << "at byte " << played;
    }
    ASSERT_GT(played, Wrap + RingBytes);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(stopPlayback(song));
    ASSERT_EQ(tickCount.load(), ticksAfter(played));
    for (std::size_t tick = 0; tick < ticksInBlock.size(); ++tick) {
        const std::uint64_t frame = tick * static_cast<std::uint64_t>(song->framesPerTick);
        ASSERT_EQ(ticksInBlock[tick], static_cast<std::int32_t>(frame / BlockFrames % RingBlocks))
            << "tick " << tick;
    }
}

} // namespace
} // namespace omra
