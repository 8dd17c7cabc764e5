// Top-level windows and their classes, and system hot keys: how the module finds the
// simulator's main window among several of one class, and binds its keys to it.
//
// Where the fake differs, and why Windows allows it:
// - Order. FindWindowExA walks top-level windows in Z order, which the user and any program
//   change at any moment ("Using Windows", Z-Order), so no caller can rely on it; the fake
//   walks in creation order and these tests check membership, never order.
// - Titles. The fake matches the class only; the module always passes a null window name,
//   which the documentation defines as "all window names match".
// - Registering a hot key again for the same window and id: the documentation says the old
//   one "is maintained along with the new hot key"; Wine, like the fake, replaces it. The
//   module registers a client's keys only as it enables the client, once, and unregisters them
//   as it disables it, so it never registers an id twice and neither case is tested.
#include <algorithm>
#include <vector>

#include "contract_check.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "platform/win_errors.h"

namespace {

// Every top-level window FindWindowExA walks to for `class_name`, in its order; stops at 16
// so a walk that loops shows as too many.
std::vector<HWND> WalkClass(const char* class_name) {
    std::vector<HWND> found;
    HWND after = nullptr;
    while (found.size() < 16) {
        after = platform::FindWindowExA(nullptr, after, class_name, nullptr);
        if (after == nullptr)
            break;
        found.push_back(after);
    }
    return found;
}

bool Holds(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

TEST(Windows, EveryWindowOfAClassIsFoundOnceWhateverTheOthers) {
    const HWND first = contract::MakeWindow("MdnContractMain");
    const HWND other = contract::MakeWindow("MdnContractOther");
    const HWND second = contract::MakeWindow("MdnContractMain");
    const HWND third = contract::MakeWindow("MdnContractMain");
    ASSERT_TRUE(first && other && second && third);

    const std::vector<HWND> found = WalkClass("MdnContractMain");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_TRUE(Holds(found, first));
    EXPECT_TRUE(Holds(found, second));
    EXPECT_TRUE(Holds(found, third));
    EXPECT_FALSE(Holds(found, other));
    EXPECT_EQ(WalkClass("MdnContractOther").size(), 1u);
    EXPECT_EQ(WalkClass("MdnContractNone").size(), 0u);
}

TEST(Windows, ClassNamesCompareWithoutCase) {
    const HWND window = contract::MakeWindow("MdnContractMain");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform::FindWindowExA(nullptr, nullptr, "MDNCONTRACTMAIN", nullptr), window);
    EXPECT_EQ(platform::FindWindowExA(nullptr, nullptr, "mdncontractmain", nullptr), window);
}

TEST(Windows, NoClassNameMatchesWindowsOfEveryClass) {
    const HWND main = contract::MakeWindow("MdnContractMain");
    const HWND other = contract::MakeWindow("MdnContractOther");
    ASSERT_TRUE(main && other);
    // Other programs' windows may be listed too: only ours are known.
    std::vector<HWND> all;
    for (HWND w = platform::FindWindowExA(nullptr, nullptr, nullptr, nullptr);
         w != nullptr && all.size() < 4096;
         w = platform::FindWindowExA(nullptr, w, nullptr, nullptr))
        all.push_back(w);
    EXPECT_TRUE(Holds(all, main));
    EXPECT_TRUE(Holds(all, other));
}

TEST(Windows, AWindowBelongsToTheThreadAndProcessThatMadeIt) {
    const HWND window = contract::MakeWindow("MdnContractMain");
    ASSERT_NE(window, nullptr);
    DWORD process = 0;
    EXPECT_EQ(platform::GetWindowThreadProcessId(window, &process), platform::GetCurrentThreadId());
    EXPECT_EQ(process, platform::GetCurrentProcessId());
    EXPECT_EQ(platform::GetWindowThreadProcessId(window, nullptr), platform::GetCurrentThreadId());
}

// A combination few programs take, so that the test does not meet another's.
constexpr UINT kModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kKey = 0x7A;  // F11

TEST(HotKeys, ATakenCombinationIsRefusedUntilUnregistered) {
    const HWND window = contract::MakeWindow("MdnContractMain");
    const HWND other = contract::MakeWindow("MdnContractMain");
    ASSERT_TRUE(window && other);
    EXPECT_TRUE(platform::RegisterHotKey(window, 0xC000, kModifiers, kKey));
    EXPECT_FALSE(platform::RegisterHotKey(window, 0xC001, kModifiers, kKey));
    EXPECT_FALSE(platform::RegisterHotKey(other, 0xC000, kModifiers, kKey));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_TRUE(platform::RegisterHotKey(window, 0xC001, kModifiers, kKey - 1));

    EXPECT_TRUE(platform::UnregisterHotKey(window, 0xC000));
    EXPECT_FALSE(platform::UnregisterHotKey(window, 0xC000));
    EXPECT_TRUE(platform::RegisterHotKey(other, 0xC000, kModifiers, kKey));
    EXPECT_TRUE(platform::UnregisterHotKey(other, 0xC000));
    EXPECT_TRUE(platform::UnregisterHotKey(window, 0xC001));
}

TEST(HotKeys, AKeyNeverPressedReadsUp) {
    EXPECT_EQ(platform::GetAsyncKeyState(0x7C) & 0x8001, 0);  // F13
    EXPECT_EQ(platform::GetAsyncKeyState(-23), 0);
    EXPECT_EQ(platform::GetAsyncKeyState(0x1000), 0);
}

}  // namespace
