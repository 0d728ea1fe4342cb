#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

// How long a window goes without answering, measured from outside as the user's system sees it:
// a thread of ours sends it WM_NULL every 25 ms and keeps the longest wait for the answer. Any
// message loop on the window's thread answers (a modal box's too); a thread that is busy, or
// waits on anything but messages, does not. Sampling ends when the window is gone.
class AnswerGaps {
  public:
    explicit AnswerGaps(HWND window) : window(window), sampler([this] { Sample(); }) {}
    ~AnswerGaps() { Stop(); }
    AnswerGaps(const AnswerGaps&) = delete;
    AnswerGaps& operator=(const AnswerGaps&) = delete;

    // The longest wait so far; a send still waiting counts when it ends (at most WaitLimit).
    std::chrono::milliseconds Stop() {
        running = false;
        if (sampler.joinable()) sampler.join();
        return std::chrono::milliseconds(longestMs.load());
    }

    static constexpr UINT WaitLimitMs = 15000;

  private:
    void Sample() {
        while (running) {
            auto start = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            bool answered =
                ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, WaitLimitMs, &result) != 0;
            if (!answered && !::IsWindow(window)) return;
            long long waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
            if (waited > longestMs) longestMs = waited;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }

    HWND window;
    std::atomic<bool> running{true};
    std::atomic<long long> longestMs{0};
    std::thread sampler;  // last: it starts once the fields above are set
};
