// Key clients on a fresh module whose simulator window and folder are known, with callbacks
// that count their calls and can run a test's action.
#pragma once
#include <functional>
#include <string>

#include "host/module_state.h"
#include "keyboard/keyboard.h"
#include "support/module_fixture.h"

namespace test {

struct CallbackLog {
    static inline int calls[4] = {};
    static inline std::function<void()> action[4];
};

inline void ResetCallbacks() {
    for (int i = 0; i < 4; ++i) {
        CallbackLog::calls[i] = 0;
        CallbackLog::action[i] = nullptr;
    }
}

template <int N>
void MDN_STDCALL CountingCallback() {
    ++CallbackLog::calls[N];
    if (CallbackLog::action[N])
        CallbackLog::action[N]();
}

class KeyboardModule : public FreshModule {
  protected:
    void SetUp() override {
        FreshModule::SetUp();
        ResetCallbacks();
        window_ = fake::AddWindow("FS98MAIN");
        runtime::Values().simulator_window = window_;
        std::snprintf(runtime::Values().simulator_folder, host::kPathSize, "%s", kSimulatorFolder);
        fake::MakeDirectory(kSimulatorFolder);
    }
    void TearDown() override {
        ResetCallbacks();
        FreshModule::TearDown();
    }
    // The window as the call log writes it.
    std::string Window() const { return fake::Format(window_); }
    HWND window_ = nullptr;
};

}  // namespace test
