// The own commands' keys, read and parsed exactly as the module's start-up does, so a key that
// the doctor calls understood is one the module binds.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <iterator>

#include "host/settings_file.h"
#include "keyboard/key_grammar.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "report.h"

namespace doctor {
namespace {

constexpr size_t kCommandCount = sizeof host::kOwnCommands / sizeof host::kOwnCommands[0];

struct Binding {
    const char* command = nullptr;
    keyboard::KeyCombination key;
    bool bound = false;
};

// The words of a key text that are not modifiers: the grammar takes the last of them.
int KeysNamed(const char* text) {
    int keys = 0;
    char word[runtime::kPathSize];
    for (const char* p = text; *p != '\0';) {
        const size_t length = std::strcspn(p, "+ \t");
        if (length > 0 && length < sizeof word) {
            std::memcpy(word, p, length);
            word[length] = '\0';
            keys += keyboard::ParseKeyText(word).modifiers == 0 ? 1 : 0;
        }
        p += length + (p[length] != '\0' ? 1 : 0);
    }
    return keys;
}

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
    const int keys = KeysNamed(value);
    if (keys > 1) {
        report.Line(Verdict::Problem,
                    "%s = \"%s\": names %d keys, and the module binds only the last: %s", command,
                    written, keys, canonical);
    } else if (std::strcmp(canonical, written) == 0) {
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

// A command listed twice: the module reads the first line, and the others do nothing.
void CheckListedTwice(Report& report, const char* path) {
    std::FILE* file = platform::OpenTextFile(path, "r");
    if (file == nullptr)
        return;
    struct Seen {
        int first_line = 0, count = 0;
    } seen[kCommandCount];
    bool in_keyboard = false;
    char line[1024];
    for (int number = 1; std::fgets(line, sizeof line, file) != nullptr; ++number) {
        const char* p = line + std::strspn(line, " \t");
        if (*p == '[') {
            const size_t length = std::strlen(host::kKeyboardSection);
            in_keyboard =
                strncasecmp(p + 1, host::kKeyboardSection, length) == 0 && p[length + 1] == ']';
            continue;
        }
        const char* equals = std::strchr(p, '=');
        if (!in_keyboard || *p == ';' || equals == nullptr)
            continue;
        size_t length = static_cast<size_t>(equals - p);
        while (length > 0 && (p[length - 1] == ' ' || p[length - 1] == '\t'))
            --length;
        for (size_t i = 0; i < kCommandCount; ++i) {
            const char* command = host::kOwnCommands[i];
            if (std::strlen(command) == length && strncasecmp(p, command, length) == 0) {
                if (seen[i].count++ == 0)
                    seen[i].first_line = number;
            }
        }
    }
    std::fclose(file);
    for (size_t i = 0; i < kCommandCount; ++i) {
        if (seen[i].count > 1) {
            report.Line(Verdict::Problem,
                        "%s is listed %d times in section [%s]: the module reads line %d, the "
                        "first, and ignores the others",
                        host::kOwnCommands[i], seen[i].count, host::kKeyboardSection,
                        seen[i].first_line);
        }
    }
}

// A misspelt command name binds nothing, and the module says nothing about it.
bool IsKnownKey(const char* section, const char* name) {
    for (const host::SettingKey& setting : host::kSettingKeys) {
        if (setting.section == section && strcasecmp(name, setting.key) == 0)
            return true;
    }
    return false;
}

// Of one section of the settings file.
void CheckUnknownNamesIn(Report& report, const char* path, const char* section) {
    char names[4096] = {};
    platform::GetPrivateProfileStringA(section, nullptr, "", names, sizeof names, path);
    names[sizeof names - 2] = '\0';
    names[sizeof names - 1] = '\0';
    const bool commands = section == host::kKeyboardSection;
    for (const char* name = names; *name != '\0'; name += std::strlen(name) + 1) {
        if (!IsKnownKey(section, name)) {
            report.Line(Verdict::Problem,
                        "%s in section [%s] is none of the module's %s; it is ignored", name,
                        section, commands ? "commands" : "settings");
        }
    }
}

void CheckUnknownNames(Report& report, const char* path) {
    for (size_t i = 0; i < std::size(host::kSettingKeys); ++i) {
        const char* section = host::kSettingKeys[i].section;
        bool first = true;
        for (size_t j = 0; j < i; ++j)
            first = first && host::kSettingKeys[j].section != section;
        if (first)
            CheckUnknownNamesIn(report, path, section);
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
    CheckListedTwice(report, installation.settings_path);
    CheckUnknownNames(report, installation.settings_path);
}

}  // namespace doctor
