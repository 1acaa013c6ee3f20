#include "player/memory_file.h"
#include "player/module_stream.h"
#include "records/file_callbacks.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <vector>

namespace omra {
namespace {

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();

// A memory file over 100 bytes counting 0, 1, 2, ... so that every byte tells where it came
// from.
class MemoryFileTest : public ::testing::Test {
protected:
    MemoryFileTest() : bytes(100) {
        std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
        setMemoryFileBytes(bytes);
        handle = memoryFileOpen(nullptr);
    }
    ~MemoryFileTest() override { memoryFileClose(handle); }

    MemoryFile& file() { return *static_cast<MemoryFile*>(handle); }
    void seekTo(std::int32_t position) { memoryFileSeek(handle, position, SeekFromStart); }

    std::vector<std::uint8_t> bytes;
    void* handle = nullptr;
};

TEST_F(MemoryFileTest, OpensAtTheStartOfTheServedBytesWhateverTheName) {
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(file().size, 100);
    EXPECT_EQ(file().position, 0);
    EXPECT_EQ(file().base, bytes.data());

    const char otherName[] = "other";
    void* named = memoryFileOpen(otherName);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(static_cast<MemoryFile*>(named)->base, bytes.data());
    EXPECT_EQ(static_cast<MemoryFile*>(named)->size, 100);
    memoryFileClose(named);
}

TEST_F(MemoryFileTest, ReadCopiesTheBytesAtThePositionAndAdvances) {
    seekTo(30);
    std::array<std::uint8_t, 5> destination{};
    EXPECT_EQ(memoryFileRead(destination.data(), 5, handle), 5);
    EXPECT_EQ(destination, (std::array<std::uint8_t, 5>{30, 31, 32, 33, 34}));
    EXPECT_EQ(memoryFileTell(handle), 35);
}

TEST_F(MemoryFileTest, ReadPastTheEndDeliversWhatIsLeftAndLeavesTheRestUntouched) {
    seekTo(96);
    std::array<std::uint8_t, 10> destination;
    destination.fill(0xEE);
    EXPECT_EQ(memoryFileRead(destination.data(), 10, handle), 4);
    EXPECT_EQ(memoryFileTell(handle), 100);
    EXPECT_EQ(destination,
              (std::array<std::uint8_t, 10>{96, 97, 98, 99, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

    destination.fill(0xEE);
    EXPECT_EQ(memoryFileRead(destination.data(), 10, handle), 0);
    EXPECT_EQ(memoryFileTell(handle), 100);
    EXPECT_EQ(destination[0], 0xEE);
}

TEST_F(MemoryFileTest, ReadExactlyToTheEndDeliversEverything) {
    seekTo(40);
    std::vector<std::uint8_t> destination(60);
    EXPECT_EQ(memoryFileRead(destination.data(), 60, handle), 60);
    EXPECT_EQ(memoryFileTell(handle), 100);
    EXPECT_EQ(destination.front(), 40);
    EXPECT_EQ(destination.back(), 99);
}

TEST_F(MemoryFileTest, ReadOfAHugeCountDoesNotWrapPastTheEnd) {
    seekTo(50);
    std::vector<std::uint8_t> destination(100, 0xEE);
    EXPECT_EQ(memoryFileRead(destination.data(), Int32Max, handle), 50);
    EXPECT_EQ(memoryFileTell(handle), 100);
    EXPECT_EQ(destination[49], 99);
    EXPECT_EQ(destination[50], 0xEE);
}

TEST_F(MemoryFileTest, ReadOfANegativeOrZeroCountDeliversNothing) {
    seekTo(10);
    std::array<std::uint8_t, 4> destination;
    destination.fill(0xEE);
    EXPECT_EQ(memoryFileRead(destination.data(), 0, handle), 0);
    EXPECT_EQ(memoryFileRead(destination.data(), -3, handle), 0);
    EXPECT_EQ(memoryFileTell(handle), 10);
    EXPECT_EQ(destination[0], 0xEE);
}

TEST_F(MemoryFileTest, SeekFromEachOriginLandsWhereItSays) {
    memoryFileSeek(handle, 42, SeekFromStart);
    EXPECT_EQ(memoryFileTell(handle), 42);
    memoryFileSeek(handle, 8, SeekFromCurrent);
    EXPECT_EQ(memoryFileTell(handle), 50);
    memoryFileSeek(handle, -20, SeekFromCurrent);
    EXPECT_EQ(memoryFileTell(handle), 30);
    memoryFileSeek(handle, -7, SeekFromEnd);
    EXPECT_EQ(memoryFileTell(handle), 93);
    memoryFileSeek(handle, 0, SeekFromEnd);
    EXPECT_EQ(memoryFileTell(handle), 100);
}

TEST_F(MemoryFileTest, SeekBeyondTheEndStopsAtTheEnd) {
    memoryFileSeek(handle, 5, SeekFromEnd);
    EXPECT_EQ(memoryFileTell(handle), 100);
    seekTo(90);
    memoryFileSeek(handle, 23, SeekFromCurrent);
    EXPECT_EQ(memoryFileTell(handle), 100);
    memoryFileSeek(handle, 1000, SeekFromStart);
    EXPECT_EQ(memoryFileTell(handle), 100);
    seekTo(90);
    memoryFileSeek(handle, Int32Max, SeekFromCurrent);
    EXPECT_EQ(memoryFileTell(handle), 100);
    memoryFileSeek(handle, Int32Max, SeekFromEnd);
    EXPECT_EQ(memoryFileTell(handle), 100);
}

TEST_F(MemoryFileTest, SeekBeforeTheStartStopsAtTheStart) {
    memoryFileSeek(handle, -5, SeekFromStart);
    EXPECT_EQ(memoryFileTell(handle), 0);
    seekTo(10);
    memoryFileSeek(handle, -11, SeekFromCurrent);
    EXPECT_EQ(memoryFileTell(handle), 0);
    seekTo(10);
    memoryFileSeek(handle, Int32Min, SeekFromCurrent);
    EXPECT_EQ(memoryFileTell(handle), 0);
    memoryFileSeek(handle, -101, SeekFromEnd);
    EXPECT_EQ(memoryFileTell(handle), 0);

    std::array<std::uint8_t, 1> destination{};
    EXPECT_EQ(memoryFileRead(destination.data(), 1, handle), 1);
    EXPECT_EQ(destination[0], 0);
}

TEST_F(MemoryFileTest, SeekWithAnUnknownOriginLeavesThePosition) {
    seekTo(37);
    memoryFileSeek(handle, 5, 3);
    EXPECT_EQ(memoryFileTell(handle), 37);
    memoryFileSeek(handle, -5, 255);
    EXPECT_EQ(memoryFileTell(handle), 37);
}

TEST_F(MemoryFileTest, OpenFilesKeepTheirOwnPositionAndBytes) {
    void* second = memoryFileOpen(nullptr);
    ASSERT_NE(second, nullptr);
    seekTo(70);
    EXPECT_EQ(memoryFileTell(second), 0);

    const std::vector<std::uint8_t> other{7, 8, 9};
    setMemoryFileBytes(other);
    void* third = memoryFileOpen(nullptr);
    ASSERT_NE(third, nullptr);
    std::array<std::uint8_t, 4> destination{};
    EXPECT_EQ(memoryFileRead(destination.data(), 4, third), 3);
    EXPECT_EQ(destination, (std::array<std::uint8_t, 4>{7, 8, 9, 0}));
    // A file opened earlier still serves the bytes it was opened over.
    EXPECT_EQ(memoryFileRead(destination.data(), 1, handle), 1);
    EXPECT_EQ(destination[0], 70);

    memoryFileClose(third);
    memoryFileClose(second);
}

TEST(MemoryFile, OverNoBytesEveryReadDeliversNothing) {
    setMemoryFileBytes({});
    void* handle = memoryFileOpen(nullptr);
    ASSERT_NE(handle, nullptr);
    std::array<std::uint8_t, 2> destination{};
    EXPECT_EQ(memoryFileRead(destination.data(), 2, handle), 0);
    memoryFileSeek(handle, 3, SeekFromStart);
    EXPECT_EQ(memoryFileTell(handle), 0);
    memoryFileClose(handle);
}

// Callbacks that record what the stream hands them.
struct Recorded {
    void* closedHandle = nullptr;
    int closeCount = 0;
    void* readDestination = nullptr;
    std::int32_t readCount = 0;
    void* readHandle = nullptr;
    void* seekHandle = nullptr;
    std::int32_t seekOffset = 0;
    std::uint8_t seekOrigin = 0;
    void* tellHandle = nullptr;
};
Recorded recorded;

FileCallbacks recordingCallbacks() {
    FileCallbacks callbacks;
    callbacks.open = [](const void*) -> void* { return nullptr; };
    callbacks.close = [](void* handle) {
        recorded.closedHandle = handle;
        ++recorded.closeCount;
    };
    callbacks.read = [](void* destination, std::int32_t count, void* handle) -> std::int32_t {
        recorded.readDestination = destination;
        recorded.readCount = count;
        recorded.readHandle = handle;
        return count - 1;
    };
    callbacks.seek = [](void* handle, std::int32_t offset, std::uint8_t origin) {
        recorded.seekHandle = handle;
        recorded.seekOffset = offset;
        recorded.seekOrigin = origin;
    };
    callbacks.tell = [](void* handle) -> std::int32_t {
        recorded.tellHandle = handle;
        return 1234;
    };
    return callbacks;
}

TEST(ModuleStream, PassesItsHandleAndArgumentsToTheCallbacks) {
    recorded = {};
    const FileCallbacks callbacks = recordingCallbacks();
    int handleTarget = 0;
    void* const handle = &handleTarget;
    std::array<std::uint8_t, 8> destination{};
    {
        ModuleStream stream(callbacks, handle);
        EXPECT_EQ(stream.read(destination.data(), 8), 7);
        EXPECT_EQ(recorded.readDestination, destination.data());
        EXPECT_EQ(recorded.readCount, 8);
        EXPECT_EQ(recorded.readHandle, handle);

        stream.seek(-12, SeekFromEnd);
        EXPECT_EQ(recorded.seekHandle, handle);
        EXPECT_EQ(recorded.seekOffset, -12);
        EXPECT_EQ(recorded.seekOrigin, SeekFromEnd);

        EXPECT_EQ(stream.tell(), 1234);
        EXPECT_EQ(recorded.tellHandle, handle);
        EXPECT_EQ(recorded.closeCount, 0);
    }
    EXPECT_EQ(recorded.closeCount, 1);
    EXPECT_EQ(recorded.closedHandle, handle);
}

TEST(ModuleStream, OverAMemoryFileReadsSeeksAndClosesIt) {
    const std::vector<std::uint8_t> bytes{10, 11, 12, 13, 14, 15};
    setMemoryFileBytes(bytes);
    const FileCallbacks callbacks{memoryFileOpen, memoryFileClose, memoryFileRead, memoryFileSeek,
                                  memoryFileTell};
    ModuleStream stream(callbacks, memoryFileOpen(nullptr));
    stream.seek(2, SeekFromStart);
    std::array<std::uint8_t, 3> destination{};
    EXPECT_EQ(stream.read(destination.data(), 3), 3);
    EXPECT_EQ(destination, (std::array<std::uint8_t, 3>{12, 13, 14}));
    stream.seek(-4, SeekFromCurrent);
    EXPECT_EQ(stream.tell(), 1);
    // The file itself is released by the stream; LeakSanitizer reports it otherwise.
}

} // namespace
} // namespace omra
