/*
 * sim_driver.h: what the stand-in simulator (fs9.exe) offers a test gauge.
 *
 * A test gauge is a Win32 DLL that exports
 *
 *     SIM_GAUGE_ENTRY { ...; return 0; }      // uint32_t __stdcall GaugeRun(const SimDriver*)
 *
 * `fs9.exe --gauge X.dll` loads it after MdnSrv.dll has attached and ImportTable has been
 * filled, and calls GaugeRun once, on the simulator's main thread (the thread that owns the
 * window "FS98MAIN" and loaded the module). GaugeRun drives the session through the driver
 * below and returns; a non-zero result counts as one failed check. The gauges stay loaded
 * while the steps of --scenario run (so a gauge without GaugeRun can be driven by key
 * presses); fs9.exe then unloads them, last loaded first, and the module, and runs its
 * after-unload checks. fs9.exe exits with the number of
 * failed checks (capped at 100), 123 when a program crashed, 124 on its time limit and 125
 * when it could not set up (no display, a stand-in module or the module missing).
 *
 * Every driver function is __stdcall and must be called on the main thread. Nothing runs
 * between calls: window messages, hot keys, timers and message boxes are handled only while
 * a driver function pumps the message loop (Pump, PumpUntilTicks, PressKeys and the other
 * input functions pump briefly after they send). Times are milliseconds since fs9.exe started.
 */
#ifndef SIM_DRIVER_H
#define SIM_DRIVER_H

#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

/* The gauge header brings the sized types (and their stand-ins on old Visual C++). */
#include "mdnsrv.h"

/* The helpers below are static functions the compiler may drop when unused: C89 has no
 * inline, but every compiler gauges are built with has a spelling of its own. */
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define SIM_INLINE inline
#elif defined(_MSC_VER)
#define SIM_INLINE __inline
#elif defined(__GNUC__)
#define SIM_INLINE __inline__
#else
#define SIM_INLINE
#endif

/* Bounded formatting: C89 has none, Visual C++ before 2015 only spells it its own way. */
#if defined(_MSC_VER) && _MSC_VER < 1900
#define SIM_VSNPRINTF(out, size, format, args) _vsnprintf((out), (size) - 1, (format), (args))
#elif defined(__GNUC__)
#define SIM_VSNPRINTF(out, size, format, args) __builtin_vsnprintf((out), (size), (format), (args))
#else
#define SIM_VSNPRINTF(out, size, format, args) vsnprintf((out), (size), (format), (args))
#endif

#ifdef _MSC_VER
#define SIM_STDCALL __stdcall
#define SIM_EXPORT __declspec(dllexport)
#else
#define SIM_STDCALL __attribute__((stdcall))
#define SIM_EXPORT __attribute__((dllexport))
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define SIM_DRIVER_VERSION 2

/* One message box (or other "#32770" dialog) that the stand-in closed by itself. */
typedef struct SimBox {
    char caption[128];
    char text[1024];        /* the box's static text, newlines kept */
    uint32_t answer;        /* button pressed: 1 IDOK, 2 IDCANCEL, 6 IDYES, 7 IDNO */
    uint32_t owned_by_main; /* 1 when its owner is the main window */
    uint32_t main_thread;   /* 1 when it was shown on the main thread */
    uint32_t time_ms;
} SimBox;

/* One dispatch of a thread timer (a timer without a window). The stand-in arms none, so
 * these are MdnSrv.dll's link timer. */
typedef struct SimTimerTick {
    uint32_t time_ms;
    uint32_t timer_id;
    uint32_t procedure; /* the message's lParam (Wine puts a handle there, not an address) */
} SimTimerTick;

typedef struct SimDriver {
    uint32_t size;             /* sizeof(SimDriver) as fs9.exe was built */
    uint32_t version;          /* SIM_DRIVER_VERSION */
    void* main_window;         /* HWND of "FS98MAIN" */
    void* module;              /* HMODULE of MdnSrv.dll; null when run with --no-module */
    const char* output_folder; /* a folder for pictures and dumps (--output), never null */

    /* ---- time and the message loop ---- */
    uint32_t(SIM_STDCALL* Now)(void);
    /* Runs the message loop for `ms` milliseconds. */
    void(SIM_STDCALL* Pump)(uint32_t ms);
    /* Runs the message loop until `count` link-timer ticks have been dispatched in all (the
     * tick's procedure has returned) or `max_ms` have passed; returns the ticks so far. */
    uint32_t(SIM_STDCALL* PumpUntilTicks)(uint32_t count, uint32_t max_ms);
    /* Copies up to `max` ticks, oldest first, into `out` (may be null); returns the count. */
    uint32_t(SIM_STDCALL* TimerTicks)(SimTimerTick* out, uint32_t max);

    /* ---- input through the real input path ---- */
    /* SendInput: modifiers down (MDN_MOD_* flags: 1 ALT, 2 CTRL, 4 SHIFT, 8 WIN), key down,
     * key up, modifiers up; then pumps 50 ms. Presses of the same key are spaced at least
     * 100 ms apart (waiting, pumping, when needed), as Wine caches released key states. */
    void(SIM_STDCALL* PressKeys)(uint32_t modifiers, uint32_t virtual_key);
    /* SendMessage WM_ACTIVATEAPP(active) to the main window, so WH_CALLWNDPROC hooks see it. */
    void(SIM_STDCALL* SetAppActive)(uint32_t active);
    /* SendMessage WM_NCPAINT to the main window (what a repaint of the frame sends). */
    void(SIM_STDCALL* PaintFrame)(void);
    /* SendMessage WM_INITMENU with the menu bar: what opening the menu bar sends. */
    void(SIM_STDCALL* OpenMenuBar)(void);
    /* PostMessage WM_COMMAND(id) to the main window, then pumps 50 ms. */
    void(SIM_STDCALL* PostCommand)(uint32_t id);
    /* The id of the first menu-bar item (searched depth first, submenus included) whose text
     * equals `text` (ampersands compared as written); 0 when none. */
    uint32_t(SIM_STDCALL* FindMenuCommand)(const char* text);
    /* Writes the menu bar as indented text lines ("Options", "  Navigation Device >",
     * "    [x] Flight Simulator GPS (38912)") into out; returns the length written. */
    uint32_t(SIM_STDCALL* DescribeMenus)(char* out, uint32_t size);

    /* ---- message boxes ---- */
    uint32_t(SIM_STDCALL* BoxCount)(void);
    /* Copies box `index` (0 = first shown); 0 when there is no such box. */
    uint32_t(SIM_STDCALL* GetBox)(uint32_t index, SimBox* out);
    /* The button for the next box that offers it (IDYES 6, IDNO 7, IDOK 1, IDCANCEL 2);
     * answers queue up. Without one, Yes/No boxes get No, others OK or Cancel. */
    void(SIM_STDCALL* QueueBoxAnswer)(uint32_t button);

    /* ---- the simulator's modules ---- */
    /* The panels function table handed to ImportTable (PANELS.DLL's Linkage), or null. */
    void* const*(SIM_STDCALL* PanelsTable)(void);
    /* GetProcAddress of a loaded stand-in module's export; null when either is missing. */
    void*(SIM_STDCALL* StandInExport)(const char* module, const char* name);
    /* Loads a listed stand-in module now (one left out with --without or --no-global);
     * 1 when it is loaded afterwards. */
    uint32_t(SIM_STDCALL* LoadStandIn)(const char* module);
    /* Threads of this process now. */
    uint32_t(SIM_STDCALL* ThreadCount)(void);
    /* The value of `--set key=value`, or null. */
    const char*(SIM_STDCALL* Setting)(const char* key);

    /* ---- log and checks ---- */
    /* Writes one line to the log (stdout). */
    void(SIM_STDCALL* Log)(const char* line);
    /* Prints "ok what: got" or "FAIL what: expected E, got G" and counts failures;
     * returns ok (0 or 1). */
    uint32_t(SIM_STDCALL* Check)(uint32_t ok, const char* what, const char* expected,
                                 const char* got);

    /* ---- since version 2 ---- */
    /* Looks `token` up through the simulator's panel-variable lookup (word 40 of the panels
     * function table, so through the module's hook once it is installed), on this thread.
     * value: the 64-bit float; word: its first four bytes, for tokens whose value is an
     * integer or an address (66036). Either may be null. Returns the lookup's result: 1 when
     * some source answered, 0 when nobody knows the token (the value is then 0.0) or there
     * is no panels module. Once linked, the module answers every token from 65536 up itself,
     * with 0.0 when no range handler took it: there 1 does not say a handler answered. */
    uint32_t(SIM_STDCALL* LookupVariable)(int32_t token, double* value, uint32_t* word);
} SimDriver;

typedef uint32_t(SIM_STDCALL* SimGaugeRunFn)(const SimDriver* driver);

/* The gauge's entry point, exported undecorated when linked with --kill-at (the e2e build
 * does that; fs9.exe also finds "GaugeRun@4" and "_GaugeRun@4"). */
#ifdef __cplusplus
#define SIM_GAUGE_ENTRY extern "C" SIM_EXPORT uint32_t SIM_STDCALL GaugeRun(const SimDriver* driver)
#else
#define SIM_GAUGE_ENTRY SIM_EXPORT uint32_t SIM_STDCALL GaugeRun(const SimDriver* driver)
#endif

/* ---- helpers built on the driver ---- */

/* Formats into out (size > 0), cut to fit, always terminated. */
static SIM_INLINE void SimFormatV(char* out, size_t size, const char* format, va_list args) {
    if (size == 0)
        return;
    out[size - 1] = '\0';
    SIM_VSNPRINTF(out, size, format, args);
    out[size - 1] = '\0';
}

static SIM_INLINE void SimFormat(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    SimFormatV(out, size, format, args);
    va_end(args);
}

static SIM_INLINE void SimLogf(const SimDriver* d, const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    SimFormatV(line, sizeof line, format, args);
    va_end(args);
    d->Log(line);
}

static SIM_INLINE uint32_t SimCheckU32(const SimDriver* d, const char* what, uint32_t expected,
                                       uint32_t got) {
    char e[32], g[32];
    SimFormat(e, sizeof e, "%lu", (unsigned long)expected);
    SimFormat(g, sizeof g, "%lu", (unsigned long)got);
    return d->Check(expected == got, what, e, g);
}

static SIM_INLINE uint32_t SimCheckHex(const SimDriver* d, const char* what, uint32_t expected,
                                       uint32_t got) {
    char e[32], g[32];
    SimFormat(e, sizeof e, "0x%08lX", (unsigned long)expected);
    SimFormat(g, sizeof g, "0x%08lX", (unsigned long)got);
    return d->Check(expected == got, what, e, g);
}

/* Texts are shown with newlines written as \n. */
static SIM_INLINE void SimEscape(char* out, size_t size, const char* text) {
    size_t n = 0;
    if (size == 0)
        return;
    if (text == NULL)
        text = "(null)";
    for (; *text != '\0' && n + 2 < size; ++text) {
        if (*text == '\n') {
            out[n++] = '\\';
            out[n++] = 'n';
        } else {
            out[n++] = *text;
        }
    }
    out[n] = '\0';
}

static SIM_INLINE uint32_t SimCheckText(const SimDriver* d, const char* what,
                                        const char* expected, const char* got) {
    char e[1100], g[1100];
    SimEscape(e, sizeof e, expected);
    SimEscape(g, sizeof g, got);
    return d->Check(expected != NULL && got != NULL && strcmp(expected, got) == 0, what, e, g);
}

static SIM_INLINE uint32_t SimCheckNear(const SimDriver* d, const char* what, double expected,
                                        double got, double tolerance) {
    char e[64], g[64];
    const double diff = expected > got ? expected - got : got - expected;
    SimFormat(e, sizeof e, "%.9g (within %g)", expected, tolerance);
    SimFormat(g, sizeof g, "%.9g", got);
    return d->Check(diff <= tolerance, what, e, g);
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SIM_DRIVER_H */
