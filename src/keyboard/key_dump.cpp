// The key bindings dump: one "name=key text" line per binding that has a key, both escaped.
#include <cstdio>

#include "keyboard/key_clients.h"
#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "runtime/module_values.h"
#include "runtime/owners.h"
#include "runtime/diag_log.h"
#include "runtime/escape_text.h"

namespace keyboard {
namespace {

constexpr char kDumpFileName[] = "\\MDNSERVICES_KeysDump.txt";

}  // namespace

bool DumpKeyBindings() {
    // Room for the longest folder and the file name, so the path is never cut.
    char path[runtime::kPathSize + sizeof kDumpFileName];
    std::snprintf(path, sizeof path, "%s%s", runtime::SimulatorFolder(), kDumpFileName);
    runtime::UniqueFile file{platform::OpenTextFile(path, "w")};
    if (!file) {
        MDN_LOG("key bindings dump not written: %s could not be opened (error %lu)",
                runtime::LogText(path, runtime::kLogTextLimit).c_str(),
                static_cast<unsigned long>(platform::GetLastError()));
        return false;
    }
    unsigned lines = 0;
    for (const KeyClient* client : KeyClients()) {
        MdnKeyBinding binding;
        char key_text[64];
        for (size_t i = 0; KeyBindingAt(*client, i, &binding, key_text); ++i) {
            if (binding.virtual_key == 0)
                continue;
            char name[kCommandNameSize] = "";
            platform::GetAtomNameA(binding.command, name, sizeof name);
            // A name, or the one character of an unnamed key, may hold any byte: escaped, so a
            // binding is always one line.
            char escaped_name[runtime::EscapedSize(kCommandNameSize)];
            char escaped_key[runtime::EscapedSize(sizeof key_text)];
            runtime::EscapeText(escaped_name, sizeof escaped_name, name, sizeof name, SIZE_MAX,
                                false);
            runtime::EscapeText(escaped_key, sizeof escaped_key, key_text, sizeof key_text,
                                SIZE_MAX, false);
            std::fprintf(file.get(), "%s=%s\n", escaped_name, escaped_key);
            ++lines;
        }
    }
    MDN_LOG("key bindings dump: %u bindings %s %s", lines,
            std::ferror(file.get()) ? "but writing failed for" : "written to",
            runtime::LogText(path, runtime::kLogTextLimit).c_str());
    return true;
}

}  // namespace keyboard
