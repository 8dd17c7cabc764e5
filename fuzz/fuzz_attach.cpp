// What the module reads while it attaches, from outside: the registry value that names the
// simulator folder (any bytes, with or without a terminator), the version texts of PANELS.DLL,
// fs9.exe and the module itself, whether the window exists, the answer to the folder prompt
// and the folder chosen. Whatever they hold, attach and detach finish and leave nothing behind.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "host/module_entry.h"
#include "platform/fake.h"
#include "platform/win_kernel.h"
#include "service/exports.h"

namespace {

constexpr char kFolder[] = "C:\\FS9";
constexpr char kRegistryKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x6d000000);

#define CHECK(ok) ((ok) ? (void)0 : Fail(__LINE__, #ok))
[[noreturn]] void Fail(int line, const char* what) {
    std::fprintf(stderr, "fuzz_attach.cpp:%d: %s\n", line, what);
    std::abort();
}

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    // Up to 255 bytes of any value, NUL included, after a length byte.
    std::string Bytes() {
        const size_t length = Byte();
        std::string bytes;
        while (bytes.size() < length && size_ > 0)
            bytes.push_back(static_cast<char>(Byte()));
        return bytes;
    }
    // A text, or nothing when the flag bit says so.
    std::optional<std::string> Text(bool absent) {
        std::string text = Bytes();
        if (absent)
            return std::nullopt;
        return text.substr(0, text.find('\0'));
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Flags: bit 0 no registry value, 1 no PANELS.DLL version text, 2 no translation, 3 the
    // window exists, 4 the folder prompt is answered Yes, 5 the browser is cancelled.
    Input in(data, size);
    const uint8_t flags = in.Byte();
    fake::Reset();
    ImportTable[0].table = nullptr;
    host::OnLoad();

    fake::WriteFile(std::string(kFolder) + "\\fs9.exe", "MZ");
    const std::string registry_value = in.Bytes();
    if (!(flags & 0x01))
        fake::SetRegistryValue(kRegistryKey, "EXE Path", registry_value);
    fake::AddModule("fs9.exe", std::string(kFolder) + "\\fs9.exe");
    fake::AddModule("PANELS.DLL", std::string(kFolder) + "\\MODULES\\PANELS.DLL");
    fake::VersionResource panels{in.Text(flags & 0x02)};
    panels.has_translation = !(flags & 0x04);
    fake::SetVersionResource(std::string(kFolder) + "\\MODULES\\PANELS.DLL", panels);
    fake::SetVersionResource(std::string(kFolder) + "\\fs9.exe", {in.Text(false)});
    fake::SetVersionResource("MdnSrv.dll", {in.Text(false)});
    if (flags & 0x08)
        fake::AddWindow("FS98MAIN");
    fake::QueueMessageBoxAnswer(flags & 0x10 ? IDYES : IDNO);
    fake::QueueFolderChoice(in.Text(flags & 0x20));

    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    CHECK(fake::InstalledHookCount() == 0);
    CHECK(fake::RegisteredHotKeys().empty());
    CHECK(fake::RunningThreadCount() == 0);
    host::OnUnload();
    fake::Reset();
    return 0;
}
