// The demo gauge: one file per family of the module's operations. Each family reports what
// it did and what the module answered; an operation whose subsystem is not there yet simply
// reports its failure result.
#pragma once
#include <windows.h>

#include <cstdint>

#include "mdnsrv.h"
#include "sim_driver.h"

namespace demo {

struct Context {
    const SimDriver* driver;       // the stand-in simulator, for input and the log
    const MdnOperationTable* ops;  // the module's operation table
};

// One line of the report: "demo: <text>".
void Report(const Context& c, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Asks the simulator's panel-variable lookup for a token, as the simulator's own gauges do:
// through word 40 of the panels function table (the module's hook sits there once linked).
MdnVariableQuery Lookup(const Context& c, int32_t token);

// Pictures: 16-bit pixels (5-5-5) or one byte per pixel through a palette of 256 colours.
bool SaveBmp16(const char* path, const uint16_t* pixels, int width, int height, int pitch);
bool SaveBmp8(const char* path, const uint8_t* pixels, int width, int height, int pitch,
              const uint32_t* palette);
// "<output folder>\<name>"
void OutputPath(const Context& c, const char* name, char* out, size_t size);

// The families, in the order the demo runs them.
void Keys(const Context& c);
void Navigation(const Context& c);
void Queries(const Context& c);
void Traffic(const Context& c);
void Pictures(const Context& c);
void AirData(const Context& c);
void Dumps(const Context& c);
void Finish(const Context& c);  // unregisters what Keys and Navigation registered
void FinishKeys(const Context& c);
void FinishNavigation(const Context& c);

}  // namespace demo
