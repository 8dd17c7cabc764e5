#include "support/internals_stand_in.h"
#include "runtime/address_word.h"

#include <cmath>
#include <cstring>

namespace stand_in {
namespace {

uint32_t Word(const void* p) {
    return runtime::AddressWord(p);
}

int32_t MDN_STDCALL PositionAngle(const SimulatorPosition* position) {
    world().positions.push_back(*position);
    return world().angle;
}

uint32_t MDN_STDCALL Elevation(double latitude, double longitude, uint32_t, double* metres,
                               uint32_t) {
    world().elevation_calls.emplace_back(latitude, longitude);
    *metres = world().terrain(latitude, longitude);
    return 1;
}

// Keeps the table in decibels, as the simulator would.
uint32_t MDN_STDCALL SetGains(void* object, const MdnGainPair* pairs, uint32_t count) {
    world().setter_calls.push_back(SetterCall{object, {pairs, pairs + count}, count});
    auto* gains = static_cast<GainObject*>(object);
    for (uint32_t k = 0; k < count && k < MDN_GAIN_ENTRIES; ++k) {
        gains->table[k].level_db = 20.0 * std::log10(pairs[k].gain);
        gains->table[k].word = pairs[k].word;
    }
    return 1;
}

}  // namespace

World& world() {
    static World w;
    return w;
}

std::string PlainName(NameField field) {
    internals::FlipNameField(field);
    std::string name = internals::NameFieldText(field);
    internals::FlipNameField(field);
    return name;
}

void InternalsTest::SetUp() {
    FreshModule::SetUp();
    internals::ResetSimulatorInternals();
    world() = World{};
    records_.a[internals::kPositionAngleWord] = Word(reinterpret_cast<void*>(&PositionAngle));
    records_.c[internals::kGainObjectWord] = Word(&records_.gain_object);
    records_.d[internals::kElevationWord] = Word(reinterpret_cast<void*>(&Elevation));
    records_.functions[internals::kGainSetterWord] = Word(reinterpret_cast<void*>(&SetGains));
    records_.gain_object.functions = records_.functions;
}

void InternalsTest::TearDown() {
    internals::ResetSimulatorInternals();
    world() = World{};
    FreshModule::TearDown();
}

void InternalsTest::InstallModule(NameField m) {
    const void* record[] = {records_.a, records_.b, records_.c, records_.d};
    HMODULE module = fake::AddModule(PlainName(m));
    fake::AddExport(module, PlainName(internals::kExportName), record[m]);
}

void InternalsTest::InstallAll() {
    for (auto m :
         {internals::kModuleA, internals::kModuleB, internals::kModuleC, internals::kModuleD}) {
        InstallModule(m);
    }
}

void InternalsTest::SetEntry(int k, double level_db, uint32_t word) {
    records_.gain_object.table[k].level_db = level_db;
    records_.gain_object.table[k].word = word;
}

}  // namespace stand_in
