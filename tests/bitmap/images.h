// Test bitmaps: memory with room around the pixels, descriptors pointing into it.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "bitmap/bitmap.h"
#include "mdnsrv.h"
#include "support/module_fixture.h"

namespace bitmap_test {

struct Image {
    std::vector<uint8_t> memory;
    size_t offset = 0;  // where pixel (0, 0) starts
    int width = 0, height = 0, pitch = 0;

    uint8_t* Origin() { return memory.data() + offset; }
    MdnSurface Descriptor() {
        MdnSurface s;
        s.pixels = reinterpret_cast<uint16_t*>(Origin());
        s.width = static_cast<int16_t>(width);
        s.height = static_cast<int16_t>(height);
        s.pitch = static_cast<int16_t>(pitch);
        return s;
    }
    uint16_t At(int x, int y) const {
        uint16_t v;
        std::memcpy(&v, memory.data() + offset + static_cast<ptrdiff_t>(y) * pitch + 2 * x, 2);
        return v;
    }
    void Set(int x, int y, uint16_t v) {
        std::memcpy(memory.data() + offset + static_cast<ptrdiff_t>(y) * pitch + 2 * x, &v, 2);
    }
};

// `margin` bytes before and after the pixels, everything filled with `fill`. A negative pitch
// makes a bottom-up image: its top row last in memory.
inline Image MakeImage(int width, int height, int pitch, uint16_t fill = 0, size_t margin = 0) {
    Image image;
    image.width = width;
    image.height = height;
    image.pitch = pitch;
    const size_t rows = height > 0 ? static_cast<size_t>(height - 1) * std::abs(pitch) : 0;
    image.offset = margin + (pitch < 0 ? rows : 0);
    const size_t span = height > 0 && width > 0 ? rows + 2 * width : 0;
    image.memory.resize(2 * margin + span + 1);
    for (size_t i = 0; i + 1 < image.memory.size(); i += 2) {
        std::memcpy(&image.memory[i], &fill, 2);
    }
    return image;
}

// The 256x256 texture of the rotations, with two rows of room below it for literal reads.
inline Image MakeTexture(uint16_t fill = 0) {
    Image t = MakeImage(256, 256, 512, fill);
    t.memory.resize(258 * 512, 0);
    return t;
}

inline void FillRandom(Image& image, std::mt19937& rng) {
    for (auto& b : image.memory)
        b = static_cast<uint8_t>(rng());
}

// A fresh module whose work buffer is given back after each test.
class BitmapTest : public test::FreshModule {
  protected:
    void TearDown() override {
        while (bitmap::WorkBufferUsers() > 0)
            bitmap::ReleaseWorkBuffer(nullptr);
        test::FreshModule::TearDown();
    }
};

}  // namespace bitmap_test
