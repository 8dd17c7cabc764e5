// The diagnostic log: what the module did and why it said no, for the user and the people who
// support them. Off unless the settings file's "diagnostics" section sets MDN_LOG: 1 writes
// events and refusals, 2 also every operation a gauge calls, with its arguments and result.
//
// Off, each place costs one load and one predictable branch: MDN_LOG evaluates its arguments
// only when the log is on. On, each line is formatted into a fixed buffer on the caller's stack
// and written by one WriteFile append, with no lock and no allocation, so a thread that is
// terminated mid-line leaves at worst that line half written. Nothing on the panels lookup path
// logs.
#pragma once
#include <atomic>
#include <cstddef>

#include "runtime/log_place.h"

namespace runtime {

constexpr int kLogEvents = 1;
constexpr int kLogCalls = 2;

// The file lies in its folder below the user's local application data folder
// (runtime/log_place.h), which every Windows from XP on has per user and never redirects; the
// older file adds ".1" (".2" when ".1" cannot be replaced). Rotated once it would pass the
// limit, kLogLimit unless a test sets another.
constexpr unsigned kLogLimit = 2u << 20;
// Longest line, time stamp and line end included; longer lines are cut and marked.
constexpr size_t kLogLineSize = 512;

extern std::atomic<int> log_level;

inline bool LogOn(int level = kLogEvents) {
    return __builtin_expect(log_level.load(std::memory_order_relaxed) >= level, 0);
}

// <local application data>\Meridane into `folder` (kLogPathSize bytes); false when Windows
// names no such folder. mdn-doctor looks there too.
bool LogFolder(char* folder);

// Opens the log at `level` (above 2 counts as 2) in LogFolder(), made when missing, or, when no
// file can be written there, in `settings_folder`. False, and the log off, when neither can be
// opened or the level is 0 or less. The first line says where the file is. The thread that
// starts the log is the one that rotates it.
bool StartLog(int level, const char* settings_folder, unsigned limit = kLogLimit);
// Off and closed; the module's unload does it.
void StopLog();
// The file being written, or "" when the log is off.
const char* LogPath();

// One line: the local time, then the text. Control characters become '?', so one event is one
// line. Never fails visibly: a line that cannot be written is dropped.
void WriteLogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A text from outside (a gauge, a file, Windows) for a log line, escaped as EscapeText does:
// quoted, cut after `limit` characters (at most kLogTextLimit) with the cut marked, "(null)" for
// a null pointer. Reads at most `limit` + 1 bytes of it.
constexpr size_t kLogTextLimit = 120;
class LogText {
  public:
    explicit LogText(const char* text, size_t limit = 64);
    const char* c_str() const { return text_; }

  private:
    char text_[4 * kLogTextLimit + 16];
};

// A reason longer than this is cut and marked.
constexpr size_t kLogReasonSize = 256;

// Why the operation a gauge is calling answers 0, or answers as if it succeeded yet does
// nothing. Kept for the operation table's wrapper, which writes it on the call's line with the
// arguments and result (at level 1 only calls with a reason get a line). Operations run on the
// simulator's main thread; a callback into a gauge may call another operation, so each nested
// call keeps its own reason.
void NoteWhy(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The wrapper's side: BeginCall before the operation, TakeWhy after it (the reason noted during
// the call, or null), each once per call.
void BeginCall();
const char* TakeWhy();

}  // namespace runtime

// The log's two kinds of place. Arguments are evaluated only when the log is on at that level.
#define MDN_LOG(...) (::runtime::LogOn() ? ::runtime::WriteLogLine(__VA_ARGS__) : void())
#define MDN_LOG_CALLS(...) \
    (::runtime::LogOn(::runtime::kLogCalls) ? ::runtime::WriteLogLine(__VA_ARGS__) : void())
#define MDN_WHY(...) (::runtime::LogOn() ? ::runtime::NoteWhy(__VA_ARGS__) : void())
// A 0 that is an ordinary answer (no event pending, past the last device): a reason worth a
// line only where every call gets one, at level 2.
#define MDN_WHY_CALLS(...) \
    (::runtime::LogOn(::runtime::kLogCalls) ? ::runtime::NoteWhy(__VA_ARGS__) : void())
