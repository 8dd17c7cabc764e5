// ServiceControl (slot 1): numbered requests carried out with the caller's input.
#include <cstring>

#include "navigation/navigation.h"
#include "queries/queries.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"
#include "queries/id_table.h"
#include "runtime/message_boxes.h"
#include "runtime/diag_log.h"

namespace queries {
namespace {

uint32_t CycleNavDevice(const void*) {
    navigation::CycleNavDevice();
    return 1;
}

uint32_t SetVorPassThrough(const void* in) {
    if (in == nullptr)  // nothing to read: refused, the flag stays
        return MDN_WHY("no input"), 0;
    uint32_t word;
    std::memcpy(&word, in, sizeof word);
    navigation::SetVorPassThrough(word == 1);
    return 1;
}

uint32_t AutopilotData(const void* in) {
    if (in == nullptr)  // no value: refused, no feed time stamp either
        return MDN_WHY("no input"), 0;
    double value;
    std::memcpy(&value, in, sizeof value);
    navigation::PostAutopilotData(value);
    return 1;
}

uint32_t SetGain(const void* in) {
    ControlSetGain(in);
    return 1;
}

uint32_t SetGainWord(const void* in) {
    ControlSetGainWord(in);
    return 1;
}

uint32_t SetGainTable(const void* in) {
    ControlSetGainTable(in);
    return 1;
}

uint32_t AddGpsInfoUser(const void*) {
    navigation::AddGpsInfoUser();
    return 1;
}

uint32_t RemoveGpsInfoUser(const void*) {
    navigation::RemoveGpsInfoUser();
    return 1;
}

uint32_t ShowInformation(const void* in) {
    if (in == nullptr)  // no text: no box
        return MDN_WHY("no text"), 0;
    runtime::ShowInformationBox(static_cast<const char*>(in));
    return 1;
}

constexpr ControlEntry kControls[] = {
    MDN_ID_ENTRY(MDN_CONTROL_CYCLE_NAV_DEVICE, 0, CycleNavDevice),
    MDN_ID_ENTRY(MDN_CONTROL_SET_VOR_PASS_THROUGH, 4, SetVorPassThrough),
    MDN_ID_ENTRY(MDN_CONTROL_AUTOPILOT_DATA, sizeof(double), AutopilotData),
    MDN_ID_ENTRY(MDN_CONTROL_SET_GAIN, 4, SetGain),
    MDN_ID_ENTRY(MDN_CONTROL_SET_GAIN_WORD, 4, SetGainWord),
    MDN_ID_ENTRY(MDN_CONTROL_SET_GAIN_TABLE, MDN_GAIN_ENTRIES * sizeof(MdnGainPair), SetGainTable),
    MDN_ID_ENTRY(MDN_CONTROL_GPS_INFO_USER_ADD, 0, AddGpsInfoUser),
    MDN_ID_ENTRY(MDN_CONTROL_GPS_INFO_USER_REMOVE, 0, RemoveGpsInfoUser),
    MDN_ID_ENTRY(MDN_CONTROL_SHOW_INFORMATION, kTextInput, ShowInformation),
};

}  // namespace

std::span<const ControlEntry> ControlTable() {
    return kControls;
}

uint32_t MDN_STDCALL ServiceControl(uint32_t id, const void* in) {
    const ControlEntry* entry = FindControl(id);
    if (entry == nullptr)
        return MDN_WHY("unknown control id"), 0;
    return entry->carry_out(in);
}

}  // namespace queries
