// The module's dump commands, given as the user would through their keys (here fired by
// name), and what they wrote; then the demo's own registrations are taken back.
#include <cstdio>
#include <cstring>

#include "demo.h"

namespace demo {
namespace {

void Fire(const Context& c, const char* command) {
    const uint32_t id = c.ops->FindKeyCommand(command) & 0xFFFF;
    Report(c, "dumps: %s has id 0x%04lX, FireKeyCommand -> %lu", command,
           static_cast<unsigned long>(id),
           static_cast<unsigned long>(id ? c.ops->FireKeyCommand(id) : 0));
}

// Shows the last `lines` lines of a text file.
void Show(const Context& c, const char* path, int lines) {
    FILE* in = std::fopen(path, "r");
    if (in == nullptr) {
        Report(c, "dumps: %s was not written", path);
        return;
    }
    static char text[64][256];
    int count = 0;
    while (std::fgets(text[count % 64], sizeof text[0], in))
        ++count;
    std::fclose(in);
    Report(c, "dumps: %s, %d line(s)%s", path, count, count > lines ? ", the last ones:" : ":");
    for (int i = count > lines ? count - lines : 0; i < count; ++i) {
        char* line = text[i % 64];
        line[std::strcspn(line, "\r\n")] = '\0';
        Report(c, "dumps:   | %s", line);
    }
}

}  // namespace

void Dumps(const Context& c) {
    char folder[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (char* slash = std::strrchr(folder, '\\'))
        *slash = '\0';
    char keys[MAX_PATH + 32];
    std::snprintf(keys, sizeof keys, "%s\\MDNSERVICES_KeysDump.txt", folder);
    DeleteFileA(keys);
    Fire(c, "MDN_DUMP_KEYS");
    Show(c, keys, 12);
    Fire(c, "MDN_DUMP_TFC");
    Show(c, "C:\\dbgFsAiTfc.txt", 8);
}

void Finish(const Context& c) {
    FinishKeys(c);
    FinishNavigation(c);
}

}  // namespace demo
