#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace omra::tools {

// Fades the last `frames` frames of a 16-bit stereo stream out linearly: frame f of a stream of
// T frames is scaled by min(1, (T - f) / frames) and rounded to nearest, halves away from zero.
// The stream's end is known only when it comes, so the last `frames` frames are held back until
// `finish`; everything before them passes through unchanged.
class FadeOut {
public:
    using Sink = std::function<void(std::span<const std::int16_t>)>;
    FadeOut(std::uint64_t frames, Sink sink);

    void write(std::span<const std::int16_t> interleaved);
    void finish();

private:
    std::uint64_t frames_;
    Sink sink_;
    std::vector<std::int16_t> held_;
    std::size_t start_ = 0; // held_ before it has been passed on
};

} // namespace omra::tools
