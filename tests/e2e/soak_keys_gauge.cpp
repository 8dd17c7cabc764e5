// Ten thousand hot-key presses while gauges register and unregister key clients from inside
// their own callbacks: most presses are fired commands (FireKeyCommand), a thousand are real
// key presses through SendInput that arrive as WM_HOTKEY, each followed by the same WM_HOTKEY
// posted again without a press, which must not be delivered. Each delivered press must reach
// its client exactly once however the registry changes under the dispatch.
// Settings: fired (default 9000), real (default 1000).
#include <cstdlib>
#include <vector>

#include "soak_support.h"

namespace {

constexpr int kSlots = 12;
constexpr uint32_t kBatch = 10;            // distinct keys pressed in one SendInput
constexpr uint32_t kSameKeySpacing = 110;  // Wine caches a released key's state for 50 ms

const MdnOperationTable* ops = nullptr;

struct Slot {
    uint32_t handle = 0;
    bool registered = false;
    uint32_t keyed = 0;    // command with the slot's key, CTRL+SHIFT+<letter>
    uint32_t keyless = 0;  // command without a key: only FireKeyCommand reaches it
    UINT vk = 0;
    char keyed_name[32] = {};
    char keyless_name[32] = {};
};
Slot slots[kSlots];

struct Counts {
    uint32_t fired = 0, fired_delivered = 0;
    uint32_t real = 0, real_delivered = 0;
    uint32_t duplicates = 0, duplicates_delivered = 0;
    uint32_t stale_refused = 0, stale_delivered = 0;
    uint32_t nested = 0, nested_delivered = 0;
    uint32_t taken = 0, foreign = 0;
    uint32_t registrations = 0, unregistrations = 0, self_unregistrations = 0;
    uint32_t in_callback_registrations = 0, in_callback_unregistrations = 0;
    uint32_t failures = 0;
} counts;

bool real_phase = false;  // callbacks then change only their own client and free slots
int depth = 0;

uint32_t random_state = 0x2545F491u;
uint32_t Random(uint32_t below) {
    random_state ^= random_state << 13;
    random_state ^= random_state >> 17;
    random_state ^= random_state << 5;
    return random_state % below;
}

void Failed(const SimDriver* d, const char* what) {
    if (++counts.failures <= 5)
        d->Check(0, what, "holds for every press", "broken");
}
const SimDriver* driver_for_callbacks = nullptr;

// One callback address per slot, since a client's handle is its callback's.
void OnKeys(int i);
template <int N>
void MDN_STDCALL Callback() {
    OnKeys(N);
}
MdnKeyClientCallback const kCallbacks[kSlots] = {
    &Callback<0>, &Callback<1>, &Callback<2>, &Callback<3>, &Callback<4>,  &Callback<5>,
    &Callback<6>, &Callback<7>, &Callback<8>, &Callback<9>, &Callback<10>, &Callback<11>};

bool Register(int i) {
    Slot& s = slots[i];
    s.handle = ops->RegisterKeyClient(kCallbacks[i]);
    char key[32];
    std::snprintf(key, sizeof key, "ctrl+shift+%c", 'a' + i);  // upper-cased in place
    s.keyed = ops->BindKeyCommand(s.handle, s.keyed_name, key) & 0xFFFF;
    char empty[] = "";
    s.keyless = ops->BindKeyCommand(s.handle, s.keyless_name, empty) & 0xFFFF;
    const uint32_t enabled = ops->EnableKeyClient(s.handle);
    s.registered = s.handle != 0 && s.keyed != 0 && s.keyless != 0 && enabled == 1;
    if (!s.registered)
        Failed(driver_for_callbacks, "client registered, its names bound again, enabled");
    ++counts.registrations;
    return s.registered;
}

void Unregister(int i) {
    Slot& s = slots[i];
    if (ops->UnregisterKeyClient(s.handle) != 1 || ops->FindKeyCommand(s.keyed_name) != 0)
        Failed(driver_for_callbacks, "client unregistered and its names freed");
    s.registered = false;
    ++counts.unregistrations;
}

int RandomSlot(bool registered) {
    int candidates[kSlots];
    int n = 0;
    for (int i = 0; i < kSlots; ++i) {
        if (slots[i].registered == registered)
            candidates[n++] = i;
    }
    return n == 0 ? -1 : candidates[Random(static_cast<uint32_t>(n))];
}

bool HeldByAClient(uint32_t id) {
    for (const Slot& s : slots) {
        if (s.registered && (s.keyed == id || s.keyless == id))
            return true;
    }
    return false;
}

uint32_t Fire(uint32_t id) {
    ++depth;
    const uint32_t result = ops->FireKeyCommand(id);
    --depth;
    return result;
}

// Every client's callback: take what waits, then change the registry as a gauge might.
void OnKeys(int i) {
    Slot& s = slots[i];
    char name[64];
    MdnKeyBinding binding{};
    while (s.registered && ops->NextKeyEvent(s.handle, name, &binding) == 1) {
        ++counts.taken;
        if ((binding.command != s.keyed || std::strcmp(name, s.keyed_name) != 0) &&
            (binding.command != s.keyless || std::strcmp(name, s.keyless_name) != 0)) {
            ++counts.foreign;
        }
    }
    if (!s.registered)
        return;
    const uint32_t r = Random(100);
    if (r < 10) {
        Unregister(i);
        ++counts.self_unregistrations;
        ++counts.in_callback_unregistrations;
    } else if (r < 16 && !real_phase) {
        const int other = RandomSlot(true);
        if (other >= 0 && other != i) {
            Unregister(other);
            ++counts.in_callback_unregistrations;
        }
    } else if (r < 30) {
        const int free_slot = RandomSlot(false);
        if (free_slot >= 0 && Register(free_slot))
            ++counts.in_callback_registrations;
    } else if (r < 33 && !real_phase && depth < 3) {
        const int target = RandomSlot(true);
        if (target >= 0) {
            ++counts.nested;
            if (Fire(slots[target].keyed) == 1)
                ++counts.nested_delivered;
        }
    }
}

void FiredPhase(const SimDriver* d, uint32_t presses) {
    while (counts.fired < presses) {
        if (counts.fired % 1000 == 999) {
            // The simulator loses and regains the foreground: hot keys withdrawn and back,
            // fired commands still delivered meanwhile.
            d->SetAppActive(0);
            d->SetAppActive(1);
        }
        // A command of a client that has gone; its atom may since name another command.
        const int stale = RandomSlot(false);
        if (stale >= 0 && Random(20) == 0 && !HeldByAClient(slots[stale].keyed)) {
            if (Fire(slots[stale].keyed) == 0)
                ++counts.stale_refused;
            else
                ++counts.stale_delivered;
        }
        const int i = RandomSlot(true);
        if (i < 0) {
            Register(RandomSlot(false));
            continue;
        }
        const uint32_t id = Random(5) == 0 ? slots[i].keyless : slots[i].keyed;
        ++counts.fired;
        if (Fire(id) == 1)
            ++counts.fired_delivered;
        else
            Failed(d, "a fired command of an enabled client is delivered");
    }
}

void SendBatch(const std::vector<int>& batch) {
    std::vector<INPUT> inputs;
    auto key = [&](UINT vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(vk);
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    key(VK_CONTROL, false);
    key(VK_SHIFT, false);
    for (int i : batch) {
        key(slots[i].vk, false);
        key(slots[i].vk, true);
    }
    key(VK_SHIFT, true);
    key(VK_CONTROL, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void RealPhase(const SimDriver* d, uint32_t presses) {
    real_phase = true;
    HWND window = static_cast<HWND>(d->main_window);
    SetForegroundWindow(window);
    uint32_t last_batch = d->Now() - kSameKeySpacing;
    while (counts.real < presses) {
        std::vector<int> batch;
        for (int i = 0; i < kSlots && batch.size() < kBatch; ++i) {
            if (slots[(i + counts.real) % kSlots].registered)
                batch.push_back((i + counts.real) % kSlots);
        }
        if (batch.empty()) {
            Register(RandomSlot(false));
            continue;
        }
        while (d->Now() - last_batch < kSameKeySpacing)
            d->Pump(5);
        last_batch = d->Now();
        const uint32_t taken = counts.taken;
        SendBatch(batch);
        counts.real += static_cast<uint32_t>(batch.size());
        const uint32_t until = d->Now() + 500;
        while (counts.taken - taken < batch.size() && d->Now() < until)
            d->Pump(5);
        counts.real_delivered += counts.taken - taken;

        // The same messages again without a press: the key state shows no new press.
        const uint32_t before_duplicates = counts.taken;
        for (int i : batch) {
            if (slots[i].registered) {
                PostMessageA(window, WM_HOTKEY, slots[i].keyed, 0);
                ++counts.duplicates;
            }
        }
        d->Pump(10);
        counts.duplicates_delivered += counts.taken - before_duplicates;
    }
    real_phase = false;
}

uint32_t SettingNumber(const SimDriver* d, const char* key, uint32_t fallback) {
    const char* text = d->Setting(key);
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

}  // namespace

SIM_GAUGE_ENTRY {
    driver_for_callbacks = driver;
    ops = soak::Operations(static_cast<HMODULE>(driver->module));
    if (ops == nullptr)
        return driver->Check(0, "operation table", "found", "missing"), 0;
    for (int i = 0; i < kSlots; ++i) {
        slots[i].vk = static_cast<UINT>('A' + i);
        std::snprintf(slots[i].keyed_name, sizeof slots[i].keyed_name, "SOAK_KEY_%c", 'A' + i);
        std::snprintf(slots[i].keyless_name, sizeof slots[i].keyless_name, "SOAK_KEYLESS_%c",
                      'A' + i);
    }
    // Linked first, so that the workers the link starts are there before and after.
    driver->PumpUntilTicks(1, 4000);
    for (int i = 0; i < kSlots; i += 2)
        Register(i);
    const soak::Resources before = soak::Measure(driver);
    soak::LogResources(driver, "before", before);

    const uint32_t start = driver->Now();
    FiredPhase(driver, SettingNumber(driver, "fired", 9000));
    const uint32_t fired_ms = driver->Now() - start;
    RealPhase(driver, SettingNumber(driver, "real", 1000));
    const uint32_t elapsed = driver->Now() - start;

    for (int i = 0; i < kSlots; ++i) {
        if (slots[i].registered)
            Unregister(i);
    }
    driver->Pump(50);
    const soak::Resources after = soak::Measure(driver);
    soak::LogResources(driver, "after", after);

    SimLogf(driver,
            "presses: %lu fired (%lu delivered) in %lu ms, %lu real through SendInput (%lu "
            "delivered), %lu in %lu ms in all; %lu repeated WM_HOTKEY without a press (%lu "
            "delivered); %lu commands of unregistered clients fired (%lu delivered); %lu fired "
            "from inside callbacks (%lu delivered)",
            static_cast<unsigned long>(counts.fired),
            static_cast<unsigned long>(counts.fired_delivered),
            static_cast<unsigned long>(fired_ms), static_cast<unsigned long>(counts.real),
            static_cast<unsigned long>(counts.real_delivered),
            static_cast<unsigned long>(counts.fired + counts.real),
            static_cast<unsigned long>(elapsed), static_cast<unsigned long>(counts.duplicates),
            static_cast<unsigned long>(counts.duplicates_delivered),
            static_cast<unsigned long>(counts.stale_refused + counts.stale_delivered),
            static_cast<unsigned long>(counts.stale_delivered),
            static_cast<unsigned long>(counts.nested),
            static_cast<unsigned long>(counts.nested_delivered));
    SimLogf(driver,
            "clients: %lu registrations (%lu inside callbacks), %lu unregistrations (%lu inside "
            "callbacks, %lu of them the calling client itself); %lu events taken",
            static_cast<unsigned long>(counts.registrations),
            static_cast<unsigned long>(counts.in_callback_registrations),
            static_cast<unsigned long>(counts.unregistrations),
            static_cast<unsigned long>(counts.in_callback_unregistrations),
            static_cast<unsigned long>(counts.self_unregistrations),
            static_cast<unsigned long>(counts.taken));

    SimCheckU32(driver, "fired presses delivered", counts.fired, counts.fired_delivered);
    SimCheckU32(driver, "real presses delivered", counts.real, counts.real_delivered);
    SimCheckU32(driver, "repeated WM_HOTKEY without a press delivered", 0,
                counts.duplicates_delivered);
    SimCheckU32(driver, "commands of unregistered clients delivered", 0, counts.stale_delivered);
    SimCheckU32(driver, "events taken (each delivered press once)",
                counts.fired_delivered + counts.real_delivered + counts.nested_delivered,
                counts.taken);
    SimCheckU32(driver, "events taken by a client that did not bind them", 0, counts.foreign);
    SimCheckU32(driver, "presses with a broken expectation", 0, counts.failures);
    SimCheckU32(driver, "registrations inside callbacks happened", 1,
                counts.in_callback_registrations > 100 ? 1 : 0);
    SimCheckU32(driver, "self-unregistrations inside callbacks happened", 1,
                counts.self_unregistrations > 100 ? 1 : 0);

    HWND window = static_cast<HWND>(driver->main_window);
    uint32_t left_atoms = 0, taken_keys = 0;
    for (const Slot& s : slots) {
        left_atoms += (FindAtomA(s.keyed_name) != 0) + (FindAtomA(s.keyless_name) != 0);
        if (RegisterHotKey(window, 0x3FF0, MOD_CONTROL | MOD_SHIFT, s.vk))
            UnregisterHotKey(window, 0x3FF0);
        else
            ++taken_keys;
    }
    SimCheckU32(driver, "command atoms left after the clients went", 0, left_atoms);
    SimCheckU32(driver, "hot keys left after the clients went", 0, taken_keys);
    SimCheckU32(driver, "handles after the presses", before.handles, after.handles);
    SimCheckU32(driver, "threads after the presses", before.threads, after.threads);
    return 0;
}
