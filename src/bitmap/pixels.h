// Pixel arithmetic shared by the rotation and the scaling: spread forms, blends, folds, and
// the reading of a gauge's surface descriptor.
#pragma once
#include <cstdint>
#include <cstring>

#include "mdnsrv.h"

namespace bitmap {

// The three colour fields of a pixel pair, side by side: bits 0-4 and 10-14 of the pixel,
// bits 5-9 of its right-hand neighbour moved to 21-25. The gaps absorb the blend's carries.
constexpr uint32_t kSpreadMask = 0x03E07C1Fu;
constexpr uint16_t kMaskBit = 0x8000u;

// Pixels may sit at any even or odd address a gauge hands over: unaligned reads and writes.
inline uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline uint16_t Load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Store16(uint8_t* p, uint16_t v) {
    std::memcpy(p, &v, sizeof v);
}

inline uint32_t Spread(const uint8_t* p) {
    return Load32(p) & kSpreadMask;
}
// The spread form of two separately addressed pixels (a pixel and its neighbour).
inline uint32_t SpreadPair(uint16_t pixel, uint16_t right) {
    return (pixel & 0x7C1Fu) | ((static_cast<uint32_t>(right) << 16) & 0x03E00000u);
}

// p + ((q - p) * f >> 5) with f in 0..31; spread values keep the product inside 31 bits.
inline uint32_t Blend(uint32_t p, uint32_t q, uint32_t f) {
    const int32_t d = static_cast<int32_t>(q - p) * static_cast<int32_t>(f);
    return p + static_cast<uint32_t>(d >> 5);
}

inline uint16_t Fold(uint32_t r) {
    return static_cast<uint16_t>((r >> 16) | r);
}

// The ease-in-out weights of filter 3, built at load.
const int32_t* EaseTable();
void ComputeEaseTable();

// A surface descriptor as the operations use it: fields sign-extended, address as a pointer.
struct Surface {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch;
};

// Reads the ten bytes of a descriptor (and nothing more); false for a null descriptor.
inline bool ReadSurface(const MdnSurface* descriptor, Surface* out) {
    if (descriptor == nullptr)
        return false;
    unsigned char raw[10];
    std::memcpy(raw, descriptor, sizeof raw);
    uint32_t address;
    int16_t width, height, pitch;
    std::memcpy(&address, raw + 0, 4);
    std::memcpy(&width, raw + 4, 2);
    std::memcpy(&height, raw + 6, 2);
    std::memcpy(&pitch, raw + 8, 2);
    out->pixels = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address));
    out->width = width;
    out->height = height;
    out->pitch = pitch;
    return true;
}

// Whether a surface has pixels that can be read or written: an address and a positive size.
// Any pitch will do: a negative one is a bottom-up surface, its top row last in memory.
inline bool HasPixels(const Surface& s) {
    return s.pixels != nullptr && s.width > 0 && s.height > 0;
}

}  // namespace bitmap
