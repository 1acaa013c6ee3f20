#pragma once

#include "common/files.h"
#include "records/mix_constants.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace omra::tools {

inline constexpr std::uint32_t WavHeaderBytes = 44;
// The most sound a WAV file holds: its size fields are 32 bits wide. In the player's output
// frames that is about 6 h 45 min.
inline constexpr std::uint64_t MaxWavDataBytes = 0xFFFFFFFFu - WavHeaderBytes;
inline constexpr std::uint64_t MaxWavFrames = MaxWavDataBytes / BytesPerFrame;

// Streams PCM in the player's output format into a WAV file through an AtomicFile: the target is
// replaced only when `finish` succeeds, and a writer destroyed unfinished leaves nothing.
class WavWriter {
public:
    explicit WavWriter(std::filesystem::path target);

    void write(std::span<const std::int16_t> interleaved);
    void finish();

private:
    void writeHeader(std::uint32_t dataBytes);

    AtomicFile file_;
    std::uint64_t dataBytes_ = 0;
};

} // namespace omra::tools
