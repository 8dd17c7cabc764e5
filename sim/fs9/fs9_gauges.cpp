// Gauges as the panel system has them: loaded in order after the module, kept loaded while
// the session (the scenario) runs, so that key presses, menus and lookups reach them, and
// unloaded last first. A test gauge's GaugeRun is called once, right after its load.
#include <cstdio>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

struct LoadedGauge {
    std::string path;  // full path
    HMODULE handle = nullptr;
    uintptr_t base = 0, end = 0;
};

SimGaugeRunFn FindGaugeRun(HMODULE gauge) {
    for (const char* name : {"GaugeRun", "GaugeRun@4", "_GaugeRun@4"}) {
        if (FARPROC found = GetProcAddress(gauge, name))
            return reinterpret_cast<SimGaugeRunFn>(found);
    }
    return nullptr;
}

// Loads the gauge and calls its GaugeRun; false when it loaded and has none.
bool LoadGauge(const std::string& path, std::vector<LoadedGauge>* loaded) {
    HMODULE handle = nullptr;
    {
        const ActionScope action("loading gauge %s (its DllMain runs now)", path.c_str());
        Log("loading gauge %s", path.c_str());
        handle = LoadLibraryA(path.c_str());
    }
    if (handle == nullptr) {
        Check(false, "gauge loads", path.c_str(), "LoadLibrary failed");
        return true;
    }
    LoadedGauge gauge;
    char full[MAX_PATH] = {};
    GetModuleFileNameA(handle, full, sizeof full);
    gauge.path = full;
    gauge.handle = handle;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(handle);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const uint8_t*>(handle) + dos->e_lfanew);
    gauge.base = reinterpret_cast<uintptr_t>(handle);
    gauge.end = gauge.base + nt->OptionalHeader.SizeOfImage;
    loaded->push_back(gauge);
    TheWorld().loaded_gauges.push_back(gauge.path);

    const SimGaugeRunFn run = FindGaugeRun(handle);
    if (run == nullptr) {
        Log("gauge has no GaugeRun: it stays loaded while the scenario runs");
        return false;
    }
    TheWorld().running_gauge = gauge.path;
    {
        const ActionScope in_gauge("in GaugeRun of %s (the gauge's own code)", gauge.path.c_str());
        SetCallerFpu();
        const uint32_t result = run(Driver());
        CheckCallerFpu("GaugeRun");
        if (result != 0) {
            char got[32];
            std::snprintf(got, sizeof got, "%lu", static_cast<unsigned long>(result));
            Check(false, "GaugeRun result", "0", got);
        }
    }
    TheWorld().running_gauge.clear();
    return true;
}

void UnloadGauge(const LoadedGauge& gauge) {
    const ActionScope action("unloading gauge %s (its DllMain runs now)", gauge.path.c_str());
    FreeLibrary(gauge.handle);
    // After its DllMain: a gauge may tear down there.
    ListLeftRegistered(gauge.base, gauge.end, gauge.path);
    std::vector<std::string>& names = TheWorld().loaded_gauges;
    if (!names.empty())
        names.pop_back();
    Log("gauge unloaded: %s", gauge.path.c_str());
}

}  // namespace

bool RunGaugesAndScenario() {
    const Options& options = TheWorld().options;
    if (!options.scenario.empty() && !ScenarioKnown(options.scenario))
        return false;
    SetLastAction("running the gauges and the scenario");
    std::vector<LoadedGauge> loaded;
    bool idle_needed = options.gauges.empty();
    for (const std::string& path : options.gauges)
        idle_needed |= !LoadGauge(path, &loaded);
    if (!options.scenario.empty()) {
        RunScenario(options.scenario);
    } else if (idle_needed) {
        RunScenario("idle");
    }
    for (auto gauge = loaded.rbegin(); gauge != loaded.rend(); ++gauge)
        UnloadGauge(*gauge);
    return true;
}

}  // namespace fs9
