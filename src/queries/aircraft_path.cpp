// Queries 1001 and 1002: the aircraft's configuration file path and folder, from the text the
// simulator keeps 436 bytes into the object behind the second aircraft information word.
#include <cstring>

#include "navigation/navigation.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"

namespace navigation::queries {
namespace {

constexpr size_t kAircraftTextOffset = 436;
constexpr char kConfigurationSuffix[] = ".CFG";
// Room for the suffix after the text; a longer text is cut here (a path that long cannot
// name a file anyway), and its folder survives the cut whenever the folder part fits.
constexpr size_t kMaxAircraftText = kPathBufferSize - sizeof kConfigurationSuffix;

char path_buffer[kPathBufferSize];

// The aircraft text, at most kMaxAircraftText characters; empty while the simulator has none.
size_t CopyAircraftText() {
    path_buffer[0] = '\0';
    const uintptr_t holder = AircraftInformationWord(1);
    if (holder == 0)
        return 0;
    uintptr_t object;
    std::memcpy(&object, reinterpret_cast<const void*>(holder), sizeof object);
    if (object == 0)
        return 0;
    const char* text = reinterpret_cast<const char*>(object + kAircraftTextOffset);
    size_t n = 0;
    while (n < kMaxAircraftText && text[n] != '\0') {
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

}  // namespace navigation::queries
