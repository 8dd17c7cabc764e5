// Queries and controls as a gauge makes them, and terrain maps of the stand-in island saved
// as 8-bit palette pictures in the output folder.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "mdnsrv.h"
#include "sim_global.h"
#include "sim_internals.h"
#include "sim_panels.h"

namespace {

constexpr int kMapSize = 256;
constexpr float kRangeNm = 24.0f;  // the map is 48 nautical miles high

struct Service {
    const MdnOperationTable* ops;
    uint32_t Word(int32_t id, uint32_t in = 0) const {
        uint32_t io = in;
        return ops->ServiceQuery(id, &io) ? io : 0xDEADDEADu;
    }
    std::string Text(int32_t id) const {
        char text[64] = "(no answer)";
        ops->ServiceQuery(id, text);
        return text;
    }
    std::string TextAt(int32_t id) const {
        const uint32_t address = Word(id);
        return address && address != 0xDEADDEADu
                   ? std::string(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)))
                   : "(null)";
    }
};

void CheckIdentity(const SimDriver* d, const Service& s) {
    SimCheckHex(d, "query 65535: packed version", MDN_VERSION_PACKED, s.Word(MDN_QUERY_VERSION));
    SimCheckText(d, "query 10: active device", "Flight Simulator GPS",
                 s.Text(MDN_QUERY_ACTIVE_DEVICE_LONG_NAME).c_str());
    SimCheckText(d, "query 11: active device short name", "GPS",
                 s.Text(MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME).c_str());
    const uint32_t gps_info = s.Word(MDN_QUERY_GPS_INFO);
    d->Check(e2e::InImage(static_cast<HMODULE>(d->module),
                          reinterpret_cast<const void*>(static_cast<uintptr_t>(gps_info))),
             "query 800: GpsInfo lies in MdnSrv.dll", "an address in the module",
             std::to_string(gps_info).c_str());
    SimCheckText(d, "query 1001: aircraft configuration file", SIM_PANELS_AIRCRAFT_PATH ".CFG",
                 s.TextAt(MDN_QUERY_AIRCRAFT_CFG_PATH).c_str());
    SimCheckText(d, "query 1002: aircraft folder", "Aircraft\\Standin Trainer\\",
                 s.TextAt(MDN_QUERY_AIRCRAFT_FOLDER).c_str());
    SimCheckHex(d, "query 1500: simulator global record", SIM_GLOBAL_RECORD_VALUE,
                s.Word(MDN_QUERY_GLOBAL_RECORD));
}

void CheckInternals(const SimDriver* d, const Service& s) {
    const float points[][2] = {{47.0f, 8.0f}, {10.0f, -100.0f}, {-33.5f, 151.25f}};
    for (const auto& p : points) {
        float io[3] = {p[0], p[1], 0.0f};
        s.ops->ServiceQuery(MDN_QUERY_POSITION_ANGLE, io);
        char what[96];
        std::snprintf(what, sizeof what, "query 1100: position angle at %g, %g", p[0], p[1]);
        SimCheckNear(d, what, SimGeoAngleDegrees(p[0], p[1]), io[2], 1e-4);
    }

    const double levels[MDN_GAIN_ENTRIES] = SIM_MIX_LEVELS;
    MdnGainPair pairs[MDN_GAIN_ENTRIES] = {};
    SimCheckU32(d, "query 1103 answered", 1, s.ops->ServiceQuery(MDN_QUERY_GAIN_TABLE, pairs));
    for (int k = 0; k < MDN_GAIN_ENTRIES; ++k) {
        char what[64];
        std::snprintf(what, sizeof what, "query 1103: gain of entry %d", k);
        SimCheckNear(d, what, std::pow(10.0, levels[k] / 20.0), pairs[k].gain, 1e-6);
        std::snprintf(what, sizeof what, "query 1103: word of entry %d", k);
        SimCheckHex(d, what, SIM_MIX_WORD(k), pairs[k].word);
    }
    const uint32_t half_on_entry_2 = 0x00020032;
    s.ops->ServiceControl(MDN_CONTROL_SET_GAIN, &half_on_entry_2);
    SimCheckU32(d, "control 65576 then query 1101: entry 2 at 50 %", 50,
                s.Word(MDN_QUERY_GAIN_PERCENT, 2));
    s.ops->ServiceControl(MDN_CONTROL_SET_GAIN_TABLE, pairs);  // back as it was
    SimCheckU32(d, "control 65578 then query 1101: entry 2 at 25 %", 25,
                s.Word(MDN_QUERY_GAIN_PERCENT, 2));

    const double spots[][2] = {{47.0, 8.0}, {47.033, 8.07}, {46.5, 7.0}};
    for (const auto& p : spots) {
        double io[3] = {p[0], p[1], -999.0};
        s.ops->ServiceQuery(MDN_QUERY_ELEVATION, io);
        char what[96];
        std::snprintf(what, sizeof what, "query 1104: elevation at %g, %g", p[0], p[1]);
        const e2e::ReferencePrecision reference;
        SimCheckNear(d, what, SimTerrainMetres(p[0], p[1]), io[2], 1e-9);
    }
}

// The byte a map pixel should hold, worked out here from the stand-in's terrain.
uint8_t ExpectedPixel(double heading, int column, int row) {
    const double theta = -(heading + 180.0) * 0.017453292519943295;
    const double s_lat = kRangeNm * 3704.0 / kMapSize / 111120.0;
    const double s_lon = s_lat / std::cos(SIM_TERRAIN_LATITUDE * 0.017453292519943295);
    const double u = column - (kMapSize / 2 - 0.5), v = row - (kMapSize / 2 - 0.5);
    const double x = u * std::cos(theta) + v * std::sin(theta);
    const double y = v * std::cos(theta) - u * std::sin(theta);
    const double e =
        SimTerrainMetres(SIM_TERRAIN_LATITUDE + y * s_lat, SIM_TERRAIN_LONGITUDE - x * s_lon);
    if (e < -5.0)
        return 0;
    if (e <= 0.0)
        return 1;
    return static_cast<uint8_t>(std::nearbyint(e * 0.021872265966754158 + 1.5));
}

// Sea blue, a sandy shore, then green lowlands through brown hills to grey rock and snow.
void Palette(uint8_t (*rgb)[3]) {
    const struct {
        int step;
        uint8_t r, g, b;
    } stops[] = {{2, 60, 150, 60},    {12, 150, 190, 80},  {25, 150, 110, 60},
                 {45, 140, 130, 125}, {60, 245, 245, 245}, {255, 255, 255, 255}};
    for (int i = 0; i < 256; ++i) {
        uint8_t* c = rgb[i];
        if (i == 0) {
            c[0] = 30, c[1] = 70, c[2] = 150;
            continue;
        }
        if (i == 1) {
            c[0] = 215, c[1] = 200, c[2] = 140;
            continue;
        }
        int s = 0;
        while (stops[s + 1].step < i)
            ++s;
        const double t = double(i - stops[s].step) / (stops[s + 1].step - stops[s].step);
        c[0] = uint8_t(stops[s].r + t * (stops[s + 1].r - stops[s].r));
        c[1] = uint8_t(stops[s].g + t * (stops[s + 1].g - stops[s].g));
        c[2] = uint8_t(stops[s].b + t * (stops[s + 1].b - stops[s].b));
    }
}

// An uncompressed 8-bit picture with a 256-colour palette; rows are stored bottom-up.
bool SaveBitmap(const std::string& path, const std::vector<uint8_t>& map) {
#pragma pack(push, 1)
    struct Header {
        uint16_t type;
        uint32_t file_size;
        uint32_t reserved;
        uint32_t pixel_offset;
        uint32_t info_size;
        int32_t width, height;
        uint16_t planes, bits;
        uint32_t compression, image_size;
        int32_t x_ppm, y_ppm;
        uint32_t colours_used, colours_important;
    };
#pragma pack(pop)
    static_assert(sizeof(Header) == 54, "file and info headers");
    const uint32_t palette_size = 256 * 4;
    const uint32_t image_size = kMapSize * kMapSize;  // rows of 256 bytes need no padding
    const Header header = {0x4D42,     uint32_t(sizeof(Header) + palette_size + image_size),
                           0,          uint32_t(sizeof(Header) + palette_size),
                           40,         kMapSize,
                           kMapSize,   1,
                           8,          0,
                           image_size, 2835,
                           2835,       256,
                           0};
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    std::fwrite(&header, sizeof header, 1, file);
    uint8_t rgb[256][3];
    Palette(rgb);
    for (auto& c : rgb) {
        const uint8_t quad[4] = {c[2], c[1], c[0], 0};
        std::fwrite(quad, 4, 1, file);
    }
    for (int row = kMapSize - 1; row >= 0; --row)
        std::fwrite(map.data() + size_t(row) * kMapSize, kMapSize, 1, file);
    return std::fclose(file) == 0;
}

std::vector<uint8_t> DrawMap(const SimDriver* d, const Service& s, double heading) {
    std::vector<uint8_t> map(kMapSize * kMapSize, 0xEE);
    const MdnSurface surface = {reinterpret_cast<uint16_t*>(map.data()), kMapSize, kMapSize,
                                kMapSize};
    // One band per call, as a gauge spreads the work over four frames.
    for (uint32_t band : {8u, 4u, 2u, 1u}) {
        double position[3] = {SIM_TERRAIN_LATITUDE, SIM_TERRAIN_LONGITUDE, heading};
        const uint32_t done = s.ops->DrawTerrainMap(&surface, position, kRangeNm, kMapSize / 2.0f,
                                                    kMapSize / 2.0f, band);
        char what[64];
        std::snprintf(what, sizeof what, "terrain map band %u processed", band);
        SimCheckU32(d, what, 1, done & 0xFF);
        const e2e::ReferencePrecision reference;
        SimCheckNear(d, "terrain map heading becomes the rotation in radians",
                     -(heading + 180.0) * 0.017453292519943295, position[2], 1e-12);
    }
    return map;
}

void CheckMaps(const SimDriver* d, const Service& s) {
    const std::vector<uint8_t> north_up = DrawMap(d, s, 0.0);
    const std::vector<uint8_t> east_up = DrawMap(d, s, 90.0);
    const e2e::ReferencePrecision reference;

    uint32_t mismatches = 0, land = 0, untouched = 0;
    for (int row = 0; row < kMapSize; ++row) {
        for (int column = 0; column < kMapSize; ++column) {
            const uint8_t got = north_up[size_t(row) * kMapSize + column];
            mismatches += got != ExpectedPixel(0.0, column, row);
            land += got >= 2;
            untouched += got == 0xEE;
            // Heading 90 shows at (column, row) what north-up shows at (255 - row, column).
            mismatches += east_up[size_t(row) * kMapSize + column] !=
                          north_up[size_t(column) * kMapSize + (kMapSize - 1 - row)];
        }
    }
    SimCheckU32(d, "terrain map pixels left unwritten", 0, untouched);
    // A pixel whose elevation lies on a step boundary may round either way in the gauge.
    d->Check(mismatches <= 8, "terrain map pixels as the stand-in terrain gives them",
             "at most 8 differing", std::to_string(mismatches).c_str());
    d->Check(land > 5000 && land < 60000, "terrain map shows an island in the sea",
             "between 5000 and 60000 land pixels", std::to_string(land).c_str());

    const std::string folder = d->output_folder;
    for (const auto& [name, map] : {std::pair{"terrain_map.bmp", &north_up},
                                    std::pair{"terrain_map_heading_090.bmp", &east_up}}) {
        const std::string path = folder + "\\" + name;
        const bool saved = SaveBitmap(path, *map);
        d->Check(saved, "terrain map saved", path.c_str(), saved ? path.c_str() : "not written");
    }
}

}  // namespace

SIM_GAUGE_ENTRY {
    // The aircraft words and the global record are read when the link timer succeeds.
    SimCheckU32(driver, "link timer ticks until linked", 1, driver->PumpUntilTicks(1, 4000));
    const auto* object = reinterpret_cast<const MdnServiceObject*>(
        GetProcAddress(static_cast<HMODULE>(driver->module), MDN_SERVICE_SYMBOL));
    if (!driver->Check(object != nullptr, "service object", "exported", "missing"))
        return 1;
    const Service service{object->table};
    CheckIdentity(driver, service);
    CheckInternals(driver, service);
    CheckMaps(driver, service);
    return 0;
}
