// The exported Linkage record and the registries that fill it.
#include "panels_table.h"

extern "C" {
__declspec(dllexport) uintptr_t Linkage[SIM_PANELS_WORDS] = {
    0x0F,  // module id: the panel system
};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t LinkageSize = sizeof Linkage;
}

namespace panels {
namespace {

const TokenSource* first_source = nullptr;
const TokenSource** last_link = &first_source;

}  // namespace

EntryRegistration::EntryRegistration(unsigned index, const void* function) {
    if (index < SIM_PANELS_WORDS)
        Linkage[index] = reinterpret_cast<uintptr_t>(function);
}

TokenSource::TokenSource(const char* name, TokenAnswer answer)
    : name_(name), answer_(answer), next_(nullptr) {
    *last_link = this;
    last_link = &next_;
}

const TokenSource* FirstTokenSource() {
    return first_source;
}

}  // namespace panels
