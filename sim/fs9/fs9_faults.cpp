// Faults of the stand-in modules, made after they are loaded and before the service module
// is: --hide-export MODULE:NAME takes an export out of sight of GetProcAddress, --poke
// MODULE:EXPORT:WORD=VALUE writes a 32-bit word into an exported record, within the size the
// module exports beside it as EXPORTSize. VALUE is a number or
// "data": the address of a block of readable, writable memory that holds no code (it is
// filled with breakpoint bytes, so calling it fails at once).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

unsigned char not_code[256];

bool Split(const std::string& text, char separator, std::string* first, std::string* rest) {
    const size_t at = text.find(separator);
    if (at == std::string::npos)
        return false;
    *first = text.substr(0, at);
    *rest = text.substr(at + 1);
    return true;
}

// The name's entry in the module's export name table, or null.
char* ExportName(HMODULE module, const std::string& name) {
    auto* base = reinterpret_cast<uint8_t*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (dir.Size == 0)
        return nullptr;
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        char* text = reinterpret_cast<char*>(base + names[i]);
        if (name == text)
            return text;
    }
    return nullptr;
}

bool HideExport(const std::string& option) {
    std::string module_name, name;
    HMODULE module = nullptr;
    if (!Split(option, ':', &module_name, &name) || !(module = StandInHandle(module_name)))
        return false;
    char* text = ExportName(module, name);
    if (text == nullptr || name.empty())
        return false;
    // The last letter changes to one that sorts after every letter, so the table stays in
    // the order the loader's search expects.
    DWORD old = 0;
    char* last = text + name.size() - 1;
    if (!VirtualProtect(last, 1, PAGE_READWRITE, &old))
        return false;
    *last = '~';
    VirtualProtect(last, 1, old, &old);
    Log("fault: %s no longer exports %s", module_name.c_str(), name.c_str());
    return true;
}

bool Poke(const std::string& option) {
    std::string module_name, rest, export_name, where, word_text, value_text;
    if (!Split(option, ':', &module_name, &rest) || !Split(rest, ':', &export_name, &where) ||
        !Split(where, '=', &word_text, &value_text)) {
        return false;
    }
    HMODULE module = StandInHandle(module_name);
    auto* record =
        module ? reinterpret_cast<uint32_t*>(GetProcAddress(module, export_name.c_str())) : nullptr;
    if (record == nullptr)
        return false;
    // The record's size comes from its module ("<EXPORT>Size"); a word past it is refused.
    const auto* size =
        reinterpret_cast<const uint32_t*>(GetProcAddress(module, (export_name + "Size").c_str()));
    char* end = nullptr;
    const unsigned long word = std::strtoul(word_text.c_str(), &end, 0);
    if (size == nullptr || word_text.empty() || *end != '\0' || word >= *size / 4) {
        Log("fault: %s %s has %s: word %s is outside it", module_name.c_str(), export_name.c_str(),
            size ? (std::to_string(*size / 4) + " words").c_str() : "no known size",
            word_text.c_str());
        return false;
    }
    const uint32_t value =
        value_text == "data" ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(not_code))
                             : static_cast<uint32_t>(std::strtoul(value_text.c_str(), nullptr, 0));
    DWORD old = 0;
    if (!VirtualProtect(record + word, 4, PAGE_READWRITE, &old))
        return false;
    record[word] = value;
    VirtualProtect(record + word, 4, old, &old);
    Log("fault: %s %s word %lu = 0x%08lX%s", module_name.c_str(), export_name.c_str(), word,
        static_cast<unsigned long>(value), value_text == "data" ? " (data, no code)" : "");
    // The after-unload check expects the panels entry the module found.
    if (Upper(module_name) == "PANELS.DLL" && export_name == "Linkage" && word == 40)
        TheWorld().panels_original_lookup = value;
    return true;
}

}  // namespace

bool ApplyStandInFaults(std::string* error) {
    std::memset(not_code, 0xCC, sizeof not_code);
    for (const std::string& option : TheWorld().options.hidden_exports) {
        if (!HideExport(option)) {
            *error = "--hide-export " + option + ": no such loaded module or export";
            return false;
        }
    }
    for (const std::string& option : TheWorld().options.pokes) {
        if (!Poke(option)) {
            *error = "--poke " + option + ": no such loaded module, export or word";
            return false;
        }
    }
    return true;
}

}  // namespace fs9
