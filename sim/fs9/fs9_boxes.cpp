// Closes every message box (any "#32770" dialog) by itself, so nothing waits for a person.
// On the main thread a CBT hook sees the box as it is activated; Wine may activate it before
// the box has set its text and removed the buttons it does not offer, so the hook only arms
// a short timer on the box, and the box is read and answered from its own modal loop. The
// watchdog's sweep catches boxes of other threads (and any box the hook missed). Each box is
// recorded (caption, static text, owner) and answered: from the queue of answers when it
// offers that button, otherwise No, OK or Cancel.
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

struct BoxState {
    CRITICAL_SECTION lock;
    std::vector<SimBox> boxes;
    std::set<HWND> handled;
    std::map<HWND, uint32_t> first_seen;  // by the sweep
    std::deque<int> answers;
    HHOOK hook = nullptr;
    BoxState() { InitializeCriticalSection(&lock); }
};
BoxState& State() {
    static BoxState state;
    return state;
}
struct Guard {
    Guard() { EnterCriticalSection(&State().lock); }
    ~Guard() { LeaveCriticalSection(&State().lock); }
};

bool IsDialog(HWND window) {
    char name[16] = {};
    return GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0;
}

// WM_GETTEXT with a time limit, so a sweep from another thread never blocks on a busy owner.
std::string TextOf(HWND window) {
    char text[1024] = {};
    DWORD_PTR result = 0;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        GetWindowTextA(window, text, sizeof text);
    } else {
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 500, &result);
    }
    text[sizeof text - 1] = '\0';
    return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM out) {
    char name[16] = {};
    if (GetClassNameA(child, name, sizeof name) > 0 && _stricmp(name, "Static") == 0) {
        const std::string text = TextOf(child);
        auto* texts = reinterpret_cast<std::string*>(out);
        if (!text.empty() && text.size() > texts->size())
            *texts = text;
    }
    return TRUE;
}

const char* ButtonName(int button) {
    switch (button) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDYES:
            return "Yes";
        case IDNO:
            return "No";
        default:
            return "?";
    }
}

bool Offers(HWND dialog, int button) {
    const HWND control = GetDlgItem(dialog, button);
    return control != nullptr && IsWindowVisible(control);
}

int ChooseButton(HWND dialog) {
    Guard guard;
    auto& answers = State().answers;
    if (!answers.empty() && Offers(dialog, answers.front())) {
        const int button = answers.front();
        answers.pop_front();
        return button;
    }
    for (int button : {IDNO, IDOK, IDCANCEL}) {
        if (Offers(dialog, button))
            return button;
    }
    return IDCANCEL;
}

void HandleDialog(HWND dialog) {
    {
        Guard guard;
        if (!State().handled.insert(dialog).second)
            return;
    }
    SimBox box{};
    std::snprintf(box.caption, sizeof box.caption, "%s", TextOf(dialog).c_str());
    std::string text;
    EnumChildWindows(dialog, &CollectStatic, reinterpret_cast<LPARAM>(&text));
    std::snprintf(box.text, sizeof box.text, "%s", text.c_str());
    const HWND owner = GetWindow(dialog, GW_OWNER);
    box.owned_by_main = owner != nullptr && owner == TheWorld().window ? 1 : 0;
    box.main_thread = GetWindowThreadProcessId(dialog, nullptr) == TheWorld().main_thread;
    box.time_ms = Now();
    if (box.main_thread)
        CheckLoaderLockInBox(box.caption);
    box.answer = static_cast<uint32_t>(ChooseButton(dialog));
    {
        Guard guard;
        State().boxes.push_back(box);
    }
    Log("message box \"%s\" (%s, %s thread): \"%s\" -> %s", box.caption,
        box.owned_by_main ? "owned by the main window"
        : owner           ? "other owner"
                          : "no owner",
        box.main_thread ? "main" : "other", Escaped(box.text).c_str(), ButtonName(box.answer));
    const HWND button = GetDlgItem(dialog, static_cast<int>(box.answer));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(box.answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

constexpr UINT_PTR kBoxTimer = 0x5D1A;

void CALLBACK BoxTimer(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    HandleDialog(dialog);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (IsDialog(window))
            SetTimer(window, kBoxTimer, 20, &BoxTimer);
    }
    return CallNextHookEx(State().hook, code, wParam, lParam);
}

// A box is left to its own thread's hook for a while before the sweep takes it.
BOOL CALLBACK SweepOne(HWND window, LPARAM) {
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || !IsDialog(window)) {
        return TRUE;
    }
    const uint32_t grace = thread == TheWorld().main_thread ? 1000 : 200;
    uint32_t seen;
    {
        Guard guard;
        if (State().handled.count(window))
            return TRUE;
        seen = State().first_seen.emplace(window, Now()).first->second;
    }
    if (Now() - seen >= grace)
        HandleDialog(window);
    return TRUE;
}

}  // namespace

void InstallBoxCloser() {
    State().hook = SetWindowsHookExA(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId());
    for (int answer : TheWorld().options.answers)
        QueueAnswer(answer);
}

void RemoveBoxCloser() {
    if (State().hook)
        UnhookWindowsHookEx(State().hook);
    State().hook = nullptr;
}

void SweepDialogs() {
    EnumWindows(&SweepOne, 0);
}

std::vector<SimBox> Boxes() {
    Guard guard;
    return State().boxes;
}

void QueueAnswer(int button) {
    Guard guard;
    State().answers.push_back(button);
}

}  // namespace fs9
