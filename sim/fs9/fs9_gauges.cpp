// Gauges as the panel system has them: loaded in order after the module, kept loaded while
// the session (the scenario) runs, so that key presses, menus and lookups reach them, and
// unloaded last first. A test gauge's GaugeRun is called once, right after its load.
#include <cstdio>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

struct LoadedGauge : GaugeImage {
    HMODULE handle = nullptr;
};

SimGaugeRunFn FindGaugeRun(HMODULE gauge) {
    for (const char* name : {"GaugeRun", "GaugeRun@4", "_GaugeRun@4"}) {
        if (FARPROC found = GetProcAddress(gauge, name))
            return reinterpret_cast<SimGaugeRunFn>(found);
    }
    return nullptr;
}

// Loads the gauge and calls its GaugeRun; false when it loaded and has none. A gauge that
// cannot be loaded leaves `error_text` set.
bool LoadGauge(const std::string& path, std::vector<LoadedGauge>* loaded, std::string* error_text) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error_text = "the gauge " + path + " is missing";
        return true;
    }
    HMODULE handle = nullptr;
    DWORD error = 0;
    {
        const ActionScope action("loading gauge %s (its DllMain runs now)", path.c_str());
        Log("loading gauge %s", path.c_str());
        TheWorld().loading_gauge = path;
        handle = LoadLibraryA(path.c_str());
        error = GetLastError();
        TheWorld().loading_gauge.clear();
    }
    if (handle == nullptr) {
        *error_text = "the gauge " + path + " cannot be loaded (error " + std::to_string(error) +
                      (error == ERROR_MOD_NOT_FOUND ? ": it, or a DLL it needs, is missing)" : ")");
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
    TheWorld().loaded_gauges.push_back(gauge);

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
    const unsigned left = ListLeftRegistered(gauge.base, gauge.end, gauge.path);
    if (TheWorld().options.strict) {
        char got[32];
        std::snprintf(got, sizeof got, "%u registration(s)", left);
        Check(left == 0, "nothing left registered at unload (--strict)", "none", got);
    }
    std::vector<GaugeImage>& images = TheWorld().loaded_gauges;
    if (!images.empty())
        images.pop_back();
    Log("gauge unloaded: %s", gauge.path.c_str());
}

}  // namespace

bool RunGaugesAndScenario(std::string* error) {
    const Options& options = TheWorld().options;
    if (!options.scenario.empty() && !ScenarioKnown(options.scenario)) {
        *error = "unknown scenario " + options.scenario;
        return false;
    }
    SetLastAction("running the gauges and the scenario");
    std::vector<LoadedGauge> loaded;
    bool idle_needed = options.gauges.empty();
    for (const std::string& path : options.gauges) {
        idle_needed |= !LoadGauge(path, &loaded, error);
        if (!error->empty())
            return false;
    }
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
