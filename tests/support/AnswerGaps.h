#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>

#include "platform/win32/UniqueHandle.h"

// How long a window goes without answering, measured from outside as the user's system sees it:
// a thread of ours sends it WM_NULL every 25 ms and keeps the longest wait for the answer. Any
// message loop on the window's thread answers (a modal box's too); a thread that is busy, or
// waits on anything but messages, does not. Sampling ends when the window is gone. A plain
// system thread, so that the benchmark can use it with a compiler that has no std::thread.
class AnswerGaps {
  public:
    static constexpr DWORD WaitLimitMs = 15000;

    explicit AnswerGaps(HWND window)
        : window(window), sampler(::CreateThread(nullptr, 0, Sample, this, 0, nullptr)) {}
    ~AnswerGaps() { Stop(); }
    AnswerGaps(const AnswerGaps&) = delete;
    AnswerGaps& operator=(const AnswerGaps&) = delete;

    // The longest wait; a send still waiting counts when it ends (at most WaitLimitMs). Meanwhile
    // the calling thread answers what is sent to it, in case the window is its own.
    std::chrono::milliseconds Stop() {
        running = false;
        HANDLE thread = sampler.get();
        MSG message;
        while (thread && ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
                             WAIT_OBJECT_0 + 1)
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        sampler.reset();
        return std::chrono::milliseconds(longestMs.load());
    }

  private:
    static DWORD WINAPI Sample(void* self) {
        auto& gaps = *static_cast<AnswerGaps*>(self);
        while (gaps.running) {
            auto start = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            if (!::SendMessageTimeoutW(gaps.window, WM_NULL, 0, 0, SMTO_BLOCK, WaitLimitMs,
                                       &result) &&
                !::IsWindow(gaps.window))
                return 0;
            long waited = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
            if (waited > gaps.longestMs) gaps.longestMs = waited;
            ::Sleep(25);
        }
        return 0;
    }

    HWND window;
    std::atomic<bool> running{true};
    std::atomic<long> longestMs{0};
    UniqueKernelHandle sampler;  // last: it starts once the fields above are set
};
