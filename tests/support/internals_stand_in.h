// Stand-in simulator internals for the query, terrain-map and resolver tests: the four
// records with a position-angle function, a gain object and an elevation function, installed
// as fake modules under the names the module keeps scrambled.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "internals/internal_names.h"
#include "internals/internals_resolver.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "support/module_fixture.h"

namespace stand_in {

using internals::GainEntry;
using internals::NameField;
using internals::SimulatorPosition;

struct GainObject {
    const uint32_t* functions;  // word 5 is the gain setter
    uint32_t reserved[11];
    GainEntry table[MDN_GAIN_ENTRIES];
};
static_assert(offsetof(GainObject, table) == internals::kGainTableOffset);

struct Records {
    uint32_t a[8] = {};
    uint32_t b[2] = {};
    uint32_t c[internals::kGainObjectWord + 1] = {};
    uint32_t d[internals::kElevationWord + 1] = {};
    uint32_t functions[8] = {};
    GainObject gain_object = {};
};

struct SetterCall {
    void* object;
    std::vector<MdnGainPair> pairs;
    uint32_t count;
};

// What the stand-in functions answer and what they saw.
struct World {
    int32_t angle = 0;                         // returned by the position-angle function
    std::vector<SimulatorPosition> positions;  // received by it
    std::function<double(double, double)> terrain = [](double, double) { return 0.0; };
    std::vector<std::pair<double, double>> elevation_calls;
    std::vector<SetterCall> setter_calls;
};
World& world();

// The plain text of a name field, taken without leaving it unscrambled.
std::string PlainName(NameField field);

// A fresh module whose resolver has found nothing yet, with the stand-in records ready to be
// installed module by module.
class InternalsTest : public test::FreshModule {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Makes module m (A to D) a loaded module exporting its record.
    void InstallModule(NameField m);
    void InstallAll();
    // Sets entry k of the gain table.
    void SetEntry(int k, double level_db, uint32_t word);
    Records records_;
};

}  // namespace stand_in
