#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

namespace omra::tools {

// Streams 16-bit stereo 44100 Hz PCM into a WAV file. The data goes to a temporary file beside
// the target, which replaces the target only when `finish` succeeds; a writer destroyed
// unfinished removes it, so no half-written file is ever left under the target's name.
class WavWriter {
public:
    explicit WavWriter(std::filesystem::path target);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    void write(std::span<const std::int16_t> interleaved);
    void finish();

private:
    void writeHeader(std::uint32_t dataBytes);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream out_;
    std::uint64_t dataBytes_ = 0;
    bool finished_ = false;
};

} // namespace omra::tools
