// AI traffic: the snapshot of the aircraft around the user's.
#include <cctype>

#include "demo.h"

namespace demo {

void Traffic(const Context& c) {
    static MdnTrafficRecord records[MDN_TRAFFIC_MAX];
    const uint32_t count = c.ops->GetTrafficList(records);
    Report(c, "traffic: %lu aircraft", static_cast<unsigned long>(count));
    for (uint32_t i = 0; i < count && i < MDN_TRAFFIC_MAX && i < 12; ++i) {
        const MdnTrafficRecord& r = records[i];
        char name[17] = {};
        for (int k = 0; k < 16 && r.name[k]; ++k) {
            name[k] = std::isprint(static_cast<unsigned char>(r.name[k])) ? r.name[k] : '.';
        }
        Report(c, "traffic:   id %lu mode %lu %-16s %.4f %.4f %.0f ft hdg %.0f %.0f kt %.0f fpm",
               static_cast<unsigned long>(r.id), static_cast<unsigned long>(r.mode), name,
               r.latitude, r.longitude, r.altitude, r.heading, r.ground_speed, r.vertical_speed);
    }
}

}  // namespace demo
