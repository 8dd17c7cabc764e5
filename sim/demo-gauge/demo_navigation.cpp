// Navigation: the demo registers as a navigation device, takes over through the simulator's
// menu, answers the simulator's navigation tokens through the panels-hook state block and a
// range of custom tokens through a range handler, then hands navigation back.
#include <cstdio>
#include <cstring>

#include "demo.h"

namespace demo {
namespace {

constexpr char kLongName[] = "Meridane Demo Navigator";
constexpr char kShortName[] = "DEMO";
const Context* current = nullptr;
uint32_t device = 0;
uint32_t handler = 0;

void MDN_STDCALL OnActivated() {
    if (current)
        Report(*current, "navigation: the demo navigator has become active");
}

uint32_t MDN_STDCALL AnswerCustom(MdnVariableQuery* query) {
    if (query->token == 70003) {
        query->value.f64 = 42.5;
        return 1;
    }
    return 0;
}

void ReportActive(const Context& c, const char* when) {
    char long_name[64] = "", short_name[64] = "";
    const uint32_t active = c.ops->GetActiveNavDevice(long_name, short_name);
    Report(c, "navigation: %s the active device is 0x%08lX \"%s\" (%s)", when,
           static_cast<unsigned long>(active), long_name, short_name);
}

void ReportTokens(const Context& c, const char* when) {
    static const int32_t kTokens[] = {40, 41, 43, 44, 49, 831, 835, 839, 849, 851, 861, 794, 71};
    char line[512] = "";
    size_t used = 0;
    for (int32_t token : kTokens) {
        const MdnVariableQuery q = Lookup(c, token);
        const bool text = token == 839 || token == 861;
        const bool word = token == 43 || token == 831;
        const auto* address = reinterpret_cast<const char*>(q.value.u32);
        if (text && q.value.u32 >= 0x10000 && !IsBadStringPtrA(address, 16)) {
            used += std::snprintf(line + used, sizeof line - used, " %d=\"%.16s\"", token, address);
        } else if (text || word) {
            used += std::snprintf(line + used, sizeof line - used, " %d=%lu", token,
                                  static_cast<unsigned long>(q.value.u32));
        } else {
            used += std::snprintf(line + used, sizeof line - used, " %d=%g", token, q.value.f64);
        }
        if (used >= sizeof line)
            break;
    }
    Report(c, "navigation: tokens %s:%s", when, line);
}

void FillState(MdnPanelsHookState* s) {
    static const char kWaypoint[] = "DEMO1";
    static const char kDestination[] = "KXYZ ";
    s->enable = 1;
    s->full_enable = 1;
    s->value40 = 1.25;
    s->value41 = 2.5;
    s->value44 = 4.75;
    s->value43 = 43;
    s->value831 = 831;
    s->value835 = 8.35;
    s->text839 = kWaypoint;
    s->value849 = 84.9;
    s->switch851 = 1;
    s->text861 = kDestination;
    s->valid794 = 1;
    s->value794 = 79.4;
}

}  // namespace

void Navigation(const Context& c) {
    current = &c;
    const MdnOperationTable& ops = *c.ops;
    device = ops.RegisterNavDevice(&OnActivated, kLongName, kShortName);
    Report(c, "navigation: RegisterNavDevice -> 0x%08lX; %lu device(s):",
           static_cast<unsigned long>(device), static_cast<unsigned long>(ops.GetNavDeviceCount()));
    for (uint32_t i = 0;; ++i) {
        char long_name[64] = "", short_name[64] = "";
        const uint32_t handle = ops.GetNavDeviceInfo(i, long_name, short_name);
        if (handle == 0)
            break;
        Report(c, "navigation:   %lu: 0x%08lX \"%s\" (%s)%s", static_cast<unsigned long>(i),
               static_cast<unsigned long>(handle), long_name, short_name,
               ops.IsNavDeviceActive(handle) ? ", active" : "");
    }
    ReportActive(c, "at start");
    ReportTokens(c, "from the simulator");

    // Take over as a user would: the device's item in the "Navigation Device" submenu.
    c.driver->PaintFrame();
    c.driver->OpenMenuBar();
    const uint32_t item = c.driver->FindMenuCommand(kLongName);
    Report(c, "navigation: menu item \"%s\" has id %lu", kLongName,
           static_cast<unsigned long>(item));
    if (item != 0) {
        c.driver->PostCommand(item);
    } else {
        ops.SelectNavDevice(0, kLongName, nullptr);
    }
    ReportActive(c, "after choosing the demo,");

    FillState(ops.GetPanelsHookState());
    ReportTokens(c, "answered from the demo's state block");

    handler = ops.RegisterRangeHandler(&AnswerCustom, 70000, 70009);
    Report(c,
           "navigation: RegisterRangeHandler(70000..70009) -> 0x%08lX; token 70003 = %g, "
           "token 70004 = %g",
           static_cast<unsigned long>(handler), Lookup(c, 70003).value.f64,
           Lookup(c, 70004).value.f64);
    const MdnVariableQuery gps = Lookup(c, static_cast<int32_t>(MDN_TOKEN_GPS_INFO));
    Report(c, "navigation: token %lu gives the GPS information record at 0x%08lX",
           static_cast<unsigned long>(MDN_TOKEN_GPS_INFO),
           static_cast<unsigned long>(gps.value.u32));

    const double autopilot = 123.0;
    Report(c, "navigation: autopilot data posted -> %lu",
           static_cast<unsigned long>(ops.ServiceControl(MDN_CONTROL_AUTOPILOT_DATA, &autopilot)));
    c.driver->Pump(300);

    Report(c, "navigation: CycleNavDevice -> %lu",
           static_cast<unsigned long>(ops.CycleNavDevice()));
    ReportActive(c, "after cycling,");
    ReportTokens(c, "with navigation handed back");
}

void FinishNavigation(const Context& c) {
    Report(c, "navigation: UnregisterRangeHandler -> %lu, UnregisterNavDevice -> %lu",
           static_cast<unsigned long>(c.ops->UnregisterRangeHandler(handler)),
           static_cast<unsigned long>(c.ops->UnregisterNavDevice(device)));
    handler = device = 0;
    current = nullptr;
}

}  // namespace demo
