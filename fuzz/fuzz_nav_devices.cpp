// The navigation-device slots and queries 10 and 11 as a hostile gauge drives them: through the
// operation table gauges get, with the log writing every call and several devices registered.
// Names of any length and bytes go in; every name buffer is exactly 64 bytes on the heap, as
// the guide tells gauges to use, so a write past one shows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "host/module_entry.h"
#include "platform/fake.h"
#include "runtime/diag_log.h"
#include "service/exports.h"

namespace {

constexpr char kLogFolder[] = "C:\\FS9\\Meridane\\Common\\Settings";
constexpr size_t kNameBuffer = 64;

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return size_ == 0; }
    uint8_t Byte() {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    uint32_t Word() {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = (w << 8) | Byte();
        return w;
    }
    // A text of up to 255 bytes of any value but NUL; or null when the length byte is 0xFF.
    bool Text(std::string* text) {
        const uint8_t length = Byte();
        if (length == 0xFF)
            return false;
        text->clear();
        for (uint8_t i = 0; i < length && size_ > 0; ++i) {
            const char c = static_cast<char>(Byte());
            text->push_back(c == '\0' ? 'N' : c);
        }
        return true;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

int activations = 0;
template <int N>
void MDN_STDCALL Activated() {
    ++activations;
}
constexpr MdnNavDeviceCallback kCallbacks[] = {&Activated<0>, &Activated<1>, &Activated<2>,
                                               &Activated<3>, &Activated<4>, &Activated<5>};

uint32_t HandleOf(MdnNavDeviceCallback callback) {
    return ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(callback));
}

// A handle of one of the callbacks, or any word.
uint32_t PickHandle(Input& in) {
    const uint8_t pick = in.Byte();
    return pick < 0xF0 ? HandleOf(kCallbacks[pick % std::size(kCallbacks)]) : in.Word();
}

// Two names, each a text or null.
struct Names {
    std::string long_text, short_text;
    bool has_long = false, has_short = false;
    explicit Names(Input& in) : has_long(in.Text(&long_text)), has_short(in.Text(&short_text)) {}
    const char* Long() const { return has_long ? long_text.c_str() : nullptr; }
    const char* Short() const { return has_short ? short_text.c_str() : nullptr; }
};

// Two fresh 64-byte buffers; bit 0 and 1 of `nulls` leave one out.
struct Buffers {
    std::unique_ptr<char[]> a{new char[kNameBuffer]}, b{new char[kNameBuffer]};
    char* First(uint8_t nulls) const { return nulls & 1 ? nullptr : a.get(); }
    char* Second(uint8_t nulls) const { return nulls & 2 ? nullptr : b.get(); }
};

void Call(const MdnOperationTable& ops, Input& in) {
    const uint8_t op = in.Byte();
    switch (op % 10) {
        case 0: {
            const Names names(in);
            ops.RegisterNavDevice(
                in.Byte() == 0xFF ? nullptr : kCallbacks[op / 10 % std::size(kCallbacks)],
                names.Long(), names.Short());
            break;
        }
        case 1:
            ops.UnregisterNavDevice(PickHandle(in));
            break;
        case 2: {
            const Names names(in);
            ops.FindNavDevice(names.Long(), names.Short());
            break;
        }
        case 3: {
            const uint32_t handle = op & 0x80 ? 0 : PickHandle(in);
            const Names names(in);
            ops.SelectNavDevice(handle, names.Long(), names.Short());
            break;
        }
        case 4:
            ops.GetNavDeviceCount();
            break;
        case 5: {
            const Buffers buffers;
            const uint32_t index = in.Byte();
            ops.GetNavDeviceInfo(index < 0xF0 ? index % 48 : in.Word(), buffers.First(op >> 4),
                                 buffers.Second(op >> 4));
            break;
        }
        case 6:
            ops.IsNavDeviceActive(PickHandle(in));
            break;
        case 7:
            ops.CycleNavDevice();
            break;
        case 8: {
            const Buffers buffers;
            ops.GetActiveNavDevice(buffers.First(op >> 4), buffers.Second(op >> 4));
            break;
        }
        case 9: {
            const Buffers buffers;
            ops.ServiceQuery(
                op & 0x10 ? MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME : MDN_QUERY_ACTIVE_DEVICE_LONG_NAME,
                buffers.First(op >> 5));
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    fake::Reset();
    ImportTable[0].table = nullptr;
    host::OnLoad();
    fake::MakeDirectory(kLogFolder);
    runtime::StartLog(1 + in.Byte() % 2, kLogFolder);
    const MdnOperationTable& ops = *MdnSrv.table;
    // The simulator's GPS first and active, then two gauges' devices.
    ops.SelectNavDevice(ops.RegisterNavDevice(kCallbacks[0], "Flight Simulator GPS", "GPS"),
                        nullptr, nullptr);
    ops.RegisterNavDevice(kCallbacks[1], "Meridane G1 Navigator", "G1");
    ops.RegisterNavDevice(kCallbacks[2], std::string(63, 'L').c_str(),
                          std::string(63, 'S').c_str());
    for (int calls = 0; calls < 64 && !in.Empty(); ++calls)
        Call(ops, in);
    runtime::StopLog();
    host::OnUnload();
    fake::Reset();
    return 0;
}
