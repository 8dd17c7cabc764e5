// The driver table handed to gauges.
#include <cstdio>
#include <cstring>

#include "fs9_log.h"
#include "fs9_world.h"
#include "mdnsrv.h"

namespace fs9 {
namespace {

std::string output_folder;

uint32_t SIM_STDCALL DNow() {
    return Now();
}
void SIM_STDCALL DPump(uint32_t ms) {
    const ActionScope action("driver Pump: pumping messages for %u ms", ms);
    Pump(ms);
}
uint32_t SIM_STDCALL DPumpUntilTicks(uint32_t count, uint32_t max_ms) {
    const ActionScope action("driver PumpUntilTicks: waiting for link timer tick %u", count);
    return PumpUntilTicks(count, max_ms);
}
uint32_t SIM_STDCALL DTimerTicks(SimTimerTick* out, uint32_t max) {
    const std::vector<SimTimerTick> ticks = Ticks();
    for (uint32_t i = 0; out && i < max && i < ticks.size(); ++i)
        out[i] = ticks[i];
    return static_cast<uint32_t>(ticks.size());
}
void SIM_STDCALL DPressKeys(uint32_t modifiers, uint32_t vk) {
    const ActionScope action("driver PressKeys");
    PressKeys(modifiers, vk);
}
void SIM_STDCALL DSetAppActive(uint32_t active) {
    const ActionScope action("driver SetAppActive");
    SetAppActive(active != 0);
}
void SIM_STDCALL DPaintFrame() {
    const ActionScope action("driver PaintFrame");
    PaintFrame();
}
void SIM_STDCALL DOpenMenuBar() {
    const ActionScope action("driver OpenMenuBar");
    OpenMenuBar();
}
void SIM_STDCALL DPostCommand(uint32_t id) {
    const ActionScope action("driver PostCommand");
    PostCommand(id);
}
uint32_t SIM_STDCALL DFindMenuCommand(const char* text) {
    return FindMenuCommand(text);
}
uint32_t SIM_STDCALL DDescribeMenus(char* out, uint32_t size) {
    if (out == nullptr || size == 0)
        return 0;
    const std::string text = DescribeMenus();
    const size_t n = text.size() < size ? text.size() : size - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return static_cast<uint32_t>(n);
}
uint32_t SIM_STDCALL DBoxCount() {
    return static_cast<uint32_t>(Boxes().size());
}
uint32_t SIM_STDCALL DGetBox(uint32_t index, SimBox* out) {
    const std::vector<SimBox> boxes = Boxes();
    if (out == nullptr || index >= boxes.size())
        return 0;
    *out = boxes[index];
    return 1;
}
void SIM_STDCALL DQueueBoxAnswer(uint32_t button) {
    QueueAnswer(static_cast<int>(button));
}
void* const* SIM_STDCALL DPanelsTable() {
    return PanelsTable();
}
void* SIM_STDCALL DStandInExport(const char* module, const char* name) {
    if (module == nullptr || name == nullptr)
        return nullptr;
    HMODULE handle = StandInHandle(module);
    return handle ? reinterpret_cast<void*>(GetProcAddress(handle, name)) : nullptr;
}
uint32_t SIM_STDCALL DLoadStandIn(const char* module) {
    if (module == nullptr)
        return 0;
    const ActionScope action("driver LoadStandIn: loading stand-in module %s", module);
    return LoadStandIn(module) ? 1 : 0;
}
uint32_t SIM_STDCALL DThreadCount() {
    return ThreadCount();
}
const char* SIM_STDCALL DSetting(const char* key) {
    if (key == nullptr)
        return nullptr;
    const auto& settings = TheWorld().options.settings;
    auto found = settings.find(key);
    return found == settings.end() ? nullptr : found->second.c_str();
}
void SIM_STDCALL DLog(const char* line) {
    Log("%s", line ? line : "");
}
uint32_t SIM_STDCALL DCheck(uint32_t ok, const char* what, const char* expected, const char* got) {
    return Check(ok != 0, what ? what : "", expected, got) ? 1 : 0;
}
uint32_t SIM_STDCALL DLookupVariable(int32_t token, double* value, uint32_t* word) {
    const ActionScope action("driver LookupVariable: looking token %ld up through word 40",
                             static_cast<long>(token));
    MdnVariableQuery query{};
    query.token = token;
    void* const* panels = PanelsTable();
    using LookupFn = uint32_t(MDN_STDCALL*)(MdnVariableQuery*);
    const auto lookup = panels ? reinterpret_cast<LookupFn>(panels[40]) : nullptr;
    const uint32_t result = lookup ? lookup(&query) : 0;
    if (value)
        *value = query.value.f64;
    if (word)
        *word = query.value.u32;
    return result;
}

SimDriver driver = {
    sizeof(SimDriver),
    SIM_DRIVER_VERSION,
    nullptr,
    nullptr,
    "",
    &DNow,
    &DPump,
    &DPumpUntilTicks,
    &DTimerTicks,
    &DPressKeys,
    &DSetAppActive,
    &DPaintFrame,
    &DOpenMenuBar,
    &DPostCommand,
    &DFindMenuCommand,
    &DDescribeMenus,
    &DBoxCount,
    &DGetBox,
    &DQueueBoxAnswer,
    &DPanelsTable,
    &DStandInExport,
    &DLoadStandIn,
    &DThreadCount,
    &DSetting,
    &DLog,
    &DCheck,
    &DLookupVariable,
};

}  // namespace

const SimDriver* Driver() {
    World& world = TheWorld();
    output_folder = world.options.output.empty() ? world.folder : world.options.output;
    driver.main_window = world.window;
    driver.module = world.module;
    driver.output_folder = output_folder.c_str();
    return &driver;
}

}  // namespace fs9
