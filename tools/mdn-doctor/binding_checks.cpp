// The own commands' keys, read and parsed exactly as the module's start-up does, so a key that
// the doctor calls understood is one the module binds.
#include <windows.h>

#include <cstring>

#include "host/settings_file.h"
#include "keyboard/key_grammar.h"
#include "report.h"

namespace doctor {
namespace {

constexpr size_t kCommandCount = sizeof host::kOwnCommands / sizeof host::kOwnCommands[0];

struct Binding {
    const char* command = nullptr;
    keyboard::KeyCombination key;
    bool bound = false;
};

Binding CheckOne(Report& report, const char* path, const char* command) {
    Binding binding;
    binding.command = command;
    char value[runtime::kPathSize];
    if (!host::ReadOwnKeyText(path, command, value)) {
        report.Line(Verdict::Note, "%s: no key (left out, or INVALID)", command);
        return binding;
    }
    char written[runtime::kPathSize];
    std::memcpy(written, value, sizeof written);
    binding.key = keyboard::ParseBindingText(value);
    if (binding.key.virtual_key == 0) {
        report.Line(Verdict::Problem,
                    "%s = \"%s\": not understood, it names no key; the command gets no key",
                    command, written);
        return binding;
    }
    binding.bound = true;
    char canonical[keyboard::kKeyTextSize];
    keyboard::FormatKeyText(binding.key.modifiers, binding.key.virtual_key, canonical);
    if (std::strcmp(canonical, written) == 0) {
        report.Line(Verdict::Ok, "%s = %s", command, canonical);
    } else {
        report.Line(Verdict::Ok, "%s = %s (written \"%s\")", command, canonical, written);
    }
    return binding;
}

// Windows gives one key combination to one hot key only.
void CheckTwice(Report& report, const Binding* bindings) {
    for (size_t i = 0; i < kCommandCount; ++i) {
        for (size_t j = i + 1; j < kCommandCount; ++j) {
            const Binding& a = bindings[i];
            const Binding& b = bindings[j];
            if (!a.bound || !b.bound || a.key.modifiers != b.key.modifiers ||
                a.key.virtual_key != b.key.virtual_key) {
                continue;
            }
            char text[keyboard::kKeyTextSize];
            keyboard::FormatKeyText(a.key.modifiers, a.key.virtual_key, text);
            report.Line(Verdict::Problem,
                        "%s is bound to both %s and %s: the key can work for one of them only",
                        text, a.command, b.command);
        }
    }
}

// A misspelt command name binds nothing, and the module says nothing about it.
void CheckUnknownNames(Report& report, const char* path) {
    char names[4096] = {};
    GetPrivateProfileStringA(host::kKeyboardSection, nullptr, "", names, sizeof names, path);
    names[sizeof names - 2] = '\0';
    names[sizeof names - 1] = '\0';
    for (const char* name = names; *name != '\0'; name += std::strlen(name) + 1) {
        bool known = false;
        for (const char* command : host::kOwnCommands)
            known = known || lstrcmpiA(name, command) == 0;
        if (!known) {
            report.Line(Verdict::Problem,
                        "%s in section [%s] is none of the module's commands; it is ignored", name,
                        host::kKeyboardSection);
        }
    }
}

}  // namespace

void CheckBindings(Report& report, const Installation& installation) {
    if (!installation.settings_present)
        return;
    Binding bindings[kCommandCount];
    for (size_t i = 0; i < kCommandCount; ++i)
        bindings[i] = CheckOne(report, installation.settings_path, host::kOwnCommands[i]);
    CheckTwice(report, bindings);
    CheckUnknownNames(report, installation.settings_path);
}

}  // namespace doctor
