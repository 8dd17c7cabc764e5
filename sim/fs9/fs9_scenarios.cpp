// Built-in scenarios and scenario files: short sessions driven through the same driver a
// gauge gets.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

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

uint32_t Number(const std::string& word) {
    return static_cast<uint32_t>(std::strtoul(word.c_str(), nullptr, 0));
}

int Button(const std::string& word) {
    const std::string w = Upper(word);
    return w == "YES" ? IDYES : w == "NO" ? IDNO : w == "OK" ? IDOK : IDCANCEL;
}

// One step of a scenario file; false for a line it does not understand.
bool Step(const SimDriver* d, const std::string& verb, std::istringstream& in,
          const std::string& rest) {
    std::string a, b;
    if (verb == "pump") {
        in >> a;
        d->Pump(Number(a));
    } else if (verb == "ticks") {
        in >> a >> b;
        d->PumpUntilTicks(Number(a), b.empty() ? 5000 : Number(b));
    } else if (verb == "keys") {
        in >> a >> b;
        d->PressKeys(Number(a), Number(b));
    } else if (verb == "activate") {
        in >> a;
        d->SetAppActive(Number(a));
    } else if (verb == "paint") {
        d->PaintFrame();
    } else if (verb == "menu") {
        d->OpenMenuBar();
    } else if (verb == "menus") {
        char menus[4096];
        d->DescribeMenus(menus, sizeof menus);
        Log("menu bar:\n%s", menus);
    } else if (verb == "command") {
        const uint32_t id = rest.empty() || std::isdigit(static_cast<unsigned char>(rest[0]))
                                ? Number(rest)
                                : d->FindMenuCommand(rest.c_str());
        if (id == 0)
            Check(false, "menu command", rest.c_str(), "no such item");
        if (id != 0)
            d->PostCommand(id);
    } else if (verb == "answer") {
        in >> a;
        d->QueueBoxAnswer(static_cast<uint32_t>(Button(a)));
    } else if (verb == "load") {
        in >> a;
        d->LoadStandIn(a.c_str());
    } else if (verb == "log") {
        Log("%s", rest.c_str());
    } else if (verb == "lookup" || verb == "expect-value") {
        std::string c;
        in >> a >> b >> c;
        double value = 0.0;
        uint32_t word = 0;
        const uint32_t answered = d->LookupVariable(static_cast<int32_t>(Number(a)), &value, &word);
        char got[96];
        std::snprintf(got, sizeof got, "%.9g (word 0x%08lX, %s)", value,
                      static_cast<unsigned long>(word), answered ? "answered" : "nobody answered");
        if (verb == "lookup") {
            Log("token %s: %s", a.c_str(), got);
        } else {
            const double expected = std::strtod(b.c_str(), nullptr);
            const double tolerance = c.empty() ? 0.0 : std::strtod(c.c_str(), nullptr);
            const double diff = value > expected ? value - expected : expected - value;
            const std::string what = "token " + a + " value";
            Check(answered != 0 && diff <= tolerance, what.c_str(),
                  (b + (c.empty() ? "" : " within " + c)).c_str(), got);
        }
    } else if (verb == "expect-boxes") {
        in >> a;
        CheckU32("message boxes so far", Number(a), d->BoxCount());
    } else if (verb == "expect-ticks") {
        in >> a;
        CheckU32("link timer ticks so far", Number(a), d->TimerTicks(nullptr, 0));
    } else {
        return false;
    }
    return true;
}

// A scenario file: one step a line ("pump 500", "keys 0x6 0x70", "command Meridane Community",
// "expect-boxes 1"; see docs/gauges.md), "#" starts a comment line.
bool RunFile(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        return false;
    Log("scenario file %s", path.c_str());
    const SimDriver* d = Driver();
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        std::istringstream in(line.substr(start));
        std::string verb;
        in >> verb;
        std::string rest;
        std::getline(in >> std::ws, rest);
        std::istringstream words(rest);
        SetLastAction("scenario line %d: %s", number, line.c_str());
        if (!Step(d, verb, words, rest)) {
            char where[64];
            std::snprintf(where, sizeof where, "line %d", number);
            Check(false, "scenario step", "a known step",
                  (std::string(where) + ": " + line).c_str());
        }
    }
    return true;
}

}  // namespace

bool ScenarioKnown(const std::string& name) {
    for (const Scenario& scenario : kScenarios) {
        if (name == scenario.name)
            return true;
    }
    return std::ifstream(name).good();
}

bool RunScenario(const std::string& name) {
    for (const Scenario& scenario : kScenarios) {
        if (name == scenario.name) {
            Log("scenario %s", scenario.name);
            SetLastAction("running scenario %s", scenario.name);
            scenario.run(Driver());
            return true;
        }
    }
    return RunFile(name);
}

}  // namespace fs9
