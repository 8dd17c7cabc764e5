// Arbitrary key texts and command names through binding, lookup, delivery and the dump.
// Input: records separated by newlines, each "name<TAB>key text"; a record without a tab is
// a name bound with no key text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/module_entry.h"
#include "host/module_state.h"
#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "platform/fake.h"

namespace {

void MDN_STDCALL Callback() {}

// Stops the run with the line of the broken expectation.
#define CHECK(ok) ((ok) ? (void)0 : Fail(__LINE__, #ok))
[[noreturn]] void Fail(int line, const char* what) {
    std::fprintf(stderr, "fuzz_key_text.cpp:%d: %s\n", line, what);
    std::abort();
}

void CheckRoundTrip(const char* text) {
    const auto parsed = keyboard::ParseKeyText(text);
    char formatted[64];
    std::memset(formatted, 'X', sizeof formatted);
    keyboard::FormatKeyText(parsed.modifiers, parsed.virtual_key, formatted);
    CHECK(std::strlen(formatted) < keyboard::kKeyTextSize);
    const auto again = keyboard::ParseKeyText(formatted);
    CHECK(again.modifiers == parsed.modifiers && again.virtual_key == parsed.virtual_key);
}

bool Setup() {
    fake::Reset();
    host::OnLoad();
    runtime::Values().simulator_window = fake::AddWindow("FS98MAIN");
    std::strcpy(runtime::Values().simulator_folder, "C:\\FS9");
    fake::MakeDirectory("C:\\FS9");
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = Setup();
    (void)ready;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const uint32_t client = keyboard::RegisterKeyClient(&Callback);

    std::vector<std::string> names;
    std::vector<uint32_t> ids;
    size_t start = 0;
    while (start <= input.size() && names.size() < 64) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string record = input.substr(start, end - start);
        start = end + 1;
        const size_t tab = record.find('\t');
        // Texts end at their first NUL, as they would in a caller's buffer.
        std::string name = record.substr(0, tab).c_str();
        std::string key = tab == std::string::npos ? "" : record.substr(tab + 1).c_str();
        CheckRoundTrip(key.c_str());

        std::vector<char> buffer(key.begin(), key.end());
        buffer.push_back('\0');
        const uint32_t id = keyboard::BindKeyCommand(client, name.c_str(), buffer.data());
        CHECK(std::strlen(buffer.data()) == key.size());
        // Upper-cased in place once the name and the client have passed.
        if (!name.empty()) {
            for (const char* p = buffer.data(); *p; ++p)
                CHECK(*p < 'a' || *p > 'z');
        }
        CheckRoundTrip(buffer.data());
        if (id != 0) {
            CHECK(id >= 0xC000 && id <= 0xFFFF);
            CHECK(keyboard::FindKeyCommand(name.c_str()) == id);
            ids.push_back(id);
        }
        names.push_back(name);
        if (end == input.size())
            break;
    }

    keyboard::EnableKeyClient(client);
    for (const auto& name : names)
        keyboard::FireKeyCommand(keyboard::FindKeyCommand(name.c_str()));
    for (size_t i = 0; i + 1 < size && i < 16; i += 2) {
        keyboard::FireKeyCommand(static_cast<uint32_t>(data[i]) << 8 | data[i + 1]);
    }
    char name[64];
    MdnKeyBinding binding;
    size_t taken = 0;
    while (keyboard::NextKeyEvent(client, name, &binding)) {
        CHECK(std::strlen(name) <= 63);
        ++taken;
    }
    CHECK(taken >= ids.size() || taken == 128);
    keyboard::DumpKeyBindings();
    keyboard::UnregisterKeyClient(client);
    CHECK(fake::AtomCount() == 0);
    fake::ClearCalls();
    return 0;
}
