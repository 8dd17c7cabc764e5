// Minimal BMP writer for the demo's pictures (bottom-up rows, each padded to four bytes).
#include <cstdio>
#include <cstring>
#include <vector>

#include "demo.h"

namespace demo {
namespace {

#pragma pack(push, 1)
struct FileHeader {
    uint16_t type;  // "BM"
    uint32_t size;
    uint32_t reserved;
    uint32_t offset;
};
struct InfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bits;
    uint32_t compression;
    uint32_t image_size;
    int32_t x_ppm;
    int32_t y_ppm;
    uint32_t colours;
    uint32_t important;
};
#pragma pack(pop)
static_assert(sizeof(FileHeader) == 14 && sizeof(InfoHeader) == 40, "BMP header sizes");

bool Write(const char* path, int width, int height, int bits, const uint32_t* palette,
           const std::vector<uint8_t>& rows) {
    const uint32_t palette_bytes = palette ? 256 * 4 : 0;
    FileHeader file{0x4D42, 0, 0, 0};
    file.offset = sizeof(FileHeader) + sizeof(InfoHeader) + palette_bytes;
    file.size = file.offset + static_cast<uint32_t>(rows.size());
    InfoHeader info{};
    info.size = sizeof info;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bits = static_cast<uint16_t>(bits);
    info.image_size = static_cast<uint32_t>(rows.size());
    info.colours = palette ? 256 : 0;
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    if (palette)
        std::fwrite(palette, 4, 256, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    return std::fclose(out) == 0;
}

}  // namespace

bool SaveBmp16(const char* path, const uint16_t* pixels, int width, int height, int pitch) {
    if (pixels == nullptr || width <= 0 || height <= 0)
        return false;
    const int stride = (width * 2 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        const auto* source = reinterpret_cast<const uint8_t*>(pixels) + y * pitch;
        std::memcpy(&rows[static_cast<size_t>(height - 1 - y) * stride], source, width * 2);
    }
    return Write(path, width, height, 16, nullptr, rows);
}

bool SaveBmp8(const char* path, const uint8_t* pixels, int width, int height, int pitch,
              const uint32_t* palette) {
    if (pixels == nullptr || width <= 0 || height <= 0)
        return false;
    const int stride = (width + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        std::memcpy(&rows[static_cast<size_t>(height - 1 - y) * stride], pixels + y * pitch, width);
    }
    return Write(path, width, height, 8, palette, rows);
}

}  // namespace demo
