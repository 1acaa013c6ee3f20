#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace omra::capture {

// The capture's progress on stderr: frames done, frames per second, time left. On a terminal
// one line is rewritten a few times a second; elsewhere (a log) a line comes every 10 seconds.
class ProgressLine {
public:
    explicit ProgressLine(std::uint64_t totalFrames);

    void update(std::uint64_t framesDone);
    // The closing line, naming what was written.
    void finish(const std::string& summary);

    // Frames per second so far.
    double rate(std::uint64_t framesDone) const;

private:
    using Clock = std::chrono::steady_clock;

    std::uint64_t total_;
    std::uint64_t reported_ = 0;
    bool terminal_;
    Clock::time_point start_;
    Clock::time_point nextReport_;
};

} // namespace omra::capture
