// What a gauge calls in each slot of the operation table: an entry with the operation's own
// __stdcall signature that runs the operation under the module's x87 settings where its work
// needs them (service/slot_x87.h). Every call a gauge makes passes here once, so what
// concerns every operation alike belongs here too.
#pragma once
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "mdnsrv.h"
#include "runtime/diag_log.h"
#include "runtime/x87_guard.h"
#include "service/call_trace.h"
#include "service/slot_x87.h"

namespace service {

template <int Slot, auto Operation>
struct OperationEntry;

// The pattern matches __stdcall operations only: GCC keeps the calling convention in the
// function type, so a plain function would not match and would not build.
template <int Slot, class Result, class... Arguments, Result(MDN_STDCALL* Operation)(Arguments...)>
struct OperationEntry<Slot, Operation> {
    static_assert(!std::is_floating_point_v<Result>,
                  "an x87 result would not survive restoring the caller's environment");

    static Result MDN_STDCALL Call(Arguments... arguments) {
        if (!runtime::LogOn()) [[likely]] {
            if constexpr (SlotHoldsX87Guard(Slot)) {
                runtime::X87Guard x87;
                return Operation(arguments...);
            } else {
                return Operation(arguments...);
            }
        }
        // The call's line formats numbers: the log's path always computes at the module's
        // precision.
        runtime::X87Guard x87;
        return Traced<Slot, Operation>::Call(arguments...);
    }
};

// Never defined, and not constexpr: reaching it while the table is built stops the build.
void TheFieldIsNotNamedAsTheSlotsOperation();

// The entry for one slot, checked against the header: the field sits at the slot's number,
// bears the name the header gives that slot's operation, and has exactly the type of the
// entry, calling convention included.
template <int Slot, auto Operation, class SlotType, std::size_t Offset>
consteval SlotType CheckedEntry(std::string_view field) {
    static_assert(Offset == 4 * Slot, "the field sits at its slot number");
    if (field != kOperationNames[Slot])
        TheFieldIsNotNamedAsTheSlotsOperation();
    static_assert(std::is_same_v<decltype(&OperationEntry<Slot, Operation>::Call), SlotType>,
                  "the entry has the slot's type");
    return &OperationEntry<Slot, Operation>::Call;
}

}  // namespace service

// `.Field = entry` for the table's initializer.
#define MDN_OPERATION(field, slot, operation)                                            \
    .field = service::CheckedEntry<slot, &operation, decltype(MdnOperationTable::field), \
                                   offsetof(MdnOperationTable, field)>(#field)
