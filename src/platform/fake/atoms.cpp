// Fake local atom table: names compared without regard to case, ids from 0xC000 to 0xFFFF,
// reference counts, and "#digits" names taken as integer atoms, as Windows does.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/kernel.h"

namespace fake {
namespace {

constexpr ATOM kFirstStringAtom = 0xC000;  // MAXINTATOM
constexpr size_t kSlots = 0x10000 - kFirstStringAtom;
constexpr size_t kMaxAtomLength = 255;

struct Atom {
    std::string name;  // spelled as first added
    int references = 0;
};

struct State {
    std::vector<Atom> slots = std::vector<Atom>(kSlots);
    std::vector<size_t> freed;  // slots given back, reused last freed first
    size_t next_unused = 0;
    std::unordered_map<std::string, size_t> by_name;  // folded name -> slot
    int count = 0;
} state;

ResetHook reset_atoms([] { state = State{}; });

// Letters of the ANSI code page (1252) fold to upper case, as the real table's Unicode
// comparison does after the conversion.
unsigned char Fold(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
        case 0x9A:
        case 0x9C:
        case 0x9E:
            return static_cast<unsigned char>(c - 0x10);
        case 0xFF:
            return 0x9F;
        default:
            return c;
    }
}

std::string Folded(const char* name) {
    std::string folded = name;
    for (char& c : folded)
        c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return folded;
}

// "#" and digits only: an integer atom (1 to 0xBFFF); its value, or 0 when out of range.
// Returns false for a name of any other form.
bool IntegerAtom(const char* name, ATOM* value) {
    if (name[0] != '#' || name[1] == '\0')
        return false;
    uint16_t v = 0;  // wraps as the real parser's 16-bit accumulator does
    for (const char* p = name + 1; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = static_cast<uint16_t>(v * 10 + (*p - '0'));
    }
    *value = v < kFirstStringAtom ? v : 0;
    return true;
}

ATOM IdOf(size_t slot) {
    return static_cast<ATOM>(kFirstStringAtom + slot);
}

Atom* Find(ATOM atom) {
    if (atom < kFirstStringAtom)
        return nullptr;
    Atom& a = state.slots[atom - kFirstStringAtom];
    return a.references > 0 ? &a : nullptr;
}

ATOM Lookup(const char* name) {
    auto it = state.by_name.find(Folded(name));
    return it == state.by_name.end() ? 0 : IdOf(it->second);
}

}  // namespace

int AtomCount() {
    return state.count;
}

int AtomReferenceCount(ATOM atom) {
    const Atom* a = Find(atom);
    return a ? a->references : 0;
}

}  // namespace fake

namespace platform {

ATOM AddAtomA(LPCSTR name) {
    fake::Log("AddAtomA", name);
    using fake::state;
    if (name == nullptr || name[0] == '\0')
        return 0;
    ATOM integer = 0;
    if (fake::IntegerAtom(name, &integer))
        return integer;
    if (std::strlen(name) > fake::kMaxAtomLength)
        return 0;
    if (const ATOM existing = fake::Lookup(name)) {
        ++state.slots[existing - fake::kFirstStringAtom].references;
        return existing;
    }
    size_t slot;
    if (!state.freed.empty()) {
        slot = state.freed.back();
        state.freed.pop_back();
    } else if (state.next_unused < fake::kSlots) {
        slot = state.next_unused++;
    } else {
        return 0;  // the table is full
    }
    state.slots[slot] = fake::Atom{name, 1};
    state.by_name[fake::Folded(name)] = slot;
    ++state.count;
    return fake::IdOf(slot);
}

ATOM FindAtomA(LPCSTR name) {
    fake::Log("FindAtomA", name);
    if (name == nullptr || name[0] == '\0')
        return 0;
    ATOM integer = 0;
    if (fake::IntegerAtom(name, &integer))
        return integer;
    if (std::strlen(name) > fake::kMaxAtomLength)
        return 0;
    return fake::Lookup(name);
}

UINT GetAtomNameA(ATOM atom, LPSTR buffer, int size) {
    fake::Log("GetAtomNameA", fake::Hex(atom), size);
    if (buffer == nullptr || size <= 0 || atom == 0)
        return 0;
    std::string name;
    if (atom < fake::kFirstStringAtom) {
        name = "#" + std::to_string(atom);
    } else if (const fake::Atom* a = fake::Find(atom)) {
        name = a->name;
    } else {
        return 0;
    }
    // Cut to the buffer, always terminated; the result is what was copied.
    const size_t n = std::min(name.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

ATOM DeleteAtom(ATOM atom) {
    fake::Log("DeleteAtom", fake::Hex(atom));
    if (atom != 0 && atom < fake::kFirstStringAtom)
        return 0;  // integer atoms: nothing to do
    fake::Atom* a = fake::Find(atom);
    if (a == nullptr)
        return atom;  // failure gives the atom back
    if (--a->references == 0) {
        fake::state.by_name.erase(fake::Folded(a->name.c_str()));
        a->name.clear();
        fake::state.freed.push_back(static_cast<size_t>(atom - fake::kFirstStringAtom));
        --fake::state.count;
    }
    return 0;
}

}  // namespace platform
