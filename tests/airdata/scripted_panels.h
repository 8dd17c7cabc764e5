// A panels function table for the air-data tests: entry 40 answers panel variables from a
// script, entries 73 and 75 answer unit ids and aircraft variables, and every call is logged
// together with how far the block had been written when it came.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mdnsrv.h"
#include "support/module_fixture.h"

namespace test {

constexpr uint8_t kPattern = 0xA5;

struct PanelsScript {
    std::map<int32_t, double> values;    // tokens answered as doubles
    std::map<int32_t, uint32_t> words;   // tokens answered in the low 32 bits
    std::map<int32_t, double> aircraft;  // aircraft variables by number
    std::vector<std::string> log;
};

// A fresh module whose air-data block was made first by a reader, who filled all 384
// bytes with kPattern, and whose panels table is the scripted one.
class AirDataModule : public FreshModule {
  protected:
    void SetUp() override;
    void TearDown() override;

    PanelsScript& script();
    MdnAirDataBlock& block();
    // The block's bytes as the reader sees them.
    const uint8_t* bytes();

  private:
    void* table_[80] = {};
};

}  // namespace test
