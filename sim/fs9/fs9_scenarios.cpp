// Built-in scenarios: short sessions driven through the same driver a gauge gets.
#include <cstring>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

// The message loop runs for --seconds: attach, link timer, whatever the module does alone.
void Idle(const SimDriver* d) {
    d->Pump(TheWorld().options.seconds * 1000);
}

// A user's short session: the link completes, the simulator loses and regains the
// foreground, the frame is repainted and the menu bar opened, and the menus are shown.
void Session(const SimDriver* d) {
    const uint32_t ticks = d->PumpUntilTicks(1, 5000);
    Log("session: %u link timer tick(s) so far", static_cast<unsigned>(ticks));
    d->SetAppActive(0);
    d->Pump(100);
    d->SetAppActive(1);
    d->PaintFrame();
    d->OpenMenuBar();
    d->Pump(200);
    char menus[4096];
    d->DescribeMenus(menus, sizeof menus);
    Log("session: menu bar now:\n%s", menus);
    const uint32_t rest = TheWorld().options.seconds * 1000;
    d->Pump(rest > 2500 ? rest - 2500 : 500);
}

struct Scenario {
    const char* name;
    void (*run)(const SimDriver*);
};
constexpr Scenario kScenarios[] = {{"idle", &Idle}, {"session", &Session}};

}  // namespace

bool RunScenario(const std::string& name) {
    for (const Scenario& scenario : kScenarios) {
        if (name == scenario.name) {
            Log("scenario %s", scenario.name);
            SetLastAction("running scenario %s", scenario.name);
            scenario.run(Driver());
            return true;
        }
    }
    return false;
}

}  // namespace fs9
