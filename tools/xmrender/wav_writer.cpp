#include "xmrender/wav_writer.h"

#include "core/little_endian.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace omra::tools {

namespace {

constexpr std::uint16_t BitsPerSample = 16;

void putU16(char* at, std::uint16_t value) {
    putU16LE(reinterpret_cast<std::uint8_t*>(at), value);
}

void putU32(char* at, std::uint32_t value) {
    putU32LE(reinterpret_cast<std::uint8_t*>(at), value);
}

} // namespace

WavWriter::WavWriter(std::filesystem::path target) : file_(std::move(target)) {
    writeHeader(0);
}

void WavWriter::write(std::span<const std::int16_t> interleaved) {
    const std::uint64_t bytes = interleaved.size() * sizeof(std::int16_t);
    if (dataBytes_ + bytes > MaxWavDataBytes) {
        throw std::runtime_error(file_.target().string() + ": longer than a WAV file can hold");
    }
    // WAV data is little-endian, as both targets are.
    file_.stream().write(reinterpret_cast<const char*>(interleaved.data()),
                         static_cast<std::streamsize>(bytes));
    dataBytes_ += bytes;
}

void WavWriter::finish() {
    file_.stream().seekp(0);
    writeHeader(static_cast<std::uint32_t>(dataBytes_));
    file_.commit();
}

void WavWriter::writeHeader(std::uint32_t dataBytes) {
    char header[WavHeaderBytes];
    std::memcpy(header, "RIFF", 4);
    putU32(header + 4, WavHeaderBytes - 8 + dataBytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    putU32(header + 16, 16);
    putU16(header + 20, 1); // PCM
    putU16(header + 22, Channels);
    putU32(header + 24, MixRate);
    putU32(header + 28, MixRate * BytesPerFrame);
    putU16(header + 32, BytesPerFrame);
    putU16(header + 34, BitsPerSample);
    std::memcpy(header + 36, "data", 4);
    putU32(header + 40, dataBytes);
    file_.stream().write(header, WavHeaderBytes);
}

} // namespace omra::tools
