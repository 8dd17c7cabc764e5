// A gauge's key client in the running simulator: a key text bound from a writable buffer, the
// combination pressed through the real input path, hot keys withdrawn while the simulator is
// in the background and back afterwards, a command fired without a key, and the key bindings
// dump written by the module's own command (bound to CTRL+ALT+F12 by this test's settings).
#include <string>

#include "e2e_support.h"
#include "mdnsrv.h"

namespace {

const MdnOperationTable* ops = nullptr;
uint32_t client = 0;
int callback_calls = 0;
std::string taken;  // names taken by the callback, each followed by ";"

void MDN_STDCALL OnKeys() {
    ++callback_calls;
    char name[64];
    MdnKeyBinding binding{};
    while (ops->NextKeyEvent(client, name, &binding) == 1)
        taken += std::string(name) + ";";
}

// What the callback took since the last look.
std::string Taken() {
    std::string t = taken;
    taken.clear();
    return t;
}

// Texts with their line ends shown, so CR LF is visible in the log.
std::string Visible(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : std::string(1, c);
    return out;
}

}  // namespace

SIM_GAUGE_ENTRY {
    HMODULE module = static_cast<HMODULE>(driver->module);
    const auto* service =
        reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, MDN_SERVICE_SYMBOL));
    if (service == nullptr || service->table == nullptr) {
        driver->Check(0, "service object", "present", "missing");
        return 1;
    }
    ops = service->table;

    client = ops->RegisterKeyClient(&OnKeys);
    SimCheckHex(driver, "client handle is the callback's complement",
                ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&OnKeys)), client);

    char key_text[] = "ctrl+shift+f1";
    const uint32_t pressed = ops->BindKeyCommand(client, "Gauge_Key_Test", key_text);
    driver->Check(pressed >= 0xC000 && pressed <= 0xFFFF, "command id is a string atom",
                  "0xC000 to 0xFFFF", std::to_string(pressed).c_str());
    SimCheckText(driver, "key text upper-cased in place", "CTRL+SHIFT+F1", key_text);
    char page_text[] = "shift prior";
    ops->BindKeyCommand(client, "Gauge_Page", page_text);
    char no_key_text[] = "CTRL+SHIFT";
    const uint32_t no_key = ops->BindKeyCommand(client, "Gauge_No_Key", no_key_text);
    SimCheckU32(driver, "enable the client", 1, ops->EnableKeyClient(client));
    SimCheckU32(driver, "FindKeyCommand without regard to case", pressed,
                ops->FindKeyCommand("GAUGE_KEY_TEST"));

    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F1);
    SimCheckU32(driver, "callback calls after CTRL+SHIFT+F1", 1, callback_calls);
    SimCheckText(driver, "NextKeyEvent after CTRL+SHIFT+F1", "Gauge_Key_Test;", Taken().c_str());

    driver->SetAppActive(0);
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F1);
    SimCheckU32(driver, "no delivery while the simulator is in the background", 1, callback_calls);
    driver->SetAppActive(1);
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F1);
    SimCheckU32(driver, "callback calls after activation came back", 2, callback_calls);
    SimCheckText(driver, "NextKeyEvent after activation came back", "Gauge_Key_Test;",
                 Taken().c_str());

    SimCheckU32(driver, "FireKeyCommand of a command without a key", 1,
                ops->FireKeyCommand(0xFFFF0000u | no_key));
    SimCheckText(driver, "NextKeyEvent after FireKeyCommand", "Gauge_No_Key;", Taken().c_str());
    SimCheckU32(driver, "FireKeyCommand of id 0", 0, ops->FireKeyCommand(0));

    // The own command MDN_DUMP_KEYS writes the dump into the simulator folder.
    const std::string dump =
        std::string(e2e::SettingOr(driver, "folder", ".")) + "\\MDNSERVICES_KeysDump.txt";
    DeleteFileA(dump.c_str());
    SimCheckU32(driver, "MDN_DUMP_KEYS is bound", 1, ops->FindKeyCommand("MDN_DUMP_KEYS") != 0);
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_ALT, VK_F12);
    SimCheckText(driver, "key bindings dump",
                 "MDN_DUMP_KEYS=ALT+CTRL+F12\\r\n"
                 "Gauge_Key_Test=CTRL+SHIFT+F1\\r\n"
                 "Gauge_Page=SHIFT+PAGEUP\\r\n",
                 Visible(e2e::ReadFileBytes(dump, "(no file)")).c_str());
    SimCheckText(driver, "the own command is not the gauge's", "", Taken().c_str());

    const int calls_before = callback_calls;
    SimCheckU32(driver, "disable the client", 1, ops->DisableKeyClient(client));
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F1);
    SimCheckU32(driver, "no delivery to a disabled client", calls_before, callback_calls);
    SimCheckU32(driver, "unregister the client", 1, ops->UnregisterKeyClient(client));
    SimCheckU32(driver, "the command name is free again", 0, ops->FindKeyCommand("Gauge_Key_Test"));
    return 0;
}
