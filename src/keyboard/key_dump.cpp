// The key bindings dump: one "name=key text" line per binding that has a key.
#include <cstdio>

#include "keyboard/key_clients.h"
#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "runtime/module_values.h"
#include "runtime/owners.h"

namespace keyboard {
namespace {

constexpr char kDumpFileName[] = "\\MDNSERVICES_KeysDump.txt";

}  // namespace

bool DumpKeyBindings() {
    // Room for the longest folder and the file name, so the path is never cut.
    char path[runtime::kPathSize + sizeof kDumpFileName];
    std::snprintf(path, sizeof path, "%s%s", runtime::SimulatorFolder(), kDumpFileName);
    runtime::UniqueFile file{platform::OpenTextFile(path, "w")};
    if (!file)
        return false;
    for (const KeyClient* client : KeyClients()) {
        MdnKeyBinding binding;
        char key_text[64];
        for (size_t i = 0; KeyBindingAt(*client, i, &binding, key_text); ++i) {
            if (binding.virtual_key == 0)
                continue;
            char name[kCommandNameSize] = "";
            platform::GetAtomNameA(binding.command, name, sizeof name);
            std::fprintf(file.get(), "%s=%s\n", name, key_text);
        }
    }
    return true;
}

}  // namespace keyboard
