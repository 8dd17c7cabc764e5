// One heavy gauge frame, as the simulator's main thread runs it at Direct3D 9's control word
// 0x007F: three rotations of a 256x256 texture, two filter-2 scalings 128->256, 2,000 panel
// lookups through the hook and 100 small operation calls, all through the table and the hook
// as a gauge and the simulator reach them. Reports the frame's share of 16.7 ms (60 fps).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "linked_module.h"
#include "host/module_entry.h"
#include "mdnsrv.h"
#include "navigation/nav_registry.h"
#include "navigation/navigation.h"
#include "navigation/panels_hook.h"
#include "platform/fake.h"
#include "runtime/address_word.h"
#include "runtime/import_table.h"
#include "runtime/x87_guard.h"
#include "service/exports.h"

namespace {

struct Image {
    std::vector<uint16_t> pixels;
    MdnSurface surface;
    Image(int width, int height) : pixels(static_cast<size_t>(width) * height) {
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<uint16_t>((i * 2654435761u) >> 17) & 0x7FFF;
        surface = MdnSurface{pixels.data(), static_cast<int16_t>(width),
                             static_cast<int16_t>(height), static_cast<int16_t>(2 * width)};
    }
};

// The tokens of a frame's lookups: mostly the simulator's own, a few from the gauge's block.
std::vector<MdnVariableQuery> FrameLookups() {
    std::vector<MdnVariableQuery> queries(2000);
    for (size_t i = 0; i < queries.size(); ++i) {
        queries[i].token = static_cast<int32_t>(i % 10 == 0 ? 835 : (i * 37) % 900);
    }
    return queries;
}

void HeavyFrame(benchmark::State& state) {
    fake::Reset();
    host::OnLoad();
    const bench::LinkedModule module(true);
    const uint32_t gauge = module.gauge;

    const MdnOperationTable& table = *MdnSrv.table;
    const runtime::VariableLookupFn lookup = module.Hooked();
    Image texture(256, 256), small(128, 128);
    Image dial(256, 256), scaled_a(256, 256), scaled_b(256, 256);
    std::vector<MdnVariableQuery> lookups = FrameLookups();

    const uint16_t own_word = runtime::X87ControlWord();
    runtime::SetX87ControlWord(0x007F);
    uint32_t step = 0;
    double frame_seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 3; ++i)
            table.RotateBitmap(&texture.surface, &dial.surface, 30.0f + static_cast<float>(i));
        table.StretchBitmap(&small.surface, &scaled_a.surface, MDN_FILTER_BILINEAR);
        table.StretchBitmap(&small.surface, &scaled_b.surface, MDN_FILTER_BILINEAR);
        for (MdnVariableQuery& q : lookups)
            lookup(&q);
        for (int i = 0; i < 25; ++i) {
            uint32_t vor = 0;
            benchmark::DoNotOptimize(table.IsNavDeviceActive(gauge));
            benchmark::DoNotOptimize(table.GetPanelsHookState());
            benchmark::DoNotOptimize(table.ServiceQuery(MDN_QUERY_VOR_PASS_THROUGH, &vor));
            benchmark::DoNotOptimize(table.NextKeyEvent(step++, nullptr, nullptr));
        }
        benchmark::ClobberMemory();
        frame_seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    runtime::SetX87ControlWord(own_word);
    // The frame's share of 16.7 ms, the time one frame has at 60 frames a second.
    state.counters["frame_share_pct"] =
        100.0 * frame_seconds / static_cast<double>(state.iterations()) / 16.7e-3;

    navigation::UnhookPanels();
    host::OnUnload();
    fake::Reset();
}

}  // namespace

BENCHMARK(HeavyFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
