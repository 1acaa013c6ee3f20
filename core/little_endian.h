#pragma once

#include <cstdint>

// Little-endian fields, as the asset pack, the XM and TGA files and the tools' outputs store
// them, read and written a byte at a time whatever the host's byte order.
namespace omra {

inline std::uint16_t readU16LE(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t readU32LE(const std::uint8_t* p) {
    return readU16LE(p) | static_cast<std::uint32_t>(readU16LE(p + 2)) << 16;
}

inline void putU16LE(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32LE(std::uint8_t* p, std::uint32_t value) {
    putU16LE(p, static_cast<std::uint16_t>(value));
    putU16LE(p + 2, static_cast<std::uint16_t>(value >> 16));
}

// Appends to a byte vector or string.
template <typename Bytes>
void appendU16LE(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<typename Bytes::value_type>(value));
    out.push_back(static_cast<typename Bytes::value_type>(value >> 8));
}

template <typename Bytes>
void appendU32LE(Bytes& out, std::uint32_t value) {
    appendU16LE(out, static_cast<std::uint16_t>(value));
    appendU16LE(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace omra
