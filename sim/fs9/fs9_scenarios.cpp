// Built-in scenarios and scenario files: short sessions driven through the same driver a
// gauge gets.
#include <cctype>
#include <cerrno>
#include <cmath>
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

// Numbers as C writes them (decimal, 0x hexadecimal), the whole word and nothing else.
bool Number(const std::string& word, uint32_t* out) {
    if (word.empty() || !std::isdigit(static_cast<unsigned char>(word[0])))
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(word.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || value > 0xFFFFFFFFull)
        return false;
    *out = static_cast<uint32_t>(value);
    return true;
}

bool Token(const std::string& word, int32_t* out) {
    const bool negative = !word.empty() && word[0] == '-';
    uint32_t magnitude = 0;
    if (!Number(negative ? word.substr(1) : word, &magnitude) ||
        magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
        return false;
    }
    *out = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
    return true;
}

bool Real(const std::string& word, double* out) {
    char* end = nullptr;
    *out = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0' && std::isfinite(*out);
}

bool Button(const std::string& word, uint32_t* out) {
    const std::string w = Upper(word);
    const int button = w == "YES"      ? IDYES
                       : w == "NO"     ? IDNO
                       : w == "OK"     ? IDOK
                       : w == "CANCEL" ? IDCANCEL
                                       : 0;
    *out = static_cast<uint32_t>(button);
    return button != 0;
}

// The forms each step takes, for the failed check of a malformed one.
struct Form {
    const char* verb;
    size_t least, most;  // words after the verb
    const char* usage;
};
constexpr size_t kAny = ~size_t{0};
constexpr Form kForms[] = {
    {"pump", 1, 1, "pump MS"},
    {"ticks", 1, 2, "ticks N [MAX_MS]"},
    {"keys", 2, 2, "keys MODIFIERS VK (numbers: MDN_MOD_* flags up to 0xF, a key code 1 to 0xFE)"},
    {"activate", 1, 1, "activate 0 or activate 1"},
    {"paint", 0, 0, "paint"},
    {"menu", 0, 0, "menu"},
    {"menus", 0, 0, "menus"},
    {"command", 1, kAny, "command ID (1 to 65535) or command TEXT"},
    {"answer", 1, 1, "answer yes|no|ok|cancel"},
    {"load", 1, 1, "load NAME"},
    {"log", 0, kAny, "log TEXT"},
    {"lookup", 1, 1, "lookup TOKEN (a 32-bit signed number)"},
    {"expect-value", 2, 3, "expect-value TOKEN VALUE [TOLERANCE] (numbers, TOLERANCE 0 or more)"},
    {"expect-boxes", 1, 1, "expect-boxes N"},
    {"expect-ticks", 1, 1, "expect-ticks N"},
};

const Form* FormOf(const std::string& verb) {
    for (const Form& form : kForms) {
        if (verb == form.verb)
            return &form;
    }
    return nullptr;
}

// One step of a scenario file, its words after the verb already counted against its form;
// false when they do not read as the step needs (nothing is done then).
bool Step(const SimDriver* d, const std::string& verb, const std::vector<std::string>& w,
          const std::string& rest) {
    uint32_t a = 0, b = 5000;
    if (verb == "pump") {
        if (!Number(w[0], &a))
            return false;
        d->Pump(a);
    } else if (verb == "ticks") {
        if (!Number(w[0], &a) || (w.size() > 1 && !Number(w[1], &b)))
            return false;
        d->PumpUntilTicks(a, b);
    } else if (verb == "keys") {
        if (!Number(w[0], &a) || !Number(w[1], &b) || a > 0xF || b == 0 || b > 0xFE)
            return false;
        d->PressKeys(a, b);
    } else if (verb == "activate") {
        if (w[0] != "0" && w[0] != "1")
            return false;
        d->SetAppActive(w[0] == "1" ? 1 : 0);
    } else if (verb == "paint") {
        d->PaintFrame();
    } else if (verb == "menu") {
        d->OpenMenuBar();
    } else if (verb == "menus") {
        char menus[4096];
        d->DescribeMenus(menus, sizeof menus);
        Log("menu bar:\n%s", menus);
    } else if (verb == "command") {
        uint32_t id = 0;
        if (std::isdigit(static_cast<unsigned char>(rest[0]))) {
            if (!Number(rest, &id) || id == 0 || id > 0xFFFF)
                return false;
        } else {
            id = d->FindMenuCommand(rest.c_str());
            if (id == 0)
                Check(false, "menu command", rest.c_str(), "no such item");
        }
        if (id != 0)
            d->PostCommand(id);
    } else if (verb == "answer") {
        if (!Button(w[0], &a))
            return false;
        d->QueueBoxAnswer(a);
    } else if (verb == "load") {
        d->LoadStandIn(w[0].c_str());
    } else if (verb == "log") {
        Log("%s", rest.c_str());
    } else if (verb == "lookup" || verb == "expect-value") {
        int32_t token = 0;
        double expected = 0.0, tolerance = 0.0;
        if (!Token(w[0], &token) ||
            (verb == "expect-value" &&
             (!Real(w[1], &expected) ||
              (w.size() > 2 && (!Real(w[2], &tolerance) || tolerance < 0.0))))) {
            return false;
        }
        double value = 0.0;
        uint32_t word = 0;
        const uint32_t answered = d->LookupVariable(token, &value, &word);
        char got[96];
        std::snprintf(got, sizeof got, "%.9g (word 0x%08lX, %s)", value,
                      static_cast<unsigned long>(word), answered ? "answered" : "nobody answered");
        if (verb == "lookup") {
            Log("token %s: %s", w[0].c_str(), got);
        } else {
            const double diff = value > expected ? value - expected : expected - value;
            const std::string what = "token " + w[0] + " value";
            Check(answered != 0 && diff <= tolerance, what.c_str(),
                  (w[1] + (w.size() > 2 ? " within " + w[2] : "")).c_str(), got);
        }
    } else if (verb == "expect-boxes" || verb == "expect-ticks") {
        if (!Number(w[0], &a))
            return false;
        if (verb == "expect-boxes")
            CheckU32("message boxes so far", a, d->BoxCount());
        else
            CheckU32("link timer ticks so far", a, d->TimerTicks(nullptr, 0));
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
        std::istringstream split(rest);
        std::vector<std::string> words;
        for (std::string word; split >> word;)
            words.push_back(word);
        SetLastAction("scenario line %d: %s", number, line.c_str());
        const Form* form = FormOf(verb);
        const bool counted = form && words.size() >= form->least && words.size() <= form->most;
        if (!counted || !Step(d, verb, words, rest)) {
            char where[64];
            std::snprintf(where, sizeof where, "line %d", number);
            Check(false, "scenario step", form ? form->usage : "a known step",
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
