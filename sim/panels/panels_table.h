// The panels function table, which is also PANELS.DLL's exported Linkage record, and the
// ways the panel system's files fill it and answer tokens.
#pragma once
#include <cstdint>

#include "mdnsrv.h"
#include "runtime/simulator_layout.h"
#include "sim_panels.h"

extern "C" __declspec(dllexport) uintptr_t Linkage[SIM_PANELS_WORDS];

namespace panels {

// Word indices the module uses.
constexpr unsigned kCodeProbeWord = runtime::kPanelsCodeProbe;
constexpr unsigned kLookupWord = runtime::kPanelsVariableLookup;

// Puts a function into the table while the DLL's static objects are built:
//   const panels::EntryRegistration unit_id(73, &UnitId);
struct EntryRegistration {
    EntryRegistration(unsigned index, const void* function);
};

// Answers `token` into query->value and returns true, or returns false for a token the
// source does not know. Sources are tried in registration order.
using TokenAnswer = bool (*)(int32_t token, MdnVariableQuery* query);

// One per source file: const panels::TokenSource flight_tokens("flight", &Answer);
class TokenSource {
  public:
    TokenSource(const char* name, TokenAnswer answer);
    const char* name() const { return name_; }
    bool Answer(int32_t token, MdnVariableQuery* query) const { return answer_(token, query); }
    const TokenSource* next() const { return next_; }

  private:
    const char* name_;
    TokenAnswer answer_;
    const TokenSource* next_;
};

const TokenSource* FirstTokenSource();

// The panel system's own lookup (word 40 leads to it through the code region's jump).
uint32_t __stdcall Lookup(MdnVariableQuery* query);

// Counts a lookup while it runs and makes it slow on request (panels_lookup_delay.cpp).
struct LookupInProgress {
    LookupInProgress();
    ~LookupInProgress();
    LookupInProgress(const LookupInProgress&) = delete;
    LookupInProgress& operator=(const LookupInProgress&) = delete;
};

// Set up at DLL attach: the code region, the lookup jump and the probe function.
bool CreateCodeRegion();
void DestroyCodeRegion();
uintptr_t CodeRegionBase();
// Writes the 32-byte probe function at `code` (inside the code region).
void WriteCodeProbe(uint8_t* code);

}  // namespace panels
