#pragma once

#include <windows.h>

// Sets the process's error mode for the scope's lifetime, so that for example an empty card
// reader or a missing network drive gives an error to handle rather than a system box.
class ErrorModeScope {
  public:
    explicit ErrorModeScope(UINT mode) : previous(::SetErrorMode(mode)) {}
    ~ErrorModeScope() { ::SetErrorMode(previous); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

  private:
    UINT previous;
};
