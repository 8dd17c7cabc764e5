// The panels hook: HookedVariableLookup takes the place of the panel system's variable
// lookup (its Linkage word 40). While a gauge is the active device it answers the navigation
// tokens from the state block the gauge fills; custom tokens go to the range handlers; all
// else reaches the simulator's own lookup after one bit test. No lock, no heap.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>

#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "runtime/import_table.h"
#include "runtime/address_checks.h"
#include "runtime/address_word.h"
#include "runtime/diag_log.h"

namespace navigation {
namespace {

constexpr char kFiveBlanks[] = "     ";
constexpr uint32_t kLowestCodeAddress = 0x10000;
constexpr size_t kLookupEntryOffset = 40 * sizeof(uint32_t);  // Linkage word 40

MdnPanelsHookState state_block;
std::atomic<bool> vor_pass_through{false};

// Hook state: set on the simulator's thread at installation and removal.
bool installed = false;
uint32_t* patched_entry = nullptr;
runtime::VariableLookupFn saved_lookup = nullptr;

// The six-byte x86 indirect jump "jmp dword ptr [target]".
#pragma pack(push, 1)
struct IndirectJump {
    uint8_t opcode;
    uint8_t modrm;
    uint32_t target;  // address of the pointer jumped through
};
#pragma pack(pop)
static_assert(sizeof(IndirectJump) == 6, "the patch holds exactly six jump bytes");

struct PatchByte {
    uint32_t offset;  // from the patch base, 0x309F0 below the saved lookup
    uint8_t value;
};
constexpr uint32_t kPatchBaseBelowLookup = 0x309F0;
constexpr uint32_t kEndOfPatch = 0xFFFFFFFF;
constexpr size_t kJumpBytes = sizeof(IndirectJump);

// The panel module's code bytes, for the one simulator build the module accepts. The first
// six form a jump through the patched Linkage entry, eight bytes before the lookup; its four
// address bytes are filled in at run time.
constexpr PatchByte kPanelsPatch[] = {
    {0x309E8, 0xFF}, {0x309E9, 0x25}, {0x309EA, 0x00},     {0x309EB, 0x00}, {0x309EC, 0x00},
    {0x309ED, 0x00}, {0x01CAA, 0x3A}, {0x1F698, 0x4C},     {0x1F6A1, 0x43}, {0x1F6AD, 0x37},
    {0x206BF, 0x25}, {0x206C8, 0x1C}, {0x20F9D, 0x47},     {0x2161E, 0xC6}, {0x21627, 0xBD},
    {0x21E0D, 0xD7}, {0x22B18, 0xCC}, {kEndOfPatch, 0x00},
};
static_assert(std::size(kPanelsPatch) == 17 + 1, "17 patch bytes and the end mark");
static_assert(kPanelsPatch[0].value == 0xFF && kPanelsPatch[1].value == 0x25,
              "the patch opens with an indirect jump");
static_assert(kPanelsPatch[kJumpBytes - 1].offset == kPanelsPatch[0].offset + kJumpBytes - 1,
              "the jump's bytes are consecutive");
static_assert(kPatchBaseBelowLookup - kPanelsPatch[0].offset == 8,
              "the jump sits eight bytes before the lookup");

// The span of code the patch writes, from its lowest to its highest byte.
constexpr uint32_t PatchBound(bool highest) {
    uint32_t bound = kPanelsPatch[0].offset;
    for (const PatchByte& b : kPanelsPatch) {
        if (b.offset != kEndOfPatch && (highest ? b.offset > bound : b.offset < bound))
            bound = b.offset;
    }
    return bound;
}
constexpr uint32_t kPatchLowest = PatchBound(false);
constexpr uint32_t kPatchHighest = PatchBound(true);
static_assert(kPatchLowest == 0x01CAA && kPatchHighest == 0x309ED);

// Every token below the custom range that the hook may answer: 793 and 794, and the state
// block's groups below. The lookup tests a token against this set first, so the simulator's
// own tokens, nearly every lookup, pass on after one load and one bit test.
constexpr uint16_t kAnsweredTokens[] = {40,  41,  43,  44,  49,  550, 826, 849, 850,
                                        851, 852, 853, 856, 857, 859, 860, 861, 831,
                                        835, 836, 837, 838, 839, 846, 847, 793, 794};
constexpr uint32_t kAnsweredTokenBound = 1024;

struct TokenSet {
    uint32_t words[kAnsweredTokenBound / 32];
};
constexpr TokenSet MakeAnsweredSet() {
    TokenSet set{};
    for (const uint16_t token : kAnsweredTokens)
        set.words[token / 32] |= 1u << (token % 32);
    return set;
}
constexpr TokenSet kAnswered = MakeAnsweredSet();
static_assert([] {
    for (const uint16_t token : kAnsweredTokens) {
        if (token >= kAnsweredTokenBound)
            return false;
    }
    return true;
}());

// True for a token the hook never answers; negative tokens count as large here and take the
// long way, which passes them on too.
inline bool PassedStraightOn(uint32_t token) {
    return token < kAnsweredTokenBound && (kAnswered.words[token / 32] & (1u << (token % 32))) == 0;
}

bool Answer(MdnVariableQuery* query, double value) {
    query->value.f64 = value;
    return true;
}
// Integers and addresses fill only the first four bytes of the value.
bool Answer(MdnVariableQuery* query, uint32_t value) {
    query->value.u32 = value;
    return true;
}
bool Answer(MdnVariableQuery* query, const char* text) {
    return Answer(query, runtime::AddressWord(text));
}
double Switch(uint32_t word, double on) {
    return word == 1 ? on : 0.0;
}

// Group C is answered whenever the block is enabled; groups A and B need the full enable,
// and group A also needs the VOR pass-through flag clear.
bool AnswerFromBlock(MdnVariableQuery* q, int32_t token) {
    const MdnPanelsHookState& s = state_block;
    const bool b = s.full_enable != 0;
    const bool a = b && !vor_pass_through.load(std::memory_order_relaxed);
    switch (token) {
        // Group A
        case 40:
            return a && Answer(q, s.value40);
        case 41:
            return a && Answer(q, s.value41);
        case 43:
            return a && Answer(q, s.value43);
        case 44:
            return a && Answer(q, s.value44);
        case 49:
            return a && Answer(q, Switch(s.switch851, 256.0));
        case 550:
            return a && Answer(q, s.value856);
        case 826:
            return a && Answer(q, s.value40);
        // Group B
        case 849:
            return b && Answer(q, s.value849);
        case 850:
            return b && Answer(q, s.value850);
        case 851:
            return b && Answer(q, Switch(s.switch851, 1.0));
        case 852:
            return b && Answer(q, Switch(s.switch852, 1.0));
        case 853:
            return b && Answer(q, s.value853);
        case 856:
            return b && Answer(q, s.value856);
        case 857:
            return b && Answer(q, Switch(s.switch857, 1.0));
        case 859:
            return b && Answer(q, s.value859);
        case 860:
            return b && Answer(q, s.value860);
        case 861:
            return b && Answer(q, s.text861);
        // Group C
        case 831:
            return Answer(q, s.value831);
        case 835:
            return Answer(q, s.value835);
        case 836:
            return Answer(q, s.value836);
        case 837:
            return Answer(q, s.value837);
        case 838:
            return Answer(q, s.value838);
        case 839:
            return Answer(q, s.text839);
        case 846:
            return Answer(q, s.value846);
        case 847:
            return Answer(q, s.value847);
        default:
            return false;
    }
}

}  // namespace

uint32_t MDN_STDCALL HookedVariableLookup(MdnVariableQuery* query) {
    if (query == nullptr)
        return 0;
    const int32_t token = query->token;
    if (PassedStraightOn(static_cast<uint32_t>(token))) [[likely]]
        return saved_lookup ? saved_lookup(query) : 0;
    if (token >= static_cast<int32_t>(MDN_TOKEN_CUSTOM_FIRST)) {
        if (token == static_cast<int32_t>(MDN_TOKEN_GPS_INFO)) {
            Answer(query, runtime::AddressWord(GpsInfoRecord()));
        } else if (!OfferToRangeHandlers(query)) {
            query->value.f64 = 0.0;
        }
        return 1;
    }
    // 793 and 794 come from the block whatever device is active, when their flags are set.
    if (token == 794 && state_block.valid794 != 0)
        return Answer(query, state_block.value794);
    if (token == 793 && state_block.valid793 != 0)
        return Answer(query, state_block.value793);
    if (state_block.enable != 0 && !SimulatorGpsActive() && AnswerFromBlock(query, token)) {
        return 1;
    }
    return saved_lookup ? saved_lookup(query) : 0;
}

MdnPanelsHookState* MDN_STDCALL GetPanelsHookState() {
    return &state_block;
}

void ResetPanelsHookState() {
    std::memset(&state_block, 0, sizeof state_block);
    state_block.text839 = kFiveBlanks;
    state_block.text861 = kFiveBlanks;
}

bool VorPassThrough() {
    return vor_pass_through.load(std::memory_order_relaxed);
}
void SetVorPassThrough(bool on) {
    vor_pass_through.store(on, std::memory_order_relaxed);
}

bool PanelsHookInstalled() {
    return installed;
}
uintptr_t PatchedEntry() {
    return reinterpret_cast<uintptr_t>(patched_entry);
}
uintptr_t SavedVariableLookup() {
    return reinterpret_cast<uintptr_t>(saved_lookup);
}

void LoadPanelsHook() {
    std::memset(&state_block, 0, sizeof state_block);
    vor_pass_through = false;
    installed = false;
    patched_entry = nullptr;
    saved_lookup = nullptr;
    LoadRangeHandlers();
}

void UnloadPanelsHook() {
    UnloadRangeHandlers();
}

bool LinkPanels() {
    if (installed)
        return true;
    HMODULE panels = platform::GetModuleHandleA("PANELS.DLL");
    if (panels == nullptr)
        return MDN_LOG("link: not yet: PANELS.DLL is not loaded"), false;
    FARPROC linkage = platform::GetProcAddress(panels, "Linkage");
    if (linkage == nullptr) {
        patched_entry = nullptr;
        return MDN_LOG("link: not yet: PANELS.DLL exports no Linkage"), false;
    }
    auto* entry =
        reinterpret_cast<uint32_t*>(reinterpret_cast<uintptr_t>(linkage) + kLookupEntryOffset);
    const uint32_t lookup = *entry;
    // Not a code address: the panel system is not ready, and neither patching relative to it
    // nor calling it would be safe.
    if (lookup < kLowestCodeAddress ||
        !runtime::IsCodeAddress(reinterpret_cast<const void*>(static_cast<uintptr_t>(lookup)))) {
        patched_entry = nullptr;
        MDN_LOG("link: not yet: the panels lookup entry 0x%08X is not code", lookup);
        return false;
    }
    patched_entry = entry;
    saved_lookup = reinterpret_cast<runtime::VariableLookupFn>(static_cast<uintptr_t>(lookup));
    PatchPanels();
    *entry = runtime::AddressWord(&HookedVariableLookup);
    installed = true;
    MDN_LOG("link: panels hook installed; the simulator's lookup at 0x%08X", lookup);
    return true;
}

bool PatchPanels() {
    PatchByte patch[std::size(kPanelsPatch)];
    std::copy(std::begin(kPanelsPatch), std::end(kPanelsPatch), patch);
    const IndirectJump jump{0xFF, 0x25, runtime::AddressWord(patched_entry)};
    uint8_t jump_bytes[kJumpBytes];
    std::memcpy(jump_bytes, &jump, sizeof jump);
    for (size_t i = 0; i < kJumpBytes; ++i)
        patch[i].value = jump_bytes[i];

    const uintptr_t base = reinterpret_cast<uintptr_t>(saved_lookup) - kPatchBaseBelowLookup;
    const HANDLE process = platform::GetCurrentProcess();
    for (size_t i = 0; patch[i].offset != kEndOfPatch; ++i) {
        // The panel module's code is not writable otherwise; a failed byte is left as it is.
        platform::WriteProcessMemory(process, reinterpret_cast<void*>(base + patch[i].offset),
                                     &patch[i].value, 1, nullptr);
    }
    // Code written while the process runs reaches the processor only through this call.
    platform::FlushInstructionCache(process, reinterpret_cast<void*>(base + kPatchLowest),
                                    kPatchHighest + 1 - kPatchLowest);
    return true;
}

void UnhookPanels() {
    if (installed && patched_entry != nullptr &&
        runtime::IsWritable(patched_entry, sizeof *patched_entry)) {
        // The patched code bytes stay: their jump leads back to the restored lookup.
        *patched_entry = runtime::AddressWord(saved_lookup);
    }
    installed = false;
    patched_entry = nullptr;
}

}  // namespace navigation
