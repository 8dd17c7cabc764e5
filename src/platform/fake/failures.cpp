// The failure switch: calls a test made fail, keyed by the text their log lines begin with.
#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>

#include "area.h"

namespace fake {
namespace {

std::mutex& FailureMutex() {
    static std::mutex m;
    return m;
}
// The calls each area lets fail; filled while the program starts, read-only afterwards.
std::set<std::string>& FailableCalls() {
    static std::set<std::string> calls;
    return calls;
}
std::set<std::string>& FailingKeys() {
    static std::set<std::string> keys;
    return keys;
}
// Most calls run with nothing failing: they need not take the lock.
std::atomic<bool> any_failing{false};

ResetHook reset_failures([] {
    std::lock_guard<std::mutex> lock(FailureMutex());
    FailingKeys().clear();
    any_failing = false;
});

// "Name(1, 2)" matches the keys "Name", "Name(1" and "Name(1, 2": the key ends where an
// argument ends, so "Name(1" does not match "Name(10, 2)".
bool Matches(const std::string& line, const std::string& key) {
    if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size())
        return false;
    const char next = line[key.size()];
    return next == '(' || next == ',' || next == ')';
}

}  // namespace

Failable::Failable(std::initializer_list<const char*> calls) {
    for (const char* call : calls)
        FailableCalls().insert(call);
}

void Fail(const std::string& call, bool fails) {
    const std::string name = call.substr(0, call.find('('));
    if (!FailableCalls().count(name))
        throw std::invalid_argument("the fake platform cannot fail " + name);
    std::lock_guard<std::mutex> lock(FailureMutex());
    if (fails) {
        FailingKeys().insert(call);
    } else {
        FailingKeys().erase(call);
    }
    any_failing = !FailingKeys().empty();
}

bool Failing(const std::string& line) {
    if (!any_failing)
        return false;
    std::lock_guard<std::mutex> lock(FailureMutex());
    for (const auto& key : FailingKeys()) {
        if (Matches(line, key))
            return true;
    }
    return false;
}

}  // namespace fake
