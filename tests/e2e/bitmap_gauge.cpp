// Bitmaps through the operation table: a test texture in the shared work buffer, rotated
// (slots 26 and 30), copied (slot 27) and stretched with each filter (slot 29); a few exact
// pixels checked, and every result saved as a 16-bit BMP picture (5-5-5 bit fields).
#include <cstdio>
#include <cstring>
#include <vector>

#include "e2e_support.h"
#include "mdnsrv.h"

namespace {

constexpr int kTexture = 256;
constexpr int kTexturePitch = 512;
constexpr uint16_t kBackground = 0x0421;

uint16_t Rgb(int r, int g, int b) {
    return static_cast<uint16_t>(((r & 31) << 10) | ((g & 31) << 5) | (b & 31));
}

// A compass card: smooth colours, a white grid every 32 texels, a red arrow pointing up, and
// bit 15 set on every texel (which the blending operations drop).
uint16_t Texel(int x, int y) {
    const int dx = x - 128, dy = y - 128;
    uint16_t p = Rgb(x / 8, y / 8, 31 - (x + y) / 16);
    if (x % 32 == 0 || y % 32 == 0)
        p = Rgb(31, 31, 31);
    if (dx > -6 && dx < 6 && dy < 0 && dy > -90)
        p = Rgb(31, 0, 0);
    if (dy >= -110 && dy <= -80 && 2 * (dx < 0 ? -dx : dx) < dy + 110)
        p = Rgb(31, 0, 0);
    return static_cast<uint16_t>(p | 0x8000);
}

// An unweighted sample of texel (x, y): its outer fields, its right-hand neighbour's middle.
uint16_t Unweighted(const uint16_t* texture, int x, int y) {
    const uint16_t* row = texture + (y & 255) * (kTexturePitch / 2);
    return static_cast<uint16_t>((row[x & 255] & 0x7C1F) | (row[(x + 1) & 255] & 0x03E0));
}

struct Picture {
    std::vector<uint16_t> pixels;
    int width, height;
    Picture(int w, int h) : pixels(static_cast<size_t>(w) * h, kBackground), width(w), height(h) {}
    MdnSurface Surface() {
        return MdnSurface{pixels.data(), static_cast<int16_t>(width), static_cast<int16_t>(height),
                          static_cast<int16_t>(2 * width)};
    }
    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A 16-bit BMP with BI_BITFIELDS masks 0x7C00, 0x03E0, 0x001F: bottom-up rows padded to four
// bytes; viewers ignore bit 15.
bool SaveBmp(const char* path, const uint16_t* pixels, int width, int height, int pitch) {
    const int stride = (2 * width + 3) & ~3;
    const DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 16;
    info.biCompression = BI_BITFIELDS;
    info.biSizeImage = static_cast<DWORD>(stride) * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info + sizeof masks;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<uint8_t> rows(info.biSizeImage, 0);
    for (int y = 0; y < height; ++y) {
        std::memcpy(&rows[static_cast<size_t>(height - 1 - y) * stride],
                    reinterpret_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * pitch,
                    2 * width);
    }
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(masks, sizeof masks, 1, out) == 1 &&
                         std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return std::fclose(out) == 0 && written;
}

struct Session {
    const SimDriver* driver;
    const MdnOperationTable* ops;
    const uint16_t* texture;
    MdnSurface texture_surface;

    void Save(const char* name, const Picture& p) const {
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, "%s\\%s", driver->output_folder, name);
        const bool ok = SaveBmp(path, p.pixels.data(), p.width, p.height, 2 * p.width);
        driver->Check(ok, "picture written", path, ok ? path : "not written");
    }
    void CheckPixel(const char* what, uint16_t expected, uint16_t got) const {
        SimCheckHex(driver, what, expected, got);
    }
};

void Rotations(const Session& s) {
    // Angle 0, four texels a pixel: the window's centre samples the texture's centre.
    Picture plain(64, 64), masked(64, 64);
    MdnSurface p = plain.Surface(), m = masked.Surface();
    s.ops->RotateBitmap(&s.texture_surface, &p, 0.0f);
    s.ops->RotateBitmapMasked(&s.texture_surface, &m, 0.0f);
    s.CheckPixel("rotation at 0 degrees: centre is the texture centre, bit 15 clear",
                 Unweighted(s.texture, 128, 128), plain.At(32, 32));
    s.CheckPixel("masked rotation at 0 degrees: the same with bit 15 set",
                 Unweighted(s.texture, 128, 128) | 0x8000, masked.At(32, 32));
    s.CheckPixel("rotation at 0 degrees: pixel (35, 30) samples texel (140, 120)",
                 Unweighted(s.texture, 140, 120), plain.At(35, 30));
    s.CheckPixel("rotation: a corner outside the round window is not drawn", kBackground,
                 plain.At(0, 0));
    s.CheckPixel("rotation: row 0 of the window starts at column 27", Unweighted(s.texture, 108, 0),
                 plain.At(27, 0));
    s.CheckPixel("rotation: row 0 column 26 is outside", kBackground, plain.At(26, 0));
    s.CheckPixel("rotation: row 0 ends before column 37", kBackground, plain.At(37, 0));

    // Angle 90, one texel a pixel: along a row the walk moves up the texture.
    Picture turned(64, 64);
    MdnSurface t = turned.Surface();
    MdnSurface small = s.texture_surface;
    small.width = 64;
    small.height = 64;
    s.ops->RotateBitmap(&small, &t, 90.0f);
    s.CheckPixel("rotation at 90 degrees: pixel (10, 32) samples texel (32, 54)",
                 Unweighted(s.texture, 32, 54), turned.At(10, 32));
    s.CheckPixel("rotation at 90 degrees: pixel (50, 32) samples texel (32, 14)",
                 Unweighted(s.texture, 32, 14), turned.At(50, 32));

    s.Save("bitmap_texture_rotated_0.bmp", plain);
    s.Save("bitmap_texture_rotated_90.bmp", turned);
    for (float degrees : {30.0f, 135.0f}) {
        Picture wide(200, 160), wide_masked(200, 160);
        MdnSurface w = wide.Surface(), wm = wide_masked.Surface();
        s.ops->RotateBitmap(&s.texture_surface, &w, degrees);
        s.ops->RotateBitmapMasked(&s.texture_surface, &wm, degrees);
        unsigned plain_bit15 = 0, masked_clear = 0, drawn = 0;
        for (size_t i = 0; i < wide.pixels.size(); ++i) {
            if (wide.pixels[i] == kBackground)
                continue;
            ++drawn;
            plain_bit15 += (wide.pixels[i] & 0x8000) != 0;
            masked_clear += (wide_masked.pixels[i] & 0x8000) == 0;
        }
        char name[64];
        std::snprintf(name, sizeof name, "rotation at %.0f degrees draws the window", degrees);
        s.driver->Check(drawn > 200 * 160 / 2, name, "most of 32000 pixels",
                        drawn > 200 * 160 / 2 ? "yes" : "too few");
        SimCheckU32(s.driver, "rotated pixels with bit 15 set", 0, plain_bit15);
        SimCheckU32(s.driver, "masked rotated pixels with bit 15 clear", 0, masked_clear);
        std::snprintf(name, sizeof name, "bitmap_rotated_%.0f.bmp", degrees);
        s.Save(name, wide);
        std::snprintf(name, sizeof name, "bitmap_rotated_masked_%.0f.bmp", degrees);
        s.Save(name, wide_masked);
    }
}

void Scalings(const Session& s) {
    // Same size: each pixel's own outer fields and its right-hand neighbour's middle field.
    Picture copy(kTexture, kTexture);
    MdnSurface c = copy.Surface();
    s.ops->CopyBitmap(&s.texture_surface, &c);
    s.CheckPixel("CopyBitmap (filter 1), same size: pixel (40, 7)", Unweighted(s.texture, 40, 7),
                 copy.At(40, 7));
    s.CheckPixel("CopyBitmap: the last column keeps its own middle field",
                 static_cast<uint16_t>(s.texture[7 * 256 + 255] & 0x7FFF), copy.At(255, 7));
    s.Save("bitmap_copy.bmp", copy);

    Picture half(128, 128);
    MdnSurface h = half.Surface();
    s.ops->StretchBitmap(&s.texture_surface, &h, MDN_FILTER_NEAREST);
    s.CheckPixel("filter 0 at half size takes every second texel, bit 15 kept",
                 s.texture[2 * 33 * 256 + 2 * 77], half.At(77, 33));
    s.Save("bitmap_stretch_f0_half.bmp", half);

    const char* names[4] = {"bitmap_stretch_f0_up.bmp", "bitmap_stretch_f1_up.bmp",
                            "bitmap_stretch_f2_up.bmp", "bitmap_stretch_f3_up.bmp"};
    for (uint32_t filter = 0; filter <= 3; ++filter) {
        // Twice the size: even pixels sit exactly on a texel.
        Picture up(512, 512);
        MdnSurface u = up.Surface();
        s.ops->StretchBitmap(&s.texture_surface, &u, filter);
        char what[96];
        std::snprintf(what, sizeof what, "filter %u at twice the size: pixel (100, 60)",
                      static_cast<unsigned>(filter));
        s.CheckPixel(what, filter == 0 ? s.texture[30 * 256 + 50] : Unweighted(s.texture, 50, 30),
                     up.At(100, 60));
        s.Save(names[filter], up);
    }
    Picture odd(173, 97);
    MdnSurface o = odd.Surface();
    s.ops->StretchBitmap(&s.texture_surface, &o, MDN_FILTER_EASED);
    s.Save("bitmap_stretch_f3_odd.bmp", odd);

    Picture untouched(16, 16);
    MdnSurface n = untouched.Surface();
    s.ops->StretchBitmap(&s.texture_surface, &n, 4);
    s.CheckPixel("filter 4 draws nothing", kBackground, untouched.At(8, 8));
}

}  // namespace

SIM_GAUGE_ENTRY {
    const auto* service = reinterpret_cast<const MdnServiceObject*>(
        GetProcAddress(GetModuleHandleA(MDN_MODULE_FILE_NAME), MDN_SERVICE_SYMBOL));
    if (service == nullptr || service->table == nullptr)
        return driver->Check(0, "service object", "found", "missing"), 1;
    const MdnOperationTable* ops = service->table;

    // The texture lives in the shared work buffer; a second user shares the same block.
    auto* buffer = static_cast<uint16_t*>(ops->AcquireWorkBuffer(kTexture * kTexturePitch, 16));
    driver->Check(buffer != nullptr, "AcquireWorkBuffer(131072, 16)", "a buffer",
                  buffer ? "a buffer" : "null");
    if (buffer == nullptr)
        return 1;
    SimCheckU32(driver, "work buffer alignment", 0,
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(buffer) % 16));
    void* again = ops->AcquireWorkBuffer(64, 16);
    driver->Check(again == buffer, "a second AcquireWorkBuffer shares the block", "same",
                  again == buffer ? "same" : "different");
    // A user asking more alignment than the block has gets nothing, and counts as no user.
    if (reinterpret_cast<uintptr_t>(buffer) % 4096 != 0) {
        void* aligned = ops->AcquireWorkBuffer(64, 4096);
        driver->Check(aligned == nullptr, "AcquireWorkBuffer(64, 4096) of a block aligned to 16",
                      "null", aligned ? "the block" : "null");
    }
    for (int y = 0; y < kTexture; ++y) {
        for (int x = 0; x < kTexture; ++x)
            buffer[y * (kTexturePitch / 2) + x] = Texel(x, y);
    }
    Picture texture(kTexture, kTexture);
    std::memcpy(texture.pixels.data(), buffer, texture.pixels.size() * 2);

    const Session s{driver, ops, buffer, MdnSurface{buffer, kTexture, kTexture, kTexturePitch}};
    s.Save("bitmap_texture.bmp", texture);
    Rotations(s);
    Scalings(s);

    ops->ReleaseWorkBuffer(buffer);
    ops->ReleaseWorkBuffer(buffer);
    SimLogf(driver, "bitmap pictures in %s", driver->output_folder);
    return 0;
}
