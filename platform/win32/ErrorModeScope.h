#pragma once

#include <windows.h>

// Sets the calling thread's error mode for the scope's lifetime, so that for example an empty card
// reader or a missing network drive gives an error to handle rather than a system box. The
// thread's alone: the window's thread and the work's each keep their own while the other runs.
class ErrorModeScope {
  public:
    explicit ErrorModeScope(DWORD mode) {
        if (!::SetThreadErrorMode(mode, &previous)) previous = mode;
    }
    ~ErrorModeScope() { ::SetThreadErrorMode(previous, nullptr); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

  private:
    DWORD previous = 0;
};
