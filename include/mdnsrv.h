/*
 * mdnsrv.h: the binary interface of MdnSrv.dll, the Meridane service module.
 *
 * A gauge finds the module with GetModuleHandleA("MdnSrv.dll"), reads the exported
 * data symbol "MdnSrv" (a MdnServiceObject) and calls the operations of its table.
 * Every operation is __stdcall, takes one 32-bit stack word per argument and must be
 * called on the simulator's main thread (the thread that runs gauge code), unless its
 * comment says otherwise. No operation reports failure in any other way than its result.
 *
 * Every record below is a fixed binary layout of 32-bit little-endian words and
 * 32-bit addresses; the checks at the end of this file hold the layouts in place.
 * The header is C-compatible and is used by the module itself, so the layouts exist once.
 */
#ifndef MDNSRV_H
#define MDNSRV_H

#include <stddef.h>

/* Visual C++ before 2010 has no <stdint.h>: its own sized types stand in. A project that
 * already defines these names defines MDN_HAVE_STDINT before including this header. */
#if defined(_MSC_VER) && _MSC_VER < 1600
#ifndef MDN_HAVE_STDINT
#define MDN_HAVE_STDINT
typedef signed char int8_t;
typedef unsigned __int8 uint8_t;
typedef __int16 int16_t;
typedef unsigned __int16 uint16_t;
typedef __int32 int32_t;
typedef unsigned __int32 uint32_t;
#endif
#else
#include <stdint.h>
#endif

#ifdef _MSC_VER
#define MDN_STDCALL __stdcall
#else
#define MDN_STDCALL __attribute__((stdcall))
#endif

/* A compile-time check. Where the language has no assertion of its own (C89, C99, C++98,
 * Visual C before 2019) a failed check is an array of negative size, named after its line
 * so that checks never clash. A project may define its own MDN_STATIC_ASSERT first. */
#ifndef MDN_STATIC_ASSERT
#if defined(__cplusplus) && (__cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1600))
#define MDN_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define MDN_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#else
#define MDN_CHECK_NAME2(line) mdn_layout_check_##line
#define MDN_CHECK_NAME(line) MDN_CHECK_NAME2(line)
#define MDN_STATIC_ASSERT(cond, msg) typedef char MDN_CHECK_NAME(__LINE__)[(cond) ? 1 : -1]
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------
 * Names and numbers
 * ------------------------------------------------------------------------------------- */

#define MDN_MODULE_FILE_NAME "MdnSrv.dll"
#define MDN_SERVICE_SYMBOL "MdnSrv"
#define MDN_VERSION_PACKED 0x05030001u /* query 65535 for FileVersion "5.3.0.1" */

/* Name of the 384-byte air-data block (named shared memory, paging-file backed). */
#define MDN_AIRDATA_NAME                                                                      \
    "1EFC3010-F5FE-47b3-823A-57AD68ADB0A3-3CA3132D-F26E-4562-9771-91ACF0724E89"
#define MDN_AIRDATA_SIZE 384

/* Bytes of a buffer that receives a navigation-device name, its NUL included: registration
 * refuses longer names, so no name the module writes is longer. */
#define MDN_NAME_SIZE 64

/* Operation-table slots. */
enum MdnSlot {
    MDN_SLOT_SERVICE_QUERY = 0,
    MDN_SLOT_SERVICE_CONTROL = 1,
    MDN_SLOT_REGISTER_KEY_CLIENT = 2,
    MDN_SLOT_UNREGISTER_KEY_CLIENT = 3,
    MDN_SLOT_ENABLE_KEY_CLIENT = 4,
    MDN_SLOT_DISABLE_KEY_CLIENT = 5,
    MDN_SLOT_ADD_KEY_COMMAND = 6,
    MDN_SLOT_BIND_KEY_COMMAND = 7,
    MDN_SLOT_NEXT_KEY_EVENT = 8,
    MDN_SLOT_FIND_KEY_COMMAND = 9,
    MDN_SLOT_FIRE_KEY_COMMAND = 10,
    MDN_SLOT_REGISTER_NAV_DEVICE = 11,
    MDN_SLOT_UNREGISTER_NAV_DEVICE = 12,
    MDN_SLOT_FIND_NAV_DEVICE = 13,
    MDN_SLOT_SELECT_NAV_DEVICE = 14,
    MDN_SLOT_GET_NAV_DEVICE_COUNT = 15,
    MDN_SLOT_GET_NAV_DEVICE_INFO = 16,
    MDN_SLOT_IS_NAV_DEVICE_ACTIVE = 17,
    MDN_SLOT_CYCLE_NAV_DEVICE = 18,
    MDN_SLOT_GET_ACTIVE_NAV_DEVICE = 19,
    MDN_SLOT_GET_PANELS_HOOK_STATE = 20,
    MDN_SLOT_REGISTER_RANGE_HANDLER = 21,
    MDN_SLOT_UNREGISTER_RANGE_HANDLER = 22,
    MDN_SLOT_GET_TRAFFIC_LIST = 23,
    MDN_SLOT_ACQUIRE_WORK_BUFFER = 24,
    MDN_SLOT_RELEASE_WORK_BUFFER = 25,
    MDN_SLOT_ROTATE_BITMAP = 26,
    MDN_SLOT_COPY_BITMAP = 27,
    MDN_SLOT_DRAW_TERRAIN_MAP = 28,
    MDN_SLOT_STRETCH_BITMAP = 29,
    MDN_SLOT_ROTATE_BITMAP_MASKED = 30,
    MDN_SLOT_COUNT = 31
};
#define MDN_TABLE_RESERVED_WORDS 26

/* The operations' names in slot order, for logs and tools:
 * static const char* const names[MDN_SLOT_COUNT] = MDN_OPERATION_NAMES; */
#define MDN_OPERATION_NAMES                                                                  \
    {"ServiceQuery",        "ServiceControl",       "RegisterKeyClient",                    \
     "UnregisterKeyClient", "EnableKeyClient",      "DisableKeyClient",                     \
     "AddKeyCommand",       "BindKeyCommand",       "NextKeyEvent",                         \
     "FindKeyCommand",      "FireKeyCommand",       "RegisterNavDevice",                    \
     "UnregisterNavDevice", "FindNavDevice",        "SelectNavDevice",                      \
     "GetNavDeviceCount",   "GetNavDeviceInfo",     "IsNavDeviceActive",                    \
     "CycleNavDevice",      "GetActiveNavDevice",   "GetPanelsHookState",                   \
     "RegisterRangeHandler", "UnregisterRangeHandler", "GetTrafficList",                    \
     "AcquireWorkBuffer",   "ReleaseWorkBuffer",    "RotateBitmap",                         \
     "CopyBitmap",          "DrawTerrainMap",       "StretchBitmap",                        \
     "RotateBitmapMasked"}

/* ServiceQuery (slot 0) ids. */
enum MdnQuery {
    MDN_QUERY_ACTIVE_DEVICE_LONG_NAME = 10, /* out: MDN_NAME_SIZE bytes */
    MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME = 11, /* out: MDN_NAME_SIZE bytes */
    MDN_QUERY_VOR_PASS_THROUGH = 20,         /* out: uint32_t, 1 or 0 */
    MDN_QUERY_GPS_INFO = 800,                /* out: uint32_t address of MdnGpsInfo */
    MDN_QUERY_GPS_INFO_IF_USED = 801,        /* out: address, or 0 while nobody counts as a user */
    MDN_QUERY_AIRCRAFT_VALUE = 1000,         /* out: uint32_t */
    MDN_QUERY_AIRCRAFT_CFG_PATH = 1001,      /* out: uint32_t address of a text */
    MDN_QUERY_AIRCRAFT_FOLDER = 1002,        /* out: uint32_t address of a text */
    MDN_QUERY_POSITION_ANGLE = 1100,         /* in/out: float[3] lat, lon -> angle in [2] */
    MDN_QUERY_GAIN_PERCENT = 1101,           /* in: entry index; out: uint32_t percent */
    MDN_QUERY_GAIN_WORD = 1102,              /* in: entry index; out: uint32_t */
    MDN_QUERY_GAIN_TABLE = 1103,             /* out: MdnGainPair[7] */
    MDN_QUERY_ELEVATION = 1104,              /* in/out: double[3] lat, lon -> metres in [2] */
    MDN_QUERY_GLOBAL_RECORD = 1500,          /* out: uint32_t */
    MDN_QUERY_VERSION = 65535                /* out: uint32_t, 0x05030001 for 5.3.0.1 */
};

/* ServiceControl (slot 1) ids. */
enum MdnControl {
    MDN_CONTROL_CYCLE_NAV_DEVICE = 65546,    /* in: not read */
    MDN_CONTROL_SET_VOR_PASS_THROUGH = 65556, /* in: uint32_t, 1 sets, anything else clears */
    MDN_CONTROL_AUTOPILOT_DATA = 65566,      /* in: double, fresh for 3000 ms */
    MDN_CONTROL_SET_GAIN = 65576,            /* in: uint32_t (entry << 16) | hundredths */
    MDN_CONTROL_SET_GAIN_WORD = 65577,       /* in: uint32_t (entry << 16) | word */
    MDN_CONTROL_SET_GAIN_TABLE = 65578,      /* in: MdnGainPair[7]; entries 1 to 6 are set */
    MDN_CONTROL_GPS_INFO_USER_ADD = 65636,   /* in: not read */
    MDN_CONTROL_GPS_INFO_USER_REMOVE = 65637, /* in: not read; the count stays at 0 or above */
    MDN_CONTROL_SHOW_INFORMATION = 66536     /* in: text shown in the module's information box */
};

/* Panel-variable tokens with a meaning of the module's own. */
#define MDN_TOKEN_GPS_INFO 66036u     /* value: address of MdnGpsInfo (first four bytes) */
#define MDN_TOKEN_CUSTOM_FIRST 65536u /* custom tokens answered by range handlers */

/* Modifier flags of a key binding (the Windows hot-key modifier flags). */
#define MDN_MOD_ALT 0x1u
#define MDN_MOD_CTRL 0x2u
#define MDN_MOD_SHIFT 0x4u
#define MDN_MOD_WIN 0x8u

/* Bitmap filters of StretchBitmap (slot 29). */
enum MdnFilter {
    MDN_FILTER_NEAREST = 0,
    MDN_FILTER_LINEAR_TOP = 1, /* also CopyBitmap */
    MDN_FILTER_BILINEAR = 2,
    MDN_FILTER_EASED = 3
};

/* ---------------------------------------------------------------------------------------
 * Records. All layouts use 4-byte packing, so 64-bit floats may stand at offsets that are
 * multiples of four, as the simulator's and the gauges' 32-bit code expects.
 * ------------------------------------------------------------------------------------- */

#pragma pack(push, 4)

/* Exported "Linkage": the module record the simulator reads when it loads the module. */
typedef struct MdnLinkage {
    uint32_t module_id;                /* 0x13 */
    void(MDN_STDCALL* init)(void);     /* does nothing; set-up runs at process attach */
    void(MDN_STDCALL* deinit)(void);   /* the same function */
    uint32_t flags;                    /* 0 */
    uint32_t priority;                 /* 0 */
    uint32_t module_version;           /* 0x900 */
    void* function_table;              /* 0: the module offers no table here */
} MdnLinkage;

/* One entry of the exported "ImportTable"; the list ends with an all-zero entry. */
typedef struct MdnImportEntry {
    uint32_t module_id; /* 0x0F, the simulator's panels module */
    void* table;        /* filled in by the simulator after loading the module */
} MdnImportEntry;

/* The 28-byte record passed to the simulator's panel-variable lookup. */
typedef struct MdnVariableQuery {
    int32_t token;
    uint32_t reserved4[2]; /* not touched by the module */
    union {
        double f64;
        uint32_t u32; /* integers and addresses use the first four bytes */
    } value;
    uint32_t reserved20[2];
} MdnVariableQuery;

/* A command and its key, as stored in a key client and reported by NextKeyEvent. */
typedef struct MdnKeyBinding {
    uint16_t command;     /* the command id (a 16-bit atom), never 0 in a stored binding */
    uint16_t reserved;    /* carries no meaning */
    uint32_t modifiers;   /* MDN_MOD_* flags, stored unchanged */
    int32_t virtual_key;  /* Windows virtual-key code; 0: the command has no key */
} MdnKeyBinding;

/* One entry of the GPS information record's waypoint list. */
typedef struct MdnGpsWaypoint {
    uint32_t number;      /* 1 for the first listed waypoint */
    uint32_t flags;       /* MDN_WAYPOINT_ACTIVE, MDN_WAYPOINT_LAST */
    char ident[6];        /* five characters, blank-padded, NUL-terminated */
    uint8_t reserved14[2];
    double latitude;      /* degrees */
    double longitude;     /* degrees, sign inverted (east negative) */
    float variation;      /* the record's variation, repeated */
    uint8_t reserved36[4];
} MdnGpsWaypoint;
#define MDN_WAYPOINT_ACTIVE 0x20u
#define MDN_WAYPOINT_LAST 0x40u
#define MDN_GPS_WAYPOINTS 31

/* The GPS information record, refreshed once a second from the simulator's GPS while the
 * simulator GPS is the active device and at least one gauge counts as a user. */
typedef struct MdnGpsInfo {
    double latitude;             /* degrees */
    double longitude;            /* degrees, sign inverted */
    float altitude;              /* feet */
    float track;                 /* degrees, 0 to 360 */
    float ground_speed;          /* knots */
    float desired_track;         /* degrees, 0 to 360 */
    float cross_track;           /* nautical miles, sign inverted */
    float distance;              /* nautical miles to the active waypoint */
    float bearing;               /* degrees to the active waypoint, plus variation, 0 to 360 */
    char active_ident[6];        /* five characters, blank-padded, NUL-terminated */
    uint8_t reserved50[2];
    float variation;             /* degrees, sign inverted */
    uint32_t inactive;           /* 1 when the simulator GPS reports no state */
    float remaining_distance;    /* nautical miles along the rest of the route */
    uint32_t waypoint_count;     /* entries used in waypoints[] */
    uint8_t reserved68[4];
    MdnGpsWaypoint waypoints[MDN_GPS_WAYPOINTS];
} MdnGpsInfo;

/* The panels-hook state block (slot 20). While the active device is a gauge and enable is
 * non-zero, the module answers the simulator's navigation tokens from this block. Field
 * names give the token numbers each field answers. Bytes marked reserved are not read. */
typedef struct MdnPanelsHookState {
    uint32_t reserved0;
    uint32_t enable;          /* non-zero: answer group C tokens (831..847) from the block */
    uint32_t full_enable;     /* non-zero: also answer groups A and B */
    uint32_t reserved12;
    double value40;           /* tokens 40 and 826 */
    uint32_t reserved24[2];
    double value41;
    double value44;
    uint32_t reserved48[2];
    uint32_t value43;
    uint32_t value831;
    double value835;
    double value836;
    double value837;
    double value838;
    const char* text839;      /* address of a NUL-terminated text */
    uint32_t reserved100;
    double value846;
    double value847;
    double value849;
    double value850;
    uint32_t switch851;       /* 1: token 851 gives 1.0 and token 49 gives 256.0 */
    uint32_t switch852;       /* 1: token 852 gives 1.0 */
    double value853;
    double value856;          /* tokens 856 and 550 */
    uint32_t switch857;       /* 1: token 857 gives 1.0 */
    uint32_t reserved164;
    double value859;
    double value860;
    const char* text861;      /* address of a NUL-terminated text */
    uint32_t valid794;        /* non-zero: token 794 answered whatever device is active */
    double value794;
    uint32_t valid793;        /* non-zero: token 793 answered whatever device is active */
    uint32_t reserved204;
    double value793;
} MdnPanelsHookState;

/* One aircraft of the AI traffic snapshot (slot 23). */
typedef struct MdnTrafficRecord {
    uint32_t id;             /* 0 in the SELF record */
    uint32_t mode;           /* 1 or 0: the traffic module's mode when the record was made */
    double latitude;         /* degrees */
    double longitude;        /* degrees */
    double heading;          /* true, degrees */
    double altitude;         /* feet */
    double ground_speed;     /* knots, mode 0 only */
    double vertical_speed;   /* feet per minute, mode 0 only */
    double combustion;       /* mode 0: engine combustion; 1.0 in SELF */
    char name[16];           /* NUL-terminated in mode 1 and SELF; see the guide for mode 0 */
} MdnTrafficRecord;
#define MDN_TRAFFIC_MAX 100

/* One entry of the simulator's gain table (queries 1101 to 1103, controls 65576 to 65578). */
typedef struct MdnGainPair {
    float gain;     /* linear, 1.0 = 0 dB */
    uint32_t word;
} MdnGainPair;
#define MDN_GAIN_ENTRIES 7

/* The 384-byte air-data block published in shared memory about thirty times a second.
 * There is no lock: a reader may see fields from two successive cycles. */
typedef struct MdnAirDataBlock {
    uint32_t word0;               /* always 0 */
    uint32_t word1;               /* always 0 */
    double timeOfDay;             /* seconds */
    double value604;
    double latitude;              /* radians */
    double longitude;             /* radians */
    double altitude;              /* feet */
    double value552;              /* metres */
    double value553;              /* metres */
    double value551;              /* metres */
    double value77;
    double value86;
    double value79;
    double value351;
    double value69;
    int32_t value60;
    uint8_t reserved116[4];
    float aircraftVar57;          /* feet */
    float altitudeSingle;         /* feet */
    float heightAboveGround;      /* feet */
    float value556PerMinute;
    float aircraftVar25;          /* knots */
    float aircraftVar24;          /* knots */
    float value64;
    int32_t value67;
    float value86Single;
    float value82;
    float value350;
    float value341;
    float frequency23;            /* MHz */
    uint8_t reserved172[4];
    float frequency870;           /* MHz */
    uint8_t reserved180[24];
    float value850;
    float value849;
    uint8_t reserved212[104];
    float g1Percent;
    float g1Fraction;
    float g1TemperatureA;         /* degrees Celsius */
    float g1Mass;                 /* kilograms */
    float g1Value;
    float g1TemperatureB;         /* degrees Celsius */
    float g1Constant;             /* 18.0 */
    float g1Pressure;             /* pounds per square inch */
    float g2Percent;
    float g2Fraction;
    float g2TemperatureA;
    float g2Mass;
    float g2Value;
    float g2TemperatureB;
    float g2Constant;
    float g2Pressure;
    uint8_t reserved380[4];
} MdnAirDataBlock;

#pragma pack(pop)

/* The bitmap descriptor: ten bytes; the module reads nothing beyond them.
 * Pixels are 16 bits: three 5-bit fields at bits 0-4, 5-9, 10-14, and bit 15. */
#pragma pack(push, 2)
typedef struct MdnSurface {
    uint16_t* pixels; /* top-left pixel; null when the surface has no pixels */
    int16_t width;
    int16_t height;
    int16_t pitch;    /* bytes from the start of one row to the start of the next */
} MdnSurface;
#pragma pack(pop)

/* ---------------------------------------------------------------------------------------
 * Callbacks into gauges. Key clients and navigation devices are called on the simulator's
 * main thread; range handlers on whichever thread looks a variable up (see below).
 * ------------------------------------------------------------------------------------- */

/* Key client: called after one or more commands were queued; take them with NextKeyEvent
 * until it returns 0. It may call any keyboard operation, including unregistering. */
typedef void(MDN_STDCALL* MdnKeyClientCallback)(void);
/* Navigation device: called when the device has just become active. */
typedef void(MDN_STDCALL* MdnNavDeviceCallback)(void);
/* Range handler: may be called on any thread the simulator looks variables up on; write the
 * value and return non-zero when the token was handled. */
typedef uint32_t(MDN_STDCALL* MdnRangeHandler)(MdnVariableQuery* query);

/* ---------------------------------------------------------------------------------------
 * The operation table: one __stdcall function type per slot.
 * ------------------------------------------------------------------------------------- */

/* 0: answer query `id` into `out`. 1 when the id is known and out is not null. */
typedef uint32_t(MDN_STDCALL* MdnServiceQueryFn)(int32_t id, void* out);
/* 1: carry out control `id` with `in`. 1 when the id is known. */
typedef uint32_t(MDN_STDCALL* MdnServiceControlFn)(uint32_t id, const void* in);
/* 2: create a key client for `callback` (or return the existing one's handle); 0 for null. */
typedef uint32_t(MDN_STDCALL* MdnRegisterKeyClientFn)(MdnKeyClientCallback callback);
/* 3: destroy the client and free its command names. */
typedef uint32_t(MDN_STDCALL* MdnUnregisterKeyClientFn)(uint32_t client);
/* 4: register the client's keys as hot keys of the simulator window. */
typedef uint32_t(MDN_STDCALL* MdnEnableKeyClientFn)(uint32_t client);
/* 5: withdraw the client's hot keys and discard its pending commands. */
typedef uint32_t(MDN_STDCALL* MdnDisableKeyClientFn)(uint32_t client);
/* 6: add a command with an explicit key to a disabled client; the command id, or 0.
 * Command names are shared by every key client of the process: a name another client (or
 * another instance of the same gauge) holds already gives 0, as in slot 7. */
typedef uint32_t(MDN_STDCALL* MdnAddKeyCommandFn)(uint32_t client, const char* name,
                                                  uint32_t modifiers, int32_t virtual_key);
/* 7: add a command whose key is given as text, e.g. "CTRL+SHIFT+F1". The text is
 * upper-cased in place, so a text with lower-case letters must be writable. */
typedef uint32_t(MDN_STDCALL* MdnBindKeyCommandFn)(uint32_t client, const char* name,
                                                   char* key_text);
/* 8: take the oldest pending command. name: 64 bytes or null; binding may be null. */
typedef uint32_t(MDN_STDCALL* MdnNextKeyEventFn)(uint32_t client, char* name,
                                                 MdnKeyBinding* binding);
/* 9: the id of a command of that name bound by any client, or 0. */
typedef uint32_t(MDN_STDCALL* MdnFindKeyCommandFn)(const char* name);
/* 10: deliver a command (low 16 bits) as if its key had been pressed. */
typedef uint32_t(MDN_STDCALL* MdnFireKeyCommandFn)(uint32_t command);
/* 11: add a navigation device (at most 40); 0 on failure, also for a name of
 * MDN_NAME_SIZE (64) characters or more. */
typedef uint32_t(MDN_STDCALL* MdnRegisterNavDeviceFn)(MdnNavDeviceCallback callback,
                                                      const char* long_name,
                                                      const char* short_name);
/* 12: remove a device; removing the active one hands activity back to the first device. */
typedef uint32_t(MDN_STDCALL* MdnUnregisterNavDeviceFn)(uint32_t device);
/* 13: the handle of the first device with that long or short name, or 0. */
typedef uint32_t(MDN_STDCALL* MdnFindNavDeviceFn)(const char* long_name, const char* short_name);
/* 14: make a device active; its callback runs only when it was selected by name. */
typedef uint32_t(MDN_STDCALL* MdnSelectNavDeviceFn)(uint32_t device, const char* long_name,
                                                    const char* short_name);
/* 15: number of registered devices. */
typedef uint32_t(MDN_STDCALL* MdnGetNavDeviceCountFn)(void);
/* 16: the handle at `index` and its names (each buffer MDN_NAME_SIZE bytes, or null); 0 and
 * empty names past the end. */
typedef uint32_t(MDN_STDCALL* MdnGetNavDeviceInfoFn)(uint32_t index, char* long_name,
                                                     char* short_name);
/* 17: 1 when the device is the active one. */
typedef uint32_t(MDN_STDCALL* MdnIsNavDeviceActiveFn)(uint32_t device);
/* 18: activate the next device and call its callback; 0 when none is active. */
typedef uint32_t(MDN_STDCALL* MdnCycleNavDeviceFn)(void);
/* 19: the active device's handle and names (each buffer MDN_NAME_SIZE bytes, or null), or 0
 * and empty names. */
typedef uint32_t(MDN_STDCALL* MdnGetActiveNavDeviceFn)(char* long_name, char* short_name);
/* 20: the address of the panels-hook state block, valid for the module's lifetime. */
typedef MdnPanelsHookState*(MDN_STDCALL* MdnGetPanelsHookStateFn)(void);
/* 21: answer custom tokens first..last (from 65536 up) through `handler`. */
typedef uint32_t(MDN_STDCALL* MdnRegisterRangeHandlerFn)(MdnRangeHandler handler,
                                                         uint32_t first_token,
                                                         uint32_t last_token);
/* 22: remove a range handler. */
typedef uint32_t(MDN_STDCALL* MdnUnregisterRangeHandlerFn)(uint32_t handler);
/* 23: copy the AI traffic snapshot (refreshed when older than 250 ms) into `records`,
 * which must have room for MDN_TRAFFIC_MAX entries; the number copied. */
typedef uint32_t(MDN_STDCALL* MdnGetTrafficListFn)(MdnTrafficRecord* records);
/* 24: the one shared aligned work buffer; the first caller's size and alignment decide, and
 * a later request for more bytes or a stricter alignment than the held buffer has gets 0. */
typedef void*(MDN_STDCALL* MdnAcquireWorkBufferFn)(uint32_t size, uint32_t alignment);
/* 25: one user less; the buffer is freed when none is left. The argument is not used. */
typedef void(MDN_STDCALL* MdnReleaseWorkBufferFn)(void* buffer);
/* 26: draw the 256x256 texture `source`, turned by `degrees`, into the round window of
 * `destination`. */
typedef void(MDN_STDCALL* MdnRotateBitmapFn)(const MdnSurface* source,
                                             const MdnSurface* destination, float degrees);
/* 27: scale source to destination with filter 1. */
typedef void(MDN_STDCALL* MdnCopyBitmapFn)(const MdnSurface* source,
                                           const MdnSurface* destination);
/* 28: render a heading-up terrain map, one byte per pixel. position: latitude, longitude
 * and heading in degrees (the heading is overwritten). Only the low 8 bits of the result
 * carry meaning: 1 when the map was processed. */
typedef uint32_t(MDN_STDCALL* MdnDrawTerrainMapFn)(const MdnSurface* destination,
                                                   double* position, float range_nm,
                                                   float reference_column,
                                                   float reference_row, uint32_t band_mask);
/* 29: scale source to destination with filter 0 to 3; other filters do nothing. */
typedef void(MDN_STDCALL* MdnStretchBitmapFn)(const MdnSurface* source,
                                              const MdnSurface* destination, uint32_t filter);
/* 30: as slot 26, with bit 15 set in every pixel written. */
typedef void(MDN_STDCALL* MdnRotateBitmapMaskedFn)(const MdnSurface* source,
                                                   const MdnSurface* destination,
                                                   float degrees);

typedef struct MdnOperationTable {
    MdnServiceQueryFn ServiceQuery;
    MdnServiceControlFn ServiceControl;
    MdnRegisterKeyClientFn RegisterKeyClient;
    MdnUnregisterKeyClientFn UnregisterKeyClient;
    MdnEnableKeyClientFn EnableKeyClient;
    MdnDisableKeyClientFn DisableKeyClient;
    MdnAddKeyCommandFn AddKeyCommand;
    MdnBindKeyCommandFn BindKeyCommand;
    MdnNextKeyEventFn NextKeyEvent;
    MdnFindKeyCommandFn FindKeyCommand;
    MdnFireKeyCommandFn FireKeyCommand;
    MdnRegisterNavDeviceFn RegisterNavDevice;
    MdnUnregisterNavDeviceFn UnregisterNavDevice;
    MdnFindNavDeviceFn FindNavDevice;
    MdnSelectNavDeviceFn SelectNavDevice;
    MdnGetNavDeviceCountFn GetNavDeviceCount;
    MdnGetNavDeviceInfoFn GetNavDeviceInfo;
    MdnIsNavDeviceActiveFn IsNavDeviceActive;
    MdnCycleNavDeviceFn CycleNavDevice;
    MdnGetActiveNavDeviceFn GetActiveNavDevice;
    MdnGetPanelsHookStateFn GetPanelsHookState;
    MdnRegisterRangeHandlerFn RegisterRangeHandler;
    MdnUnregisterRangeHandlerFn UnregisterRangeHandler;
    MdnGetTrafficListFn GetTrafficList;
    MdnAcquireWorkBufferFn AcquireWorkBuffer;
    MdnReleaseWorkBufferFn ReleaseWorkBuffer;
    MdnRotateBitmapFn RotateBitmap;
    MdnCopyBitmapFn CopyBitmap;
    MdnDrawTerrainMapFn DrawTerrainMap;
    MdnStretchBitmapFn StretchBitmap;
    MdnRotateBitmapMaskedFn RotateBitmapMasked;
    uint32_t reserved[MDN_TABLE_RESERVED_WORDS]; /* zero; never read */
} MdnOperationTable;

/* Exported "MdnSrv": nothing but the address of the operation table. */
typedef struct MdnServiceObject {
    const MdnOperationTable* table;
} MdnServiceObject;

/* ---------------------------------------------------------------------------------------
 * Layout checks. These hold on every 32-bit compiler the gauges are built with.
 * ------------------------------------------------------------------------------------- */

#define MDN_CHECK_SIZE(type, size) MDN_STATIC_ASSERT(sizeof(type) == (size), #type " size")
#define MDN_CHECK_OFFSET(type, field, offset) \
    MDN_STATIC_ASSERT(offsetof(type, field) == (offset), #type "." #field " offset")

MDN_STATIC_ASSERT(sizeof(void*) == 4, "MdnSrv's interface is 32-bit");

MDN_CHECK_SIZE(MdnLinkage, 28);
MDN_CHECK_OFFSET(MdnLinkage, init, 4);
MDN_CHECK_OFFSET(MdnLinkage, deinit, 8);
MDN_CHECK_OFFSET(MdnLinkage, module_version, 20);
MDN_CHECK_OFFSET(MdnLinkage, function_table, 24);

MDN_CHECK_SIZE(MdnImportEntry, 8);
MDN_CHECK_SIZE(MdnServiceObject, 4);
MDN_CHECK_SIZE(MdnOperationTable, (MDN_SLOT_COUNT + MDN_TABLE_RESERVED_WORDS) * 4);
MDN_CHECK_OFFSET(MdnOperationTable, ServiceControl, 4 * MDN_SLOT_SERVICE_CONTROL);
MDN_CHECK_OFFSET(MdnOperationTable, FireKeyCommand, 4 * MDN_SLOT_FIRE_KEY_COMMAND);
MDN_CHECK_OFFSET(MdnOperationTable, GetActiveNavDevice, 4 * MDN_SLOT_GET_ACTIVE_NAV_DEVICE);
MDN_CHECK_OFFSET(MdnOperationTable, GetTrafficList, 4 * MDN_SLOT_GET_TRAFFIC_LIST);
MDN_CHECK_OFFSET(MdnOperationTable, DrawTerrainMap, 4 * MDN_SLOT_DRAW_TERRAIN_MAP);
MDN_CHECK_OFFSET(MdnOperationTable, RotateBitmapMasked, 4 * MDN_SLOT_ROTATE_BITMAP_MASKED);
MDN_CHECK_OFFSET(MdnOperationTable, reserved, 4 * MDN_SLOT_COUNT);

MDN_CHECK_SIZE(MdnVariableQuery, 28);
MDN_CHECK_OFFSET(MdnVariableQuery, value, 12);

MDN_CHECK_SIZE(MdnKeyBinding, 12);
MDN_CHECK_OFFSET(MdnKeyBinding, modifiers, 4);
MDN_CHECK_OFFSET(MdnKeyBinding, virtual_key, 8);

MDN_CHECK_SIZE(MdnGpsWaypoint, 40);
MDN_CHECK_OFFSET(MdnGpsWaypoint, flags, 4);
MDN_CHECK_OFFSET(MdnGpsWaypoint, ident, 8);
MDN_CHECK_OFFSET(MdnGpsWaypoint, latitude, 16);
MDN_CHECK_OFFSET(MdnGpsWaypoint, longitude, 24);
MDN_CHECK_OFFSET(MdnGpsWaypoint, variation, 32);

MDN_CHECK_SIZE(MdnGpsInfo, 72 + 31 * 40);
MDN_CHECK_OFFSET(MdnGpsInfo, longitude, 8);
MDN_CHECK_OFFSET(MdnGpsInfo, altitude, 16);
MDN_CHECK_OFFSET(MdnGpsInfo, track, 20);
MDN_CHECK_OFFSET(MdnGpsInfo, ground_speed, 24);
MDN_CHECK_OFFSET(MdnGpsInfo, desired_track, 28);
MDN_CHECK_OFFSET(MdnGpsInfo, cross_track, 32);
MDN_CHECK_OFFSET(MdnGpsInfo, distance, 36);
MDN_CHECK_OFFSET(MdnGpsInfo, bearing, 40);
MDN_CHECK_OFFSET(MdnGpsInfo, active_ident, 44);
MDN_CHECK_OFFSET(MdnGpsInfo, variation, 52);
MDN_CHECK_OFFSET(MdnGpsInfo, inactive, 56);
MDN_CHECK_OFFSET(MdnGpsInfo, remaining_distance, 60);
MDN_CHECK_OFFSET(MdnGpsInfo, waypoint_count, 64);
MDN_CHECK_OFFSET(MdnGpsInfo, waypoints, 72);

MDN_CHECK_SIZE(MdnPanelsHookState, 216);
MDN_CHECK_OFFSET(MdnPanelsHookState, enable, 4);
MDN_CHECK_OFFSET(MdnPanelsHookState, full_enable, 8);
MDN_CHECK_OFFSET(MdnPanelsHookState, value40, 16);
MDN_CHECK_OFFSET(MdnPanelsHookState, value41, 32);
MDN_CHECK_OFFSET(MdnPanelsHookState, value44, 40);
MDN_CHECK_OFFSET(MdnPanelsHookState, value43, 56);
MDN_CHECK_OFFSET(MdnPanelsHookState, value831, 60);
MDN_CHECK_OFFSET(MdnPanelsHookState, value835, 64);
MDN_CHECK_OFFSET(MdnPanelsHookState, value836, 72);
MDN_CHECK_OFFSET(MdnPanelsHookState, value837, 80);
MDN_CHECK_OFFSET(MdnPanelsHookState, value838, 88);
MDN_CHECK_OFFSET(MdnPanelsHookState, text839, 96);
MDN_CHECK_OFFSET(MdnPanelsHookState, value846, 104);
MDN_CHECK_OFFSET(MdnPanelsHookState, value847, 112);
MDN_CHECK_OFFSET(MdnPanelsHookState, value849, 120);
MDN_CHECK_OFFSET(MdnPanelsHookState, value850, 128);
MDN_CHECK_OFFSET(MdnPanelsHookState, switch851, 136);
MDN_CHECK_OFFSET(MdnPanelsHookState, switch852, 140);
MDN_CHECK_OFFSET(MdnPanelsHookState, value853, 144);
MDN_CHECK_OFFSET(MdnPanelsHookState, value856, 152);
MDN_CHECK_OFFSET(MdnPanelsHookState, switch857, 160);
MDN_CHECK_OFFSET(MdnPanelsHookState, value859, 168);
MDN_CHECK_OFFSET(MdnPanelsHookState, value860, 176);
MDN_CHECK_OFFSET(MdnPanelsHookState, text861, 184);
MDN_CHECK_OFFSET(MdnPanelsHookState, valid794, 188);
MDN_CHECK_OFFSET(MdnPanelsHookState, value794, 192);
MDN_CHECK_OFFSET(MdnPanelsHookState, valid793, 200);
MDN_CHECK_OFFSET(MdnPanelsHookState, value793, 208);

MDN_CHECK_SIZE(MdnTrafficRecord, 80);
MDN_CHECK_OFFSET(MdnTrafficRecord, mode, 4);
MDN_CHECK_OFFSET(MdnTrafficRecord, latitude, 8);
MDN_CHECK_OFFSET(MdnTrafficRecord, longitude, 16);
MDN_CHECK_OFFSET(MdnTrafficRecord, heading, 24);
MDN_CHECK_OFFSET(MdnTrafficRecord, altitude, 32);
MDN_CHECK_OFFSET(MdnTrafficRecord, ground_speed, 40);
MDN_CHECK_OFFSET(MdnTrafficRecord, vertical_speed, 48);
MDN_CHECK_OFFSET(MdnTrafficRecord, combustion, 56);
MDN_CHECK_OFFSET(MdnTrafficRecord, name, 64);

MDN_CHECK_SIZE(MdnGainPair, 8);

MDN_CHECK_SIZE(MdnAirDataBlock, MDN_AIRDATA_SIZE);
MDN_CHECK_OFFSET(MdnAirDataBlock, timeOfDay, 8);
MDN_CHECK_OFFSET(MdnAirDataBlock, value604, 16);
MDN_CHECK_OFFSET(MdnAirDataBlock, latitude, 24);
MDN_CHECK_OFFSET(MdnAirDataBlock, longitude, 32);
MDN_CHECK_OFFSET(MdnAirDataBlock, altitude, 40);
MDN_CHECK_OFFSET(MdnAirDataBlock, value552, 48);
MDN_CHECK_OFFSET(MdnAirDataBlock, value553, 56);
MDN_CHECK_OFFSET(MdnAirDataBlock, value551, 64);
MDN_CHECK_OFFSET(MdnAirDataBlock, value77, 72);
MDN_CHECK_OFFSET(MdnAirDataBlock, value86, 80);
MDN_CHECK_OFFSET(MdnAirDataBlock, value79, 88);
MDN_CHECK_OFFSET(MdnAirDataBlock, value351, 96);
MDN_CHECK_OFFSET(MdnAirDataBlock, value69, 104);
MDN_CHECK_OFFSET(MdnAirDataBlock, value60, 112);
MDN_CHECK_OFFSET(MdnAirDataBlock, aircraftVar57, 120);
MDN_CHECK_OFFSET(MdnAirDataBlock, altitudeSingle, 124);
MDN_CHECK_OFFSET(MdnAirDataBlock, heightAboveGround, 128);
MDN_CHECK_OFFSET(MdnAirDataBlock, value556PerMinute, 132);
MDN_CHECK_OFFSET(MdnAirDataBlock, aircraftVar25, 136);
MDN_CHECK_OFFSET(MdnAirDataBlock, aircraftVar24, 140);
MDN_CHECK_OFFSET(MdnAirDataBlock, value64, 144);
MDN_CHECK_OFFSET(MdnAirDataBlock, value67, 148);
MDN_CHECK_OFFSET(MdnAirDataBlock, value86Single, 152);
MDN_CHECK_OFFSET(MdnAirDataBlock, value82, 156);
MDN_CHECK_OFFSET(MdnAirDataBlock, value350, 160);
MDN_CHECK_OFFSET(MdnAirDataBlock, value341, 164);
MDN_CHECK_OFFSET(MdnAirDataBlock, frequency23, 168);
MDN_CHECK_OFFSET(MdnAirDataBlock, frequency870, 176);
MDN_CHECK_OFFSET(MdnAirDataBlock, value850, 204);
MDN_CHECK_OFFSET(MdnAirDataBlock, value849, 208);
MDN_CHECK_OFFSET(MdnAirDataBlock, g1Percent, 316);
MDN_CHECK_OFFSET(MdnAirDataBlock, g1Pressure, 344);
MDN_CHECK_OFFSET(MdnAirDataBlock, g2Percent, 348);
MDN_CHECK_OFFSET(MdnAirDataBlock, g2Pressure, 376);

MDN_CHECK_SIZE(MdnSurface, 10);
MDN_CHECK_OFFSET(MdnSurface, width, 4);
MDN_CHECK_OFFSET(MdnSurface, height, 6);
MDN_CHECK_OFFSET(MdnSurface, pitch, 8);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MDNSRV_H */
