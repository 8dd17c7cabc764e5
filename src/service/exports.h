// The exported records, for the module's own code and its tests.
#pragma once
#include "mdnsrv.h"

extern "C" {
extern MdnLinkage Linkage;
extern MdnImportEntry ImportTable[2];
extern MdnServiceObject MdnSrv;
}
