#include "xmrender/fade_out.h"

namespace omra::tools {

FadeOut::FadeOut(std::uint64_t frames, Sink sink) : frames_(frames), sink_(std::move(sink)) {}

void FadeOut::write(std::span<const std::int16_t> interleaved) {
    if (frames_ == 0) {
        sink_(interleaved);
        return;
    }
    held_.insert(held_.end(), interleaved.begin(), interleaved.end());
    const std::size_t kept = static_cast<std::size_t>(2 * frames_);
    if (held_.size() - start_ > kept) {
        const std::size_t passed = held_.size() - start_ - kept;
        sink_({held_.data() + start_, passed});
        start_ += passed;
    }
    // Passed-on values are dropped once they are the larger part, so copying stays linear.
    if (start_ > held_.size() / 2) {
        held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
}

void FadeOut::finish() {
    const std::size_t values = held_.size() - start_;
    const auto divisor = static_cast<std::int64_t>(frames_);
    for (std::size_t i = 0; i < values; ++i) {
        const auto framesToEnd = static_cast<std::int64_t>((values - i + 1) / 2);
        const std::int64_t scaled = std::int64_t{held_[start_ + i]} * framesToEnd;
        const std::int64_t half = scaled < 0 ? -divisor : divisor;
        held_[start_ + i] = static_cast<std::int16_t>((2 * scaled + half) / (2 * divisor));
    }
    sink_({held_.data() + start_, values});
    held_.clear();
    start_ = 0;
}

} // namespace omra::tools
