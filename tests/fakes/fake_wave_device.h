#pragma once

#include "player/wave_device.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace omra {

// A wave device whose played-bytes counter the test moves by hand. It records the calls the
// player makes, so tests can check their order.
class FakeWaveDevice : public WaveDevice {
public:
    bool open() override {
        calls.push_back("open");
        isOpen = opens;
        return opens;
    }
    void prepare(const std::int16_t* newRing, std::uint32_t bytes) override {
        calls.push_back("prepare");
        ring = newRing;
        ringBytes = bytes;
    }
    void start() override { calls.push_back("start"); }
    std::uint32_t playedBytes() override { return played.load(); }
    void ringRewritten() override {}
    void reset() override { calls.push_back("reset"); }
    void unprepare() override {
        calls.push_back("unprepare");
        ring = nullptr;
    }
    void close() override {
        calls.push_back("close");
        isOpen = false;
    }
    void raiseAudioThreadPriority() override { priorityRaised = true; }

    bool opens = true;
    bool isOpen = false;
    std::atomic<std::uint32_t> played{0};
    std::atomic<bool> priorityRaised{false};
    const std::int16_t* ring = nullptr;
    std::uint32_t ringBytes = 0;
    std::vector<std::string> calls;
};

} // namespace omra
