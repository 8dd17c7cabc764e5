// The simulator's seven-entry gain table: read as gain pairs (queries 1101 to 1103) and set
// through the gain object's setter (controls 65576 to 65578).
#include <cmath>
#include <cstring>

#include "internals/internals_resolver.h"
#include "queries/nearest_integer.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"
#include "runtime/diag_log.h"

namespace queries {
namespace {

using internals::GainEntry;
using internals::PrepareSimulatorInternals;

constexpr uint32_t kEntries = MDN_GAIN_ENTRIES;
// Hundredths of the control input as the float 0.01 the gauges were built against.
constexpr double kHundredth = 0.009999999776482582;

double LinearGain(const GainEntry& entry) {
    return std::pow(10.0, entry.level_db * 0.05);
}

void ReadPairs(const GainEntry* table, MdnGainPair* pairs) {
    for (uint32_t k = 0; k < kEntries; ++k) {
        pairs[k].gain = static_cast<float>(LinearGain(table[k]));
        pairs[k].word = table[k].word;
    }
}

uint32_t LoadWord(const void* in) {
    uint32_t word;
    std::memcpy(&word, in, sizeof word);
    return word;
}

void StoreWord(void* out, uint32_t word) {
    std::memcpy(out, &word, sizeof word);
}

// Controls 65576 and 65577: entry in the high half of the input, value in the low half.
template <class Change>
void ChangeOneEntry(const void* in, Change change) {
    const auto& s = PrepareSimulatorInternals();
    if (!s.gain_table_ready || in == nullptr) {
        MDN_WHY("did nothing: %s", in == nullptr ? "no input" : "no module holds the gain table");
        return;
    }
    const uint32_t v = LoadWord(in);
    const uint32_t k = v >> 16;
    const uint32_t p = v & 0xFFFFu;
    if (k == 0 || k >= kEntries) {
        MDN_WHY("did nothing: entry %u is not one of 1 to %u", k, kEntries - 1);
        return;
    }
    MdnGainPair pairs[kEntries];
    ReadPairs(s.gain_table, pairs);
    change(pairs[k], p);
    s.gain_setter(s.gain_object, pairs, kEntries);
}

}  // namespace

// Queries 1101 and 1102: the word `answer` makes of the entry that `inout` names, stored back
// into `inout`. False for an entry past the end; true, and `inout` unchanged, without the table.
template <class Answer>
bool AnswerGainEntry(void* inout, Answer answer) {
    const auto& s = PrepareSimulatorInternals();
    const uint32_t k = LoadWord(inout);
    if (k >= kEntries)
        return MDN_WHY("index past the end: entry %u of %u", k, kEntries), false;
    if (s.gain_table == nullptr)
        return MDN_WHY("did nothing: no module holds the gain table"), true;
    StoreWord(inout, answer(s.gain_table[k]));
    return true;
}

bool QueryGainPercent(void* inout) {
    return AnswerGainEntry(
        inout, [](const auto& entry) { return NearestLow32(100.0 * LinearGain(entry)); });
}

bool QueryGainWord(void* inout) {
    return AnswerGainEntry(inout, [](const auto& entry) { return entry.word; });
}

void QueryGainTable(void* out) {
    const auto& s = PrepareSimulatorInternals();
    if (s.gain_table == nullptr) {
        MDN_WHY("did nothing: no module holds the gain table");
        return;
    }
    MdnGainPair pairs[kEntries];
    ReadPairs(s.gain_table, pairs);
    std::memcpy(out, pairs, sizeof pairs);
}

void ControlSetGain(const void* in) {
    ChangeOneEntry(
        in, [](MdnGainPair& pair, uint32_t p) { pair.gain = static_cast<float>(p * kHundredth); });
}

void ControlSetGainWord(const void* in) {
    ChangeOneEntry(in, [](MdnGainPair& pair, uint32_t p) { pair.word = p; });
}

void ControlSetGainTable(const void* in) {
    const auto& s = PrepareSimulatorInternals();
    if (!s.gain_table_ready || in == nullptr) {
        MDN_WHY("did nothing: %s", in == nullptr ? "no input" : "no module holds the gain table");
        return;
    }
    // The caller's pairs are its input: work on a copy, so a table in read-only memory works.
    MdnGainPair pairs[kEntries];
    std::memcpy(pairs, in, sizeof pairs);
    pairs[0].gain = static_cast<float>(LinearGain(s.gain_table[0]));
    pairs[0].word = s.gain_table[0].word;
    s.gain_setter(s.gain_object, pairs, kEntries);
}

}  // namespace queries
