// ServiceControl (slot 1): numbered requests carried out with the caller's input.
#include <cstring>

#include "navigation/navigation.h"
#include "queries/queries.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"
#include "runtime/message_boxes.h"
#include "runtime/diag_log.h"

namespace navigation {

uint32_t MDN_STDCALL ServiceControl(uint32_t id, const void* in) {
    switch (id) {
        case MDN_CONTROL_CYCLE_NAV_DEVICE:
            CycleNavDevice();
            return 1;
        case MDN_CONTROL_SET_VOR_PASS_THROUGH: {
            if (in == nullptr)  // nothing to read: refused, the flag stays
                return MDN_WHY("no input"), 0;
            uint32_t word;
            std::memcpy(&word, in, sizeof word);
            SetVorPassThrough(word == 1);
            return 1;
        }
        case MDN_CONTROL_AUTOPILOT_DATA: {
            if (in == nullptr)  // no value: refused, no feed time stamp either
                return MDN_WHY("no input"), 0;
            double value;
            std::memcpy(&value, in, sizeof value);
            PostAutopilotData(value);
            return 1;
        }
        case MDN_CONTROL_SET_GAIN:
            queries::ControlSetGain(in);
            return 1;
        case MDN_CONTROL_SET_GAIN_WORD:
            queries::ControlSetGainWord(in);
            return 1;
        case MDN_CONTROL_SET_GAIN_TABLE:
            queries::ControlSetGainTable(in);
            return 1;
        case MDN_CONTROL_GPS_INFO_USER_ADD:
            AddGpsInfoUser();
            return 1;
        case MDN_CONTROL_GPS_INFO_USER_REMOVE:
            RemoveGpsInfoUser();
            return 1;
        case MDN_CONTROL_SHOW_INFORMATION:
            if (in == nullptr)  // no text: no box
                return MDN_WHY("no text"), 0;
            runtime::ShowInformationBox(static_cast<const char*>(in));
            return 1;
        default:
            return MDN_WHY("unknown control id"), 0;
    }
}

}  // namespace navigation
