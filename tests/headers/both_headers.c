/* Both gauge-facing headers in one translation unit, compiled as C and as C++ in every mode
 * of header_modes.cmake. BREAK_LAYOUT adds a check that must fail; USER_ASSERT supplies the
 * project's own check macro, which the header must use rather than redefine. */
#ifdef USER_ASSERT
#define MDN_STATIC_ASSERT(cond, msg) extern int user_layout_checks[(cond) ? 1 : -1]
#endif

#include "mdnsrv.h"
#include "sim_driver.h"

#ifdef BREAK_LAYOUT
MDN_CHECK_SIZE(MdnGainPair, 12);
#endif

/* The typedefs and helpers are usable, not just declared. */
uint32_t HeaderModesCheck(const SimDriver* d, const MdnOperationTable* mdn) {
    uint32_t version = 0;
    double value = 0.0;
    mdn->ServiceQuery(MDN_QUERY_VERSION, &version);
    d->LookupVariable(MDN_TOKEN_GPS_INFO, &value, NULL);
    SimLogf(d, "version 0x%08lX", (unsigned long)version);
    return SimCheckHex(d, "version", MDN_VERSION_PACKED, version);
}
