// DrawTerrainMap (slot 28): a heading-up map of ground elevation in 150-foot steps, one byte
// per pixel, computed in four bands so that a gauge can spread one map over four calls.
#include <cmath>
#include <cstring>

#include "internals/internals_resolver.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "queries/nearest_integer.h"
#include "runtime/diag_log.h"

namespace queries {
namespace {

using internals::ElevationFunction;

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kMetresPerNauticalMileTimesTwo = 3704.0;
constexpr double kMetresPerDegreeOfLatitude = 111120.0;
constexpr double kStepsPerMetre = 0.021872265966754158;  // one step is 150 feet, 45.72 m
constexpr int kBands = 4;

uint8_t ElevationByte(double metres) {
    if (metres < -5.0)
        return 0;
    if (metres <= 0.0)
        return 1;
    return static_cast<uint8_t>(NearestLow32(metres * kStepsPerMetre + 1.5));
}

struct MapGeometry {
    double latitude, longitude;
    double lat_per_pixel, lon_per_pixel;
    double cos_theta, sin_theta;
    double column_centre, row_centre;  // reference column and row less half a pixel
};

uint8_t PixelAt(const MapGeometry& g, ElevationFunction elevation, int column, int row) {
    const double u = column - g.column_centre;
    const double v = row - g.row_centre;
    const double x = u * g.cos_theta + v * g.sin_theta;
    const double y = v * g.cos_theta - u * g.sin_theta;
    double metres = 0.0;
    elevation(g.latitude + y * g.lat_per_pixel, g.longitude - x * g.lon_per_pixel, 0, &metres, 0);
    return ElevationByte(metres);
}

}  // namespace

// The map occupies width x height bytes from the pixel address. Computed rows are packed
// height bytes apart and skipped bands advance width bytes per row, which lands exactly on
// the bands of a square map; on a surface narrower than it is high that walk would run past
// the surface, so nothing is written at or beyond width x height bytes.
uint32_t MDN_STDCALL DrawTerrainMap(const MdnSurface* destination, double* position, float range_nm,
                                    float reference_column, float reference_row,
                                    uint32_t band_mask) {
    if (destination == nullptr || position == nullptr)
        return MDN_WHY("no surface or no position"), 0;
    MdnSurface surface;
    std::memcpy(&surface, destination, sizeof surface);
    if (surface.pixels == nullptr)
        return MDN_WHY("the surface has no pixels"), 0;
    const auto& s = internals::PrepareSimulatorInternals();
    if (s.elevation == nullptr)
        return MDN_WHY("no module answers ground elevation"), 0;

    double p[3];
    std::memcpy(p, position, sizeof p);
    double unused = 0.0;
    s.elevation(p[0], p[1], 0, &unused, 0);

    const int width = surface.width;
    const int height = surface.height;
    MapGeometry g;
    g.latitude = p[0];
    g.longitude = p[1];
    g.lat_per_pixel =
        range_nm * kMetresPerNauticalMileTimesTwo / height / kMetresPerDegreeOfLatitude;
    g.lon_per_pixel = g.lat_per_pixel / std::cos(p[0] * kRadiansPerDegree);
    const double theta = -(p[2] + 180.0) * kRadiansPerDegree;
    std::memcpy(position + 2, &theta, sizeof theta);
    g.cos_theta = std::cos(theta);
    g.sin_theta = std::sin(theta);
    g.column_centre = reference_column - 0.5;
    g.row_centre = reference_row - 0.5;

    const int64_t extent = width > 0 && height > 0 ? int64_t{width} * height : 0;
    const int band_rows = height / kBands;
    auto* bytes = reinterpret_cast<uint8_t*>(surface.pixels);
    int64_t offset = 0;
    for (int band = 0; band < kBands && offset < extent; ++band) {
        if ((band_mask & (8u >> band)) == 0) {
            offset += int64_t{width} * band_rows;
            continue;
        }
        for (int r = 0; r < band_rows && offset < extent; ++r) {
            const int row = band * band_rows + r;
            for (int column = 0; column < height && offset < extent; ++column, ++offset) {
                bytes[offset] = PixelAt(g, s.elevation, column, row);
            }
        }
    }
    return 1;
}

}  // namespace queries
