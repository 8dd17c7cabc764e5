// Surface descriptors, angles and filters from the input, with pixel memory allocated exactly
// as each descriptor describes it, so the sanitizers see any read or write outside it.
//
// Input: op (1 byte), filter (u32), source width, height, pitch, destination width, height,
// pitch (i16 each), angle (f32), flags (1 byte), then pixel bytes repeated over the source.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap/bitmap.h"
#include "platform/fake.h"

namespace {

constexpr size_t kHeader = 22;
constexpr size_t kMaxBytes = 1u << 20;  // larger surfaces are skipped, to keep runs fast
constexpr int64_t kMaxPixels = 1 << 20;
constexpr size_t kTextureBytes = 256 * 512;

template <class T>
T Read(const uint8_t* data, size_t offset) {
    T v;
    std::memcpy(&v, data + offset, sizeof v);
    return v;
}

// The distance between rows in memory, either way.
size_t RowDistance(int16_t pitch) {
    return static_cast<size_t>(pitch < 0 ? -int32_t{pitch} : int32_t{pitch});
}

// The bytes a surface of these fields spans; 0 when it has no pixels.
size_t Span(int16_t width, int16_t height, int16_t pitch) {
    if (width <= 0 || height <= 0)
        return 0;
    return static_cast<size_t>(height - 1) * RowDistance(pitch) + 2u * width;
}

// The address of the top row: the start of the block, or its last row when the rows run
// bottom-up (a negative pitch). A surface without pixels has no block to speak of.
uint16_t* TopRow(uint8_t* block, int16_t width, int16_t height, int16_t pitch) {
    if (pitch >= 0 || Span(width, height, pitch) == 0)
        return reinterpret_cast<uint16_t*>(block);
    return reinterpret_cast<uint16_t*>(block +
                                       static_cast<size_t>(height - 1) * RowDistance(pitch));
}

struct Block {
    uint8_t* bytes;
    size_t size;
    explicit Block(size_t n) : bytes(static_cast<uint8_t*>(std::malloc(n))), size(n) {}
    ~Block() { std::free(bytes); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool loaded = [] {
        fake::Reset();
        bitmap::Load();
        return true;
    }();
    (void)loaded;
    if (size < kHeader)
        return 0;
    const uint8_t op = data[0] % 8;
    const auto filter = Read<uint32_t>(data, 1);
    MdnSurface src{nullptr, Read<int16_t>(data, 5), Read<int16_t>(data, 7), Read<int16_t>(data, 9)};
    MdnSurface dst{nullptr, Read<int16_t>(data, 11), Read<int16_t>(data, 13),
                   Read<int16_t>(data, 15)};
    const auto degrees = Read<float>(data, 17);
    const uint8_t flags = data[21];
    const uint8_t* fill = data + kHeader;
    const size_t fill_size = size - kHeader;

    if (op >= 6) {
        // The work buffer: acquire (size and alignment from the input) or release.
        if (op == 6) {
            bitmap::AcquireWorkBuffer(filter & 0xFFFFF, static_cast<uint32_t>(src.width));
        } else {
            bitmap::ReleaseWorkBuffer(nullptr);
        }
        while (bitmap::WorkBufferUsers() > 0)
            bitmap::ReleaseWorkBuffer(nullptr);
        fake::ClearCalls();
        return 0;
    }

    const bool rotation = op <= 1;
    // The rotations always read a 256x256 texture, whatever the descriptor's sizes.
    const size_t src_bytes = rotation ? kTextureBytes : Span(src.width, src.height, src.pitch);
    const size_t dst_bytes = Span(dst.width, dst.height, dst.pitch);
    if (src_bytes > kMaxBytes || dst_bytes > kMaxBytes)
        return 0;
    // Overlapping rows (small pitches) describe much work in little memory: bound it too.
    if (dst_bytes > 0 && int64_t{dst.width} * dst.height > kMaxPixels)
        return 0;
    Block source(src_bytes), destination(dst_bytes);
    // The pixel bytes repeated over the source.
    size_t filled = fill_size < src_bytes ? fill_size : src_bytes;
    if (filled == 0) {
        std::memset(source.bytes, 0, src_bytes);
    } else {
        std::memcpy(source.bytes, fill, filled);
        while (filled < src_bytes) {
            const size_t n = filled < src_bytes - filled ? filled : src_bytes - filled;
            std::memcpy(source.bytes + filled, source.bytes, n);
            filled += n;
        }
    }
    std::memset(destination.bytes, 0xA5, dst_bytes);
    // A texture's rows are 512 bytes apart whatever its pitch; a negative one is bottom-up.
    src.pixels = (flags & 1) ? nullptr
                 : rotation  ? TopRow(source.bytes, 256, 256, src.pitch < 0 ? -512 : 512)
                             : TopRow(source.bytes, src.width, src.height, src.pitch);
    dst.pixels =
        (flags & 2) ? nullptr : TopRow(destination.bytes, dst.width, dst.height, dst.pitch);
    const MdnSurface* s = (flags & 4) ? nullptr : &src;
    const MdnSurface* d = (flags & 8) ? nullptr : &dst;

    switch (op) {
        case 0:
            bitmap::RotateBitmap(s, d, degrees);
            break;
        case 1:
            bitmap::RotateBitmapMasked(s, d, degrees);
            break;
        case 2:
            bitmap::CopyBitmap(s, d);
            break;
        default:
            bitmap::StretchBitmap(s, d, op == 3 ? filter : filter % 4);
            break;
    }

    // Nothing may land between the rows: bytes past each row's pixels (in memory order, either
    // way up) keep their fill.
    const size_t distance = RowDistance(dst.pitch);
    if (dst_bytes > 0 && distance > 2u * dst.width) {
        for (int r = 0; r + 1 < dst.height; ++r) {
            const uint8_t* gap =
                destination.bytes + static_cast<size_t>(r) * distance + 2u * dst.width;
            for (size_t i = 0; i < distance - 2u * dst.width; ++i) {
                if (gap[i] != 0xA5)
                    std::abort();
            }
        }
    }
    return 0;
}
