// ServiceControl (slot 1): numbered requests carried out with the caller's input.
#include <cstring>

#include "navigation/navigation.h"
#include "queries/queries.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"
#include "runtime/message_boxes.h"

namespace navigation {

uint32_t MDN_STDCALL ServiceControl(uint32_t id, const void* in) {
    switch (id) {
        case MDN_CONTROL_CYCLE_NAV_DEVICE:
            CycleNavDevice();
            return 1;
        case MDN_CONTROL_SET_VOR_PASS_THROUGH: {
            if (in == nullptr)
                return 0;  // nothing to read: refused, the flag stays
            uint32_t word;
            std::memcpy(&word, in, sizeof word);
            SetVorPassThrough(word == 1);
            return 1;
        }
        case MDN_CONTROL_AUTOPILOT_DATA: {
            if (in == nullptr)
                return 0;  // no value: refused, no feed time stamp either
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
            if (in == nullptr)
                return 0;  // no text: no box
            runtime::ShowInformationBox(static_cast<const char*>(in));
            return 1;
        default:
            return 0;
    }
}

}  // namespace navigation
