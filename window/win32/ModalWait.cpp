#include "window/win32/ModalWait.h"

#include "platform/Failure.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

namespace {

// What the work's thread and the window's thread share. A step for the window is handed over one
// at a time: the work waits until the window's thread has run it.
struct Shared {
    FunctionRef<void(const Waiting::ToWindow&)>* work = nullptr;
    FunctionRef<void()>* step = nullptr;
    UniqueKernelHandle stepReady{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueKernelHandle stepDone{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    bool escaped = false;  // something escaped the work (exception pointers cost 8 KB)
};

// A thread of its own for every wait: it starts with the system's floating-point state, and
// whatever foreign code sets there stays with it.
DWORD WINAPI RunWork(void* parameter) {
    auto& shared = *static_cast<Shared*>(parameter);
    auto toWindow = [&shared](FunctionRef<void()> step) {
        shared.step = &step;
        ::SetEvent(shared.stepReady.get());
        ::WaitForSingleObject(shared.stepDone.get(), INFINITE);
    };
    try {
        (*shared.work)(toWindow);
    } catch (...) {
        shared.escaped = true;
    }
    return 0;
}

}  // namespace

void ModalWait::Run(Leaving leaving, FunctionRef<void(const ToWindow&)> work) {
    Shared shared;
    shared.work = &work;
    if (!shared.stepReady || !shared.stepDone) throw Failure(SystemErrorText(::GetLastError()));
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, &RunWork, &shared, 0, nullptr));
    if (!thread) throw Failure(SystemErrorText(::GetLastError()));

    window.BeginWait(leaving == Leaving::AtOnce);
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        HANDLE handles[] = {thread.get(), shared.stepReady.get()};
        DWORD woke =
            ::MsgWaitForMultipleObjectsEx(2, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_OBJECT_0 + 1) {
            // A step that fails only fails to show something; the work goes on.
            try {
                (*shared.step)();
            } catch (...) {
            }
            ::SetEvent(shared.stepDone.get());
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(message.wParam);
                continue;
            }
            if (window.HoldsOff(message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    window.EndWait();
    // The message loop outside is the one to end on a quit that came meanwhile.
    if (quit) ::PostQuitMessage(quitCode);
    if (shared.escaped) throw WorkEscaped();
}
