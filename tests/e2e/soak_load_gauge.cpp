// The module loaded and unloaded many times in one simulator process (fs9.exe --no-module):
// each cycle loads it as the simulator does, uses every family of operations as a gauge
// would (and unregisters again, as a gauge does when its panel closes) and runs its own
// commands. After each unload nothing of it may remain: no hook or timer (messages still
// flow), no atom, no hot key. Over the cycles the process's handles, threads and memory must
// not grow. A second series also links the module and starts all three workers each time, so
// that every unload stops them: their threads end by themselves right after the unload,
// threads and handles come back exactly, and committed memory does not grow (a terminated
// thread's stack would stay behind); what the system keeps of each thread is printed.
// Settings: cycles (default 200), worker_cycles (default 8).
#include <cstdlib>

#include "soak_support.h"

namespace {

const char* const kOwnCommands[] = {"MDN_NAV_DEVICE_CYCLE", "MDN_SIMPLE_VOR_COMPATIBILITY",
                                    "MDN_DUMP_TFC", "MDN_DUMP_KEYS", "MDN_ADC_START"};
// The keys of this test's settings file (CTRL+SHIFT+F8 to F12) and of the gauge's command.
const UINT kBoundKeys[] = {VK_F5, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12};
constexpr char kGaugeCommand[] = "SOAK_LOAD_COMMAND";

const MdnOperationTable* ops = nullptr;
uint32_t gauge_client = 0;
uint32_t events_taken = 0;

void MDN_STDCALL OnKeys() {
    char name[64];
    while (ops->NextKeyEvent(gauge_client, name, nullptr) == 1)
        ++events_taken;
}
void MDN_STDCALL OnDeviceActive() {}
uint32_t MDN_STDCALL OnCustomToken(MdnVariableQuery* query) {
    query->value.f64 = 1.0;
    return 1;
}

struct Totals {
    uint32_t cycles = 0;
    uint32_t linked = 0;
    uint32_t fired = 0;
    uint32_t failures = 0;
};

uint32_t Fail(const SimDriver* d, Totals* totals, uint32_t cycle, const char* what) {
    // Only the first few failures are spelled out, so a broken cycle does not flood the log.
    if (++totals->failures <= 5) {
        char got[64];
        std::snprintf(got, sizeof got, "failed in cycle %lu", static_cast<unsigned long>(cycle));
        d->Check(0, what, "holds in every cycle", got);
    }
    return 0;
}

// A gauge's session: its own key client, device, range handler and work buffer, all
// released again before the module goes.
void UseAsGauge(const SimDriver* d, Totals* totals, uint32_t cycle) {
    gauge_client = ops->RegisterKeyClient(&OnKeys);
    char key[] = "ctrl+shift+f5";
    const uint32_t command = ops->BindKeyCommand(gauge_client, kGaugeCommand, key) & 0xFFFF;
    ops->EnableKeyClient(gauge_client);
    const uint32_t taken_before = events_taken;
    if (command == 0 || ops->FireKeyCommand(command) != 1 || events_taken != taken_before + 1)
        Fail(d, totals, cycle, "gauge command fired and taken");

    const uint32_t device = ops->RegisterNavDevice(&OnDeviceActive, "Soak Device", "SOAK");
    if (device == 0 || ops->SelectNavDevice(device, nullptr, nullptr) != 1)
        Fail(d, totals, cycle, "gauge device registered and selected");
    const uint32_t handler = ops->RegisterRangeHandler(&OnCustomToken, 70000, 70010);
    void* buffer = ops->AcquireWorkBuffer(65536, 16);
    if (handler == 0 || buffer == nullptr)
        Fail(d, totals, cycle, "range handler and work buffer");

    MdnTrafficRecord traffic[MDN_TRAFFIC_MAX];
    ops->GetTrafficList(traffic);
    uint32_t version = 0;
    if (ops->ServiceQuery(MDN_QUERY_VERSION, &version) != 1 || version != MDN_VERSION_PACKED)
        Fail(d, totals, cycle, "version query");

    ops->ReleaseWorkBuffer(buffer);
    ops->UnregisterRangeHandler(handler);
    ops->UnregisterNavDevice(device);
    ops->DisableKeyClient(gauge_client);
    ops->UnregisterKeyClient(gauge_client);
}

// The module's own commands, fired as their keys would be (the traffic dump excepted: it
// appends to a file on drive C that other tests read; the air-data start only with workers).
void RunOwnCommands(const SimDriver* d, Totals* totals, uint32_t cycle, bool workers) {
    for (const char* name : kOwnCommands) {
        if (std::strcmp(name, "MDN_DUMP_TFC") == 0)
            continue;
        if (!workers && std::strcmp(name, "MDN_ADC_START") == 0)
            continue;
        const uint32_t id = ops->FindKeyCommand(name) & 0xFFFF;
        if (id == 0 || ops->FireKeyCommand(id) != 1) {
            Fail(d, totals, cycle, "own command bound from the settings file and fired");
            continue;
        }
        ++totals->fired;
    }
}

// After an unload: the window's messages still flow, and no atom or hot key is left.
void CheckNothingLeft(const SimDriver* d, Totals* totals, uint32_t cycle) {
    soak::ExerciseWindow(d);
    for (const char* name : kOwnCommands) {
        if (FindAtomA(name) != 0)
            Fail(d, totals, cycle, "own command atoms deleted at unload");
    }
    if (FindAtomA(kGaugeCommand) != 0)
        Fail(d, totals, cycle, "gauge command atom deleted");
    HWND window = static_cast<HWND>(d->main_window);
    for (UINT vk : kBoundKeys) {
        if (!RegisterHotKey(window, 0x3FF0, MOD_CONTROL | MOD_SHIFT, vk)) {
            Fail(d, totals, cycle, "hot keys free after unload");
            continue;
        }
        UnregisterHotKey(window, 0x3FF0);
    }
}

bool Cycle(const SimDriver* d, Totals* totals, uint32_t cycle, bool workers) {
    const uint32_t threads = d->ThreadCount();
    HMODULE module = soak::LoadModule(d);
    if (module == nullptr || (ops = soak::Operations(module)) == nullptr) {
        Fail(d, totals, cycle, "module loads");
        return false;
    }
    soak::ExerciseWindow(d);  // the hooks build the menu and see activation changes
    UseAsGauge(d, totals, cycle);
    RunOwnCommands(d, totals, cycle, workers);
    if (workers) {
        // The link timer's first tick links and starts two workers beside the air-data one.
        d->Pump(2150);
        if (d->ThreadCount() != threads + 3)
            Fail(d, totals, cycle, "linked: air-data, autopilot-source and GPS workers run");
        ++totals->linked;
    }
    if (!soak::UnloadModule(module))
        Fail(d, totals, cycle, "module gone after FreeLibrary");
    // The workers left their loops during the unload; their ends wait for the loader's lock,
    // which the unload held, and follow at once.
    const uint32_t until = d->Now() + 1000;
    while (d->ThreadCount() > threads && d->Now() < until)
        Sleep(1);
    if (d->ThreadCount() != threads)
        Fail(d, totals, cycle, "the workers' threads end right after the unload");
    ops = nullptr;
    CheckNothingLeft(d, totals, cycle);
    ++totals->cycles;
    return true;
}

uint32_t SettingNumber(const SimDriver* d, const char* key, uint32_t fallback) {
    const char* text = d->Setting(key);
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

void Report(const SimDriver* d, const char* series, const Totals& totals, uint32_t elapsed,
            const soak::Resources& before, const soak::Resources& after) {
    soak::LogResources(d, "before", before);
    soak::LogResources(d, "after", after);
    SimLogf(d,
            "%s: %lu load cycles in %lu ms (%lu linked with the workers started), %lu own "
            "commands fired, %lu gauge commands taken",
            series, static_cast<unsigned long>(totals.cycles), static_cast<unsigned long>(elapsed),
            static_cast<unsigned long>(totals.linked), static_cast<unsigned long>(totals.fired),
            static_cast<unsigned long>(events_taken));
    SimLogf(d, "%s: growth %lld handles, %lld threads, %lld heap bytes, %lld KB committed", series,
            soak::Growth(before.handles, after.handles),
            soak::Growth(before.threads, after.threads),
            soak::Growth(before.heap_bytes, after.heap_bytes),
            soak::Growth(before.committed_bytes, after.committed_bytes) / 1024);
}

void CheckAtMost(const SimDriver* d, const char* what, long long limit, long long got) {
    char expected[64], actual[64];
    std::snprintf(expected, sizeof expected, "at most %lld", limit);
    std::snprintf(actual, sizeof actual, "%lld", got);
    d->Check(got <= limit, what, expected, actual);
}

// Every handle comes back but the unwinder's lock, at most one a load (see soak_support.h).
void CheckHandles(const SimDriver* d, const char* series, uint32_t cycles,
                  const soak::Resources& before, const soak::Resources& after) {
    char what[96];
    std::snprintf(what, sizeof what, "handles other than unnamed semaphores after %s", series);
    SimCheckU32(d, what, before.handles - before.unnamed_semaphores,
                after.handles - after.unnamed_semaphores);
    std::snprintf(what, sizeof what, "unnamed semaphores left by %s (at most one a load)", series);
    CheckAtMost(d, what, cycles, soak::Growth(before.unnamed_semaphores, after.unnamed_semaphores));
}

soak::Resources Settled(const SimDriver* d) {
    d->Pump(200);
    return soak::Measure(d);
}

}  // namespace

SIM_GAUGE_ENTRY {
    const uint32_t cycles = SettingNumber(driver, "cycles", 200);
    const uint32_t worker_cycles = SettingNumber(driver, "worker_cycles", 8);
    // The simulator itself keeps the system libraries the module imports loaded; without
    // that each cycle would load and unload them too, and Wine's multimedia library leaves
    // registry handles behind at every unload.
    for (const char* library :
         {"winmm.dll", "version.dll", "shell32.dll", "ole32.dll", "advapi32.dll"})
        LoadLibraryA(library);
    // The first cycles load what stays loaded afterwards (Wine's own caches); the figures are
    // taken from there on.
    Totals warm_up;
    for (uint32_t i = 0; i < 3; ++i)
        Cycle(driver, &warm_up, i, i == 0);
    SimCheckU32(driver, "warm-up cycles with a failed check", 0, warm_up.failures);

    Totals plain;
    const soak::Resources before = Settled(driver);
    uint32_t start = driver->Now();
    for (uint32_t i = 0; i < cycles && Cycle(driver, &plain, i, false); ++i) {
    }
    const uint32_t plain_ms = driver->Now() - start;
    const soak::Resources after = Settled(driver);
    Report(driver, "plain cycles", plain, plain_ms, before, after);
    SimCheckU32(driver, "load cycles completed", cycles, plain.cycles);
    SimCheckU32(driver, "cycles with a failed check", 0, plain.failures);
    CheckHandles(driver, "the cycles", plain.cycles, before, after);
    SimCheckU32(driver, "threads after the cycles", before.threads, after.threads);
    // The heap may settle by a few blocks of the system's own; a leak of one small block a
    // cycle would show as thousands of bytes.
    CheckAtMost(driver, "heap growth over the cycles (bytes)", 4096,
                soak::Growth(before.heap_bytes, after.heap_bytes));
    CheckAtMost(driver, "committed memory growth over the cycles (KB)", 64,
                soak::Growth(before.committed_bytes, after.committed_bytes) / 1024);

    Totals with_workers;
    start = driver->Now();
    for (uint32_t i = 0; i < worker_cycles && Cycle(driver, &with_workers, i, true); ++i) {
    }
    const uint32_t workers_ms = driver->Now() - start;
    const soak::Resources end = Settled(driver);
    Report(driver, "cycles with workers", with_workers, workers_ms, after, end);
    SimCheckU32(driver, "cycles with workers completed", worker_cycles, with_workers.cycles);
    SimCheckU32(driver, "cycles with workers with a failed check", 0, with_workers.failures);
    CheckHandles(driver, "the cycles with workers", with_workers.cycles, after, end);
    SimCheckU32(driver, "threads after the cycles with workers", after.threads, end.threads);
    // The workers end by themselves: a terminated thread would leave the C run-time's block
    // for it (961 bytes) and its stack (3,136 KB committed under Wine).
    const uint32_t stopped = 3 * with_workers.cycles;
    if (stopped != 0) {
        SimLogf(driver, "kept per stopped worker thread: %lld heap bytes, %lld KB committed",
                soak::Growth(after.heap_bytes, end.heap_bytes) / stopped,
                soak::Growth(after.committed_bytes, end.committed_bytes) / 1024 / stopped);
        CheckAtMost(driver, "heap kept per stopped worker thread (bytes)", 256,
                    soak::Growth(after.heap_bytes, end.heap_bytes) / stopped);
        CheckAtMost(driver, "committed memory growth over the cycles with workers (KB)", 256,
                    soak::Growth(after.committed_bytes, end.committed_bytes) / 1024);
    }
    return 0;
}
