#include "capture/progress_line.h"

#include "common/clock_time.h"

#include <cstdio>
#include <unistd.h>

namespace omra::capture {

namespace {

constexpr std::chrono::milliseconds TerminalInterval{250};
constexpr std::chrono::seconds LogInterval{10};

} // namespace

ProgressLine::ProgressLine(std::uint64_t totalFrames)
    : total_(totalFrames), terminal_(isatty(STDERR_FILENO) != 0), start_(Clock::now()),
      nextReport_(start_) {}

double ProgressLine::rate(std::uint64_t framesDone) const {
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    return seconds > 0 ? static_cast<double>(framesDone) / seconds : 0.0;
}

void ProgressLine::update(std::uint64_t framesDone) {
    const Clock::time_point now = Clock::now();
    const bool last = framesDone == total_ && reported_ != total_;
    if (now < nextReport_ && !last) {
        return;
    }
    reported_ = framesDone;
    nextReport_ = now + (terminal_ ? std::chrono::duration_cast<Clock::duration>(TerminalInterval)
                                   : std::chrono::duration_cast<Clock::duration>(LogInterval));
    const double perSecond = rate(framesDone);
    const std::string left =
        perSecond > 0 ? tools::clockTime(static_cast<double>(total_ - framesDone) / perSecond)
                      : "?";
    std::fprintf(stderr, "%sframe %llu of %llu (%.0f%%), %.1f frames/s, %s left%s",
                 terminal_ ? "\r\033[K" : "", static_cast<unsigned long long>(framesDone),
                 static_cast<unsigned long long>(total_),
                 100.0 * static_cast<double>(framesDone) / static_cast<double>(total_), perSecond,
                 left.c_str(), terminal_ ? "" : "\n");
}

void ProgressLine::finish(const std::string& summary) {
    std::fprintf(stderr, "%s%s\n", terminal_ ? "\r\033[K" : "", summary.c_str());
}

} // namespace omra::capture
