// The contract tests' program on Windows: runs every registered test (or those whose suite is
// named on the command line), prints each failed check and a summary, and exits with the number
// of tests that failed.
#include <cstdio>
#include <cstring>
#include <vector>

#include "contract_check.h"

namespace contract {
namespace {

struct Entry {
    const char* suite;
    const char* name;
    TestFunction function;
};

std::vector<Entry>& Tests() {
    static std::vector<Entry> tests;
    return tests;
}

int failures_in_test = 0;
bool skipped = false;

}  // namespace

bool Register(const char* suite, const char* name, TestFunction function) {
    Tests().push_back(Entry{suite, name, function});
    return true;
}

Failure::Failure(const char* file, int line, std::string what)
    : file_(file), line_(line), what_(std::move(what)) {}

Failure::~Failure() {
    ++failures_in_test;
    const std::string message = message_.str();
    std::printf("%s:%d: FAIL %s%s%s\n", file_, line_, what_.c_str(), message.empty() ? "" : ": ",
                message.c_str());
}

Skip::~Skip() {
    skipped = true;
    std::printf("%s:%d: skipped on this port: %s\n", file_, line_, message_.str().c_str());
}

}  // namespace contract

int main(int argc, char** argv) {
    using namespace contract;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    int ran = 0, failed = 0, skips = 0;
    for (const Entry& test : Tests()) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], test.suite) == 0;
        if (!wanted)
            continue;
        failures_in_test = 0;
        skipped = false;
        Fresh();
        test.function();
        ++ran;
        const char* verdict = failures_in_test ? "FAILED" : skipped ? "SKIPPED" : "OK";
        std::printf("[%s] %s.%s\n", verdict, test.suite, test.name);
        failed += failures_in_test != 0;
        skips += skipped && failures_in_test == 0;
    }
    Fresh();
    std::printf("%d tests, %d failed, %d skipped on this port\n", ran, failed, skips);
    return ran == 0 ? 125 : failed;
}
