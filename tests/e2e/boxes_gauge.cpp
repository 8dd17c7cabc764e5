// The stand-in closes message boxes by itself, on the main thread and on any other, records
// their caption and text, and answers them from the queue of answers.
#include "e2e_support.h"

namespace {

DWORD WINAPI ShowFromWorker(void*) {
    return static_cast<DWORD>(MessageBoxA(nullptr, "from a worker", "Worker box", MB_OK));
}

}  // namespace

SIM_GAUGE_ENTRY {
    const uint32_t before = driver->BoxCount();
    driver->QueueBoxAnswer(IDYES);
    const int first = MessageBoxA(static_cast<HWND>(driver->main_window), "line one\nline two",
                                  "Main box", MB_YESNO | MB_ICONQUESTION);
    SimCheckU32(driver, "queued answer given", IDYES, static_cast<uint32_t>(first));
    const int second = MessageBoxA(nullptr, "no answer queued", "Second box", MB_YESNO);
    SimCheckU32(driver, "Yes/No box without a queued answer", IDNO, static_cast<uint32_t>(second));
    const int third = MessageBoxA(nullptr, "just OK", "Third box", MB_OK);
    SimCheckU32(driver, "OK box", IDOK, static_cast<uint32_t>(third));

    HANDLE worker = CreateThread(nullptr, 0, &ShowFromWorker, nullptr, 0, nullptr);
    const bool ended = WaitForSingleObject(worker, 5000) == WAIT_OBJECT_0;
    DWORD result = 0;
    GetExitCodeThread(worker, &result);
    CloseHandle(worker);
    driver->Check(ended, "box of another thread closed", "closed", "still open after 5 s");
    SimCheckU32(driver, "its answer", IDOK, result);

    SimCheckU32(driver, "boxes recorded", before + 4, driver->BoxCount());
    SimBox box{};
    if (driver->GetBox(before, &box)) {
        SimCheckText(driver, "first caption", "Main box", box.caption);
        SimCheckText(driver, "first text, newline kept", "line one\nline two", box.text);
        SimCheckU32(driver, "first owned by the main window", 1, box.owned_by_main);
        SimCheckU32(driver, "first on the main thread", 1, box.main_thread);
    }
    if (driver->GetBox(before + 3, &box)) {
        SimCheckText(driver, "worker's caption", "Worker box", box.caption);
        SimCheckU32(driver, "worker's box not on the main thread", 0, box.main_thread);
    }
    return 0;
}
