// Queries 1001 and 1002: the aircraft's configuration file path and folder, from the text the
// simulator keeps 436 bytes into the object behind the second aircraft information word.
#include <algorithm>
#include <cstring>

#include "navigation/navigation.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"
#include "runtime/address_checks.h"
#include "runtime/diag_log.h"

namespace queries {
namespace {

constexpr size_t kAircraftTextOffset = 436;
constexpr char kConfigurationSuffix[] = ".CFG";
// Room for the suffix after the text; a longer text is cut here (a path that long cannot
// name a file anyway), and its folder survives the cut whenever the folder part fits.
constexpr size_t kMaxAircraftText = kPathBufferSize - sizeof kConfigurationSuffix;

// Readability is asked of whole pages, the smallest unit memory is mapped in.
constexpr size_t kPageSize = 4096;

char path_buffer[kPathBufferSize];

// The aircraft text, at most kMaxAircraftText characters; empty while the simulator has none.
size_t CopyAircraftText() {
    path_buffer[0] = '\0';
    const uintptr_t holder = navigation::AircraftInformationWord(1);
    if (holder == 0)
        return 0;
    // Both addresses come from the simulator's code bytes: another build holds other words
    // there, so nothing is read through them before it is known to be readable.
    uintptr_t object;
    if (!runtime::IsReadable(reinterpret_cast<const void*>(holder), sizeof object))
        return MDN_WHY("did nothing: the aircraft object's holder is not readable"), 0;
    std::memcpy(&object, reinterpret_cast<const void*>(holder), sizeof object);
    if (object == 0)
        return 0;
    const char* text = reinterpret_cast<const char*>(object + kAircraftTextOffset);
    size_t n = 0;
    while (n < kMaxAircraftText) {
        // Checked a page at a time: a text may end just before memory that cannot be read.
        const uintptr_t at = reinterpret_cast<uintptr_t>(text + n);
        const size_t to_page_end = kPageSize - at % kPageSize;
        if ((n == 0 || at % kPageSize == 0) &&
            !runtime::IsReadable(text + n, std::min(to_page_end, kMaxAircraftText - n))) {
            path_buffer[0] = '\0';
            return MDN_WHY("did nothing: the aircraft text is not readable"), 0;
        }
        if (text[n] == '\0')
            break;
        path_buffer[n] = text[n];
        ++n;
    }
    path_buffer[n] = '\0';
    return n;
}

}  // namespace

const char* AircraftConfigurationPath() {
    const size_t n = CopyAircraftText();
    if (n != 0)
        std::memcpy(path_buffer + n, kConfigurationSuffix, sizeof kConfigurationSuffix);
    return path_buffer;
}

const char* AircraftFolder() {
    const size_t n = CopyAircraftText();
    // Back from the last character to the second, clearing up to the folder's backslash; the
    // first character is never examined.
    for (size_t i = n; i-- > 1;) {
        if (path_buffer[i] == '\\')
            break;
        path_buffer[i] = '\0';
    }
    return path_buffer;
}

}  // namespace queries
