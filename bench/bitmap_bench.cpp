// Rotation and scaling of 16-bit bitmaps beside pixman doing the nearest comparable job on
// the same images (in its 16-bit formats and in a8r8g8b8, its fastest, with SSE2 and nothing
// newer), and beside a nearest-neighbour rotation of the same window as the floor. Ends with a
// table of the ratios of medians over repetitions, with the plain loops of processors without
// SSE2 beside.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bitmap/bitmap.h"
#include "bitmap/pixels.h"
#include "bitmap/rotation_steps.h"
#include "bitmap/span_table.h"
#include "platform/fake_kernel.h"
#include "platform/win_kernel.h"

namespace {

// Rows padded to a multiple of four bytes, as pixman requires; both sides use the same rows.
struct Bitmap {
    std::vector<uint16_t> pixels;
    int width, height, stride;  // stride in pixels
    MdnSurface Surface() {
        return MdnSurface{pixels.data(), static_cast<int16_t>(width), static_cast<int16_t>(height),
                          static_cast<int16_t>(2 * stride)};
    }
    std::vector<uint32_t> wide;  // the same pixels as a8r8g8b8, for pixman's fastest format
    pixman_image_t* Pixman(pixman_format_code_t format) {
        if (format != PIXMAN_a8r8g8b8) {
            return pixman_image_create_bits(format, width, height,
                                            reinterpret_cast<uint32_t*>(pixels.data()), 2 * stride);
        }
        wide.assign(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t p = pixels[static_cast<size_t>(y) * stride + x];
                wide[static_cast<size_t>(y) * width + x] = 0xFF000000u | ((p & 0x7C00u) << 9) |
                                                           ((p & 0x03E0u) << 6) |
                                                           ((p & 0x001Fu) << 3);
            }
        }
        return pixman_image_create_bits(format, width, height, wide.data(), 4 * width);
    }
};

Bitmap RandomBitmap(int width, int height, uint32_t seed) {
    const int stride = (width + 1) & ~1;
    Bitmap b{
        std::vector<uint16_t>(static_cast<size_t>(stride) * height), width, height, stride, {}};
    // Smooth content with some noise, bit 15 clear: what a gauge texture looks like.
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int r = (x * 31 / width) & 31, g = (y * 31 / height) & 31;
            const int bl = static_cast<int>(rng() & 31);
            b.pixels[static_cast<size_t>(y) * stride + x] =
                static_cast<uint16_t>((r << 10) | (g << 5) | bl);
        }
    }
    return b;
}

Bitmap& Texture() {
    static Bitmap t = RandomBitmap(256, 256, 1);
    return t;
}

// The loops of a processor with or without SSE2, for one benchmark; SSE2 again afterwards.
class Loops {
  public:
    explicit Loops(bool sse2) { Choose(sse2); }
    ~Loops() { Choose(true); }

  private:
    static void Choose(bool sse2) {
        fake::SetProcessorFeature(PF_XMMI64_INSTRUCTIONS_AVAILABLE, sse2);
        bitmap::Load();
    }
};

// ---- rotation ---------------------------------------------------------------------------

// The floor: the same steps and window, one 16-bit read per pixel.
void NearestRotation(const MdnSurface* source, const MdnSurface* destination, float degrees) {
    static uint32_t spans[bitmap::kSpanRows];
    bitmap::Surface src, dst;
    bitmap::ReadSurface(source, &src);
    bitmap::ReadSurface(destination, &dst);
    bitmap::RotationSteps s;
    if (!bitmap::ComputeRotationSteps(src, dst, degrees, &s))
        return;
    bitmap::BuildSpanTable(spans, s.a, s.b);
    const auto* texture = reinterpret_cast<const uint16_t*>(src.pixels);
    uint32_t u_row = s.u0, v_row = s.v0;
    for (int r = 0; r < dst.height; ++r) {
        const int left = bitmap::SpanLeft(spans[r]), right = bitmap::SpanRight(spans[r]);
        uint32_t u = u_row + static_cast<uint32_t>(left) * static_cast<uint32_t>(s.k1);
        uint32_t v = v_row - static_cast<uint32_t>(left) * static_cast<uint32_t>(s.k2);
        auto* out = reinterpret_cast<uint16_t*>(dst.pixels + r * dst.pitch) + left;
        for (int c = left; c < right; ++c) {
            *out++ = texture[((v >> 8) & 0xFF00) | ((u >> 16) & 0xFF)];
            u += static_cast<uint32_t>(s.k1);
            v -= static_cast<uint32_t>(s.k2);
        }
        u_row += static_cast<uint32_t>(s.k4);
        v_row += static_cast<uint32_t>(s.k3);
    }
}

void RotateOurs(benchmark::State& state, int size, float degrees, bool masked, bool sse2) {
    const Loops loops(sse2);
    Bitmap dst = RandomBitmap(size, size, 2);
    const MdnSurface s = Texture().Surface(), d = dst.Surface();
    for (auto _ : state) {
        if (masked) {
            bitmap::RotateBitmapMasked(&s, &d, degrees);
        } else {
            bitmap::RotateBitmap(&s, &d, degrees);
        }
        benchmark::DoNotOptimize(dst.pixels.data());
        benchmark::ClobberMemory();
    }
}

void RotateNearest(benchmark::State& state, int size, float degrees) {
    Bitmap dst = RandomBitmap(size, size, 2);
    const MdnSurface s = Texture().Surface(), d = dst.Surface();
    for (auto _ : state) {
        NearestRotation(&s, &d, degrees);
        benchmark::DoNotOptimize(dst.pixels.data());
        benchmark::ClobberMemory();
    }
}

// pixman: the same 16.16 walk as a transform, bilinear, the texture repeated (wrapped), the
// destination clipped to the same round window.
void RotatePixman(benchmark::State& state, int size, float degrees, pixman_format_code_t format) {
    Bitmap texture = Texture();
    Bitmap dst = RandomBitmap(size, size, 2);
    const MdnSurface s = texture.Surface(), d = dst.Surface();
    bitmap::Surface src_view, dst_view;
    bitmap::ReadSurface(&s, &src_view);
    bitmap::ReadSurface(&d, &dst_view);
    bitmap::RotationSteps st;
    bitmap::ComputeRotationSteps(src_view, dst_view, degrees, &st);
    uint32_t spans[bitmap::kSpanRows];
    bitmap::BuildSpanTable(spans, st.a, st.b);
    std::vector<pixman_box32_t> boxes;
    for (int r = 0; r < size; ++r) {
        const int left = bitmap::SpanLeft(spans[r]), right = bitmap::SpanRight(spans[r]);
        if (left < right)
            boxes.push_back({left, r, right, r + 1});
    }
    pixman_region32_t window;
    pixman_region32_init_rects(&window, boxes.data(), static_cast<int>(boxes.size()));

    pixman_image_t* src = texture.Pixman(format);
    pixman_image_t* out = dst.Pixman(format);
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = st.k1;
    t.matrix[0][1] = st.k4;
    t.matrix[0][2] = static_cast<pixman_fixed_t>(st.u0);
    t.matrix[1][0] = -st.k2;
    t.matrix[1][1] = st.k3;
    t.matrix[1][2] = static_cast<pixman_fixed_t>(st.v0);
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_NORMAL);
    pixman_image_set_clip_region32(out, &window);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, out, 0, 0, 0, 0, 0, 0, size, size);
        benchmark::DoNotOptimize(dst.pixels.data());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(out);
    pixman_region32_fini(&window);
}

// ---- scaling ------------------------------------------------------------------------------

void StretchOurs(benchmark::State& state, int sw, int dw, uint32_t filter, bool sse2) {
    const Loops loops(sse2);
    Bitmap src = RandomBitmap(sw, sw, 3);
    Bitmap dst = RandomBitmap(dw, dw, 4);
    const MdnSurface s = src.Surface(), d = dst.Surface();
    for (auto _ : state) {
        bitmap::StretchBitmap(&s, &d, filter);
        benchmark::DoNotOptimize(dst.pixels.data());
        benchmark::ClobberMemory();
    }
}

// pixman: a scale transform with the edges padded (clamped), nearest or bilinear.
void StretchPixman(benchmark::State& state, int sw, int dw, pixman_filter_t filter,
                   pixman_format_code_t format) {
    Bitmap source = RandomBitmap(sw, sw, 3);
    Bitmap dst = RandomBitmap(dw, dw, 4);
    pixman_image_t* src = source.Pixman(format);
    pixman_image_t* out = dst.Pixman(format);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_int_to_fixed(sw) / dw, pixman_int_to_fixed(sw) / dw);
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, filter, nullptr, 0);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, out, 0, 0, 0, 0, 0, 0, dw, dw);
        benchmark::DoNotOptimize(dst.pixels.data());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(out);
}

// ---- the summary --------------------------------------------------------------------------

// Keeps each benchmark's CPU times per iteration (ns) beside the console output, one per
// repetition: the summary takes their median, steadier than the fastest on a shared machine.
class Collector : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, std::vector<double>> ns;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const double t =
                run.GetAdjustedCPUTime() * (run.time_unit == benchmark::kMicrosecond ? 1e3 : 1.0);
            ns[run.run_name.function_name].push_back(t);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The median of a benchmark's repetitions; -1 when it did not run.
    double Median(const std::string& name) const {
        auto it = ns.find(name);
        if (it == ns.end() || it->second.empty())
            return -1.0;
        std::vector<double> t = it->second;
        std::sort(t.begin(), t.end());
        const size_t n = t.size();
        return n % 2 == 1 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
    }
};

struct Row {
    std::string label;
    std::string ours, plain, pixman, pixman565, pixman8888, floor;  // names, empty when none
};

std::vector<Row>& Rows() {
    static std::vector<Row> rows;
    return rows;
}

template <class F>
std::string Add(const std::string& name, F f) {
    benchmark::RegisterBenchmark(name.c_str(), f)->Unit(benchmark::kMicrosecond);
    return name;
}

void RegisterAll() {
    for (int size : {64, 128, 256}) {
        for (float degrees : {0.0f, 30.0f, 45.0f, 90.0f, 137.0f}) {
            const std::string tag = std::to_string(size) + "/" + std::to_string(int(degrees));
            Row row;
            row.label = "rotate " + tag;
            row.ours = Add("Rotate/ours/" + tag,
                           [=](benchmark::State& s) { RotateOurs(s, size, degrees, false, true); });
            row.plain = Add("Rotate/plain/" + tag, [=](benchmark::State& s) {
                RotateOurs(s, size, degrees, false, false);
            });
            row.floor = Add("Rotate/nearest/" + tag,
                            [=](benchmark::State& s) { RotateNearest(s, size, degrees); });
            row.pixman = Add("Rotate/pixman_x1r5g5b5/" + tag, [=](benchmark::State& s) {
                RotatePixman(s, size, degrees, PIXMAN_x1r5g5b5);
            });
            row.pixman565 = Add("Rotate/pixman_r5g6b5/" + tag, [=](benchmark::State& s) {
                RotatePixman(s, size, degrees, PIXMAN_r5g6b5);
            });
            row.pixman8888 = Add("Rotate/pixman_a8r8g8b8/" + tag, [=](benchmark::State& s) {
                RotatePixman(s, size, degrees, PIXMAN_a8r8g8b8);
            });
            Rows().push_back(row);
        }
        const std::string tag = std::to_string(size) + "/30";
        Row masked;
        masked.label = "rotate masked " + tag;
        masked.ours = Add("RotateMasked/ours/" + tag,
                          [=](benchmark::State& s) { RotateOurs(s, size, 30.0f, true, true); });
        masked.floor = "Rotate/nearest/" + tag;
        masked.pixman = "Rotate/pixman_x1r5g5b5/" + tag;
        masked.pixman565 = "Rotate/pixman_r5g6b5/" + tag;
        masked.pixman8888 = "Rotate/pixman_a8r8g8b8/" + tag;
        Rows().push_back(masked);
    }
    const std::pair<int, int> scalings[] = {{128, 256}, {256, 128}, {85, 255},
                                            {255, 85},  {100, 173}, {173, 100}};
    for (const auto& [sw, dw] : scalings) {
        for (uint32_t filter = 0; filter <= 3; ++filter) {
            const std::string tag =
                std::to_string(sw) + "to" + std::to_string(dw) + "/f" + std::to_string(filter);
            const pixman_filter_t pf = filter == 0 ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR;
            const std::string peer = std::to_string(sw) + "to" + std::to_string(dw) +
                                     (filter == 0 ? "/nearest" : "/bilinear");
            Row row;
            row.label = "stretch " + tag;
            row.ours = Add("Stretch/ours/" + tag,
                           [=](benchmark::State& s) { StretchOurs(s, sw, dw, filter, true); });
            row.plain = Add("Stretch/plain/" + tag,
                            [=](benchmark::State& s) { StretchOurs(s, sw, dw, filter, false); });
            if (filter <= 1) {
                Add("Stretch/pixman_x1r5g5b5/" + peer,
                    [=](benchmark::State& s) { StretchPixman(s, sw, dw, pf, PIXMAN_x1r5g5b5); });
                Add("Stretch/pixman_r5g6b5/" + peer,
                    [=](benchmark::State& s) { StretchPixman(s, sw, dw, pf, PIXMAN_r5g6b5); });
                Add("Stretch/pixman_a8r8g8b8/" + peer,
                    [=](benchmark::State& s) { StretchPixman(s, sw, dw, pf, PIXMAN_a8r8g8b8); });
            }
            row.pixman = "Stretch/pixman_x1r5g5b5/" + peer;
            row.pixman565 = "Stretch/pixman_r5g6b5/" + peer;
            row.pixman8888 = "Stretch/pixman_a8r8g8b8/" + peer;
            Rows().push_back(row);
        }
    }
}

void PrintSummary(const Collector& c) {
    auto get = [&](const std::string& name) { return c.Median(name); };
    std::printf("\n%-26s %10s %10s %7s %12s %8s %12s %8s %12s %8s %10s %8s\n", "case", "ours us",
                "no sse2 us", "x ours", "px x1r5g5b5", "ratio", "px r5g6b5", "ratio", "px a8r8g8b8",
                "ratio", "floor us", "x floor");
    for (const Row& row : Rows()) {
        const double ours = get(row.ours);
        if (ours <= 0)
            continue;  // not run (filtered out)
        std::printf("%-26s %10.2f", row.label.c_str(), ours / 1e3);
        const double plain = row.plain.empty() ? -1 : get(row.plain);
        if (plain > 0) {
            std::printf(" %10.2f %6.2fx", plain / 1e3, plain / ours);
        } else {
            std::printf(" %10s %7s", "-", "-");
        }
        for (const std::string* peer : {&row.pixman, &row.pixman565, &row.pixman8888}) {
            const double t = get(*peer);
            if (t > 0) {
                std::printf(" %12.2f %7.1fx", t / 1e3, t / ours);
            } else {
                std::printf(" %12s %8s", "-", "-");
            }
        }
        const double floor = row.floor.empty() ? -1 : get(row.floor);
        if (floor > 0)
            std::printf(" %10.2f %7.2fx", floor / 1e3, ours / floor);
        std::printf("\n");
    }
    std::printf(
        "medians of each benchmark's repetitions; ratio: pixman time / ours (higher is\n"
        "better for ours); x floor: ours / nearest; x ours: no sse2 / ours\n");
    std::printf("ours: the SSE2 loops; no sse2: the plain loops a processor without SSE2 gets\n");
}

}  // namespace

int main(int argc, char** argv) {
    // pixman's a8r8g8b8 peer with its SSE2 loops, not the newer ones this processor may have.
    setenv("PIXMAN_DISABLE", "ssse3 avx2", 0);
    bitmap::Load();
    RegisterAll();
    // Medians need repetitions: five unless the command line asks otherwise.
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    if (std::none_of(args.begin(), args.end(), [](const char* a) {
            return std::strncmp(a, "--benchmark_repetitions", 23) == 0;
        })) {
        args.push_back(repetitions);
    }
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    PrintSummary(collector);
    benchmark::Shutdown();
    return 0;
}
