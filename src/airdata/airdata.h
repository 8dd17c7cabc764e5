// The air-data computer and its named shared block.
#pragma once

#include "mdnsrv.h"

namespace airdata {

// Created when the module is loaded, before start-up; true when the block is mapped.
bool CreateBlock();
// Destroyed when the module is unloaded.
void DestroyBlock();
// The mapped block, or null when it could not be created.
MdnAirDataBlock* Block();

}  // namespace airdata
