// The exported records, for the module's own code and its tests.
#pragma once
#include "mdnsrv.h"
#include "runtime/import_table.h"

extern "C" {
extern MdnLinkage Linkage;
extern MdnServiceObject MdnSrv;
}
