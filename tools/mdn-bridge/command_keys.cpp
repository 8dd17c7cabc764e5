#include "command_keys.h"

#include <windows.h>

#include <cstring>

#include "command_check.h"
#include "console.h"
#include "host/settings_file.h"
#include "host/sim_location.h"
#include "pacing.h"

namespace bridge {
namespace {

// Windows answers a repeated key-state query from a cache for a moment: presses of the same
// key closer than this could read as one.
constexpr uint32_t kPressSpacingMs = 150;
constexpr size_t kMaxQueued = 16;

void AddKey(INPUT* inputs, int* count, WORD key, bool up) {
    INPUT& in = inputs[(*count)++];
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
}

// The modifiers down, the key down and up, the modifiers up: what a person's fingers do.
void Press(const keyboard::KeyCombination& key) {
    static const struct {
        uint32_t bit;
        WORD key;
    } kModifiers[] = {{0x1, VK_MENU}, {0x2, VK_CONTROL}, {0x4, VK_SHIFT}, {0x8, VK_LWIN}};
    INPUT inputs[10];
    int count = 0;
    for (const auto& m : kModifiers) {
        if (key.modifiers & m.bit)
            AddKey(inputs, &count, m.key, false);
    }
    AddKey(inputs, &count, static_cast<WORD>(key.virtual_key), false);
    AddKey(inputs, &count, static_cast<WORD>(key.virtual_key), true);
    for (int i = 3; i >= 0; --i) {
        if (key.modifiers & kModifiers[i].bit)
            AddKey(inputs, &count, kModifiers[i].key, true);
    }
    SendInput(static_cast<UINT>(count), inputs, sizeof inputs[0]);
}

}  // namespace

void CommandKeys::Load(const Settings& settings) {
    char folder[runtime::kPathSize] = {};
    if (!settings.simulator_folder.empty()) {
        std::strncpy(folder, settings.simulator_folder.c_str(), sizeof folder - 1);
    } else if (!host::ReadRegisteredFolder(folder, KEY_READ)) {
        Say("commands: the registry names no simulator folder, so the module's own commands "
            "have no keys (set [commands] simulator_folder)");
    }
    if (folder[0] != '\0') {
        char path[host::kSettingsPathSize];
        host::SettingsFilePath(folder, path);
        if (!host::SettingsFileExists(path))
            Say("commands: the module's settings file %s is missing", path);
        for (const char* command : host::kOwnCommands) {
            char text[runtime::kPathSize];
            if (!host::ReadOwnKeyText(path, command, text))
                continue;
            const keyboard::KeyCombination key = keyboard::ParseBindingText(text);
            if (key.virtual_key > 0)
                bindings_.push_back({command, key});
        }
    }
    for (const auto& [name, text] : settings.keys) {
        char written[keyboard::kKeyTextSize + 1] = {};
        std::strncpy(written, text.c_str(), sizeof written - 1);
        const keyboard::KeyCombination key = keyboard::ParseBindingText(written);
        if (key.virtual_key <= 0) {
            Say("commands: [keys] %s = %s names no key; the command is left out", name.c_str(),
                text.c_str());
            continue;
        }
        bindings_.push_back({name, key});
    }
    for (const Binding& b : bindings_) {
        char text[keyboard::kKeyTextSize];
        keyboard::FormatKeyText(b.key.modifiers, b.key.virtual_key, text);
        Say("commands: %s presses %s", b.name.c_str(), text);
    }
}

const CommandKeys::Binding* CommandKeys::Find(std::string_view name) const {
    // Command names are atoms to the module: case does not matter.
    for (const Binding& b : bindings_) {
        if (b.name.size() == name.size() &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, b.name.data(),
                           static_cast<int>(b.name.size()), name.data(),
                           static_cast<int>(name.size())) == CSTR_EQUAL)
            return &b;
    }
    return nullptr;
}

void CommandKeys::Offer(std::string_view name, const uint8_t* payload, size_t size) {
    const CommandFault fault = CheckCommand(name, payload, size);
    const int shown = static_cast<int>(name.size() > 64 ? 64 : name.size());
    if (fault != CommandFault::kNone) {
        Say("command %.*s refused: %s (%lu bytes)", shown, name.data(), DescribeFault(fault),
            static_cast<unsigned long>(size));
        return;
    }
    const Binding* binding = Find(name);
    if (binding == nullptr) {
        Say("command %.*s refused: no key is bound to it", shown, name.data());
        return;
    }
    if (queue_.size() >= kMaxQueued) {
        Say("command %.*s refused: %lu commands wait already", shown, name.data(),
            static_cast<unsigned long>(queue_.size()));
        return;
    }
    queue_.push_back(binding);
}

void CommandKeys::Pump() {
    if (queue_.empty())
        return;
    const uint32_t now = NowMs();
    if (pressed_ && now - last_press_ < kPressSpacingMs)
        return;
    const Binding* b = queue_.front();
    queue_.pop_front();
    char text[keyboard::kKeyTextSize];
    keyboard::FormatKeyText(b->key.modifiers, b->key.virtual_key, text);
    Say("command %s: pressing %s", b->name.c_str(), text);
    Press(b->key);
    last_press_ = now;
    pressed_ = true;
}

}  // namespace bridge
