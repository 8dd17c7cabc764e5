/*
 * sim_global.h: the stand-in GLOBAL.DLL. Its export "Linkage" is a record of
 * SIM_GLOBAL_LINKAGE_SIZE bytes; the word 620 bytes into it (the simulator global record that
 * MdnSrv.dll's query 1500 reads) holds SIM_GLOBAL_RECORD_VALUE.
 */
#ifndef SIM_GLOBAL_H
#define SIM_GLOBAL_H

#define SIM_GLOBAL_LINKAGE_SIZE 1024
#define SIM_GLOBAL_RECORD_OFFSET 620
#define SIM_GLOBAL_RECORD_VALUE 0x6C0B41A1u

#endif /* SIM_GLOBAL_H */
