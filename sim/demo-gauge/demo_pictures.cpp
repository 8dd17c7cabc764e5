// Bitmaps and the terrain map: a test texture in the shared work buffer, rotated into a round
// window, copied and stretched with each filter, and a heading-up terrain map around the
// aircraft; each result is saved as a BMP picture in the output folder.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "demo.h"

namespace demo {
namespace {

constexpr int kTexture = 256;
constexpr int kTexturePitch = 512;
// The samplers read a pixel or two past a row and a row past the last: a margin is kept.
constexpr uint32_t kTextureBytes = kTexture * kTexturePitch + 4 * kTexturePitch;

uint16_t Rgb(int r, int g, int b) {
    return static_cast<uint16_t>(((r & 31) << 10) | ((g & 31) << 5) | (b & 31));
}

// A compass card: colour wheel quarters, a grid, and an arrow pointing up.
void DrawTexture(uint16_t* pixels) {
    for (int y = 0; y < kTexture; ++y) {
        for (int x = 0; x < kTexture; ++x) {
            const int dx = x - 128, dy = y - 128;
            uint16_t p = Rgb(x / 8, y / 8, (x + y) / 16);
            if (x % 32 == 0 || y % 32 == 0)
                p = Rgb(31, 31, 31);
            if (std::abs(dx) < 6 && dy < 0 && dy > -100)
                p = Rgb(31, 0, 0);
            if (dy >= -110 && dy <= -80 && 2 * std::abs(dx) < dy + 110)
                p = Rgb(31, 0, 0);
            pixels[y * (kTexturePitch / 2) + x] = p;
        }
    }
}

void Save16(const Context& c, const char* name, const std::vector<uint16_t>& pixels, int width,
            int height) {
    char path[MAX_PATH];
    OutputPath(c, name, path, sizeof path);
    const bool ok = SaveBmp16(path, pixels.data(), width, height, width * 2);
    Report(c, "pictures: %s %s", ok ? "wrote" : "could not write", path);
}

unsigned CountDrawn(const std::vector<uint16_t>& pixels) {
    unsigned drawn = 0;
    for (uint16_t p : pixels)
        drawn += p != 0x0421;  // the background the demo fills with
    return drawn;
}

void Bitmaps(const Context& c) {
    const MdnOperationTable& ops = *c.ops;
    auto* buffer = static_cast<uint16_t*>(ops.AcquireWorkBuffer(kTextureBytes, 16));
    Report(c, "pictures: AcquireWorkBuffer(%lu, 16) -> 0x%08lX",
           static_cast<unsigned long>(kTextureBytes),
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(buffer)));
    std::vector<uint16_t> own;
    if (buffer == nullptr) {
        own.assign(kTextureBytes / 2, 0);
        buffer = own.data();
    }
    std::memset(buffer, 0, kTextureBytes);
    DrawTexture(buffer);
    const MdnSurface texture{buffer, kTexture, kTexture, kTexturePitch};
    std::vector<uint16_t> copy(buffer, buffer + kTexture * kTexture);
    for (int y = 0; y < kTexture; ++y) {
        std::memcpy(&copy[y * kTexture], buffer + y * (kTexturePitch / 2), kTexture * 2);
    }
    Save16(c, "demo_texture.bmp", copy, kTexture, kTexture);

    constexpr int kWindow = 160;
    for (int masked = 0; masked < 2; ++masked) {
        std::vector<uint16_t> out(kWindow * kWindow, 0x0421);
        const MdnSurface window{out.data(), kWindow, kWindow, kWindow * 2};
        if (masked) {
            ops.RotateBitmapMasked(&texture, &window, 30.0f);
        } else {
            ops.RotateBitmap(&texture, &window, 30.0f);
        }
        Report(c, "pictures: %s by 30 degrees: %u of %d pixels drawn",
               masked ? "RotateBitmapMasked" : "RotateBitmap", CountDrawn(out), kWindow * kWindow);
        Save16(c, masked ? "demo_rotate_masked.bmp" : "demo_rotate.bmp", out, kWindow, kWindow);
    }

    constexpr int kWidth = 200, kHeight = 120;
    std::vector<uint16_t> copied(kWidth * kHeight, 0x0421);
    const MdnSurface copy_surface{copied.data(), kWidth, kHeight, kWidth * 2};
    ops.CopyBitmap(&texture, &copy_surface);
    Save16(c, "demo_copy.bmp", copied, kWidth, kHeight);
    for (uint32_t filter = 0; filter <= 3; ++filter) {
        // Enlarge a 64 x 64 corner so the filters differ visibly.
        const MdnSurface corner{buffer + 96 * (kTexturePitch / 2) + 96, 64, 64, kTexturePitch};
        std::vector<uint16_t> out(kWidth * kWidth, 0x0421);
        const MdnSurface surface{out.data(), kWidth, kWidth, kWidth * 2};
        ops.StretchBitmap(&corner, &surface, filter);
        char name[32];
        std::snprintf(name, sizeof name, "demo_stretch_%lu.bmp",
                      static_cast<unsigned long>(filter));
        Report(c, "pictures: StretchBitmap filter %lu: %u of %d pixels drawn",
               static_cast<unsigned long>(filter), CountDrawn(out), kWidth * kWidth);
        Save16(c, name, out, kWidth, kWidth);
    }
    ops.ReleaseWorkBuffer(buffer);
}

// 0 water, 1 shore, then 150-foot steps from green over brown to white.
void TerrainPalette(uint32_t* palette) {
    palette[0] = 0x002060C0;
    palette[1] = 0x00D8C890;
    struct Stop {
        double at;
        int r, g, b;
    };
    static const Stop kStops[] = {{0.0, 40, 140, 40}, {0.5, 140, 100, 50}, {1.0, 250, 250, 250}};
    for (int i = 2; i < 256; ++i) {
        const double t = (i - 2) / 40.0 > 1.0 ? 1.0 : (i - 2) / 40.0;
        const Stop& a = t < 0.5 ? kStops[0] : kStops[1];
        const Stop& b = t < 0.5 ? kStops[1] : kStops[2];
        const double f = (t - a.at) / (b.at - a.at);
        const auto mix = [f](int x, int y) { return static_cast<uint32_t>(x + (y - x) * f); };
        palette[i] = (mix(a.r, b.r) << 16) | (mix(a.g, b.g) << 8) | mix(a.b, b.b);
    }
}

void Terrain(const Context& c) {
    constexpr int kSize = 192;
    std::vector<uint8_t> map(kSize * kSize, 0);
    const MdnSurface surface{reinterpret_cast<uint16_t*>(map.data()), kSize, kSize, kSize};
    // Around the aircraft, heading up: from the GPS information record when it is there.
    double position[3] = {45.0, 7.0, 60.0};
    uint32_t address = 0;
    c.ops->ServiceQuery(MDN_QUERY_GPS_INFO, &address);
    if (const auto* gps = reinterpret_cast<const MdnGpsInfo*>(address);
        gps && (gps->latitude != 0.0 || gps->longitude != 0.0)) {
        position[0] = gps->latitude;
        position[1] = -gps->longitude;  // the record keeps east negative
        position[2] = gps->track;
    }
    const double latitude = position[0], longitude = position[1], heading = position[2];
    const uint32_t ok =
        c.ops->DrawTerrainMap(&surface, position, 20.0f, kSize / 2.0f, kSize * 0.75f, 0xF) & 0xFF;
    unsigned highest = 0;
    for (uint8_t b : map)
        highest = b > highest ? b : highest;
    Report(c,
           "pictures: DrawTerrainMap 20 nm around %.4f %.4f, heading %.0f up -> %lu, rotation "
           "%.3f rad, highest band %u (about %u ft)",
           latitude, longitude, heading, static_cast<unsigned long>(ok), position[2], highest,
           highest > 1 ? (highest - 1) * 150 : 0);
    uint32_t palette[256];
    TerrainPalette(palette);
    char path[MAX_PATH];
    OutputPath(c, "demo_terrain.bmp", path, sizeof path);
    const bool saved = SaveBmp8(path, map.data(), kSize, kSize, kSize, palette);
    Report(c, "pictures: %s %s", saved ? "wrote" : "could not write", path);
}

}  // namespace

void Pictures(const Context& c) {
    Bitmaps(c);
    Terrain(c);
}

}  // namespace demo
