#pragma once

#include <windows.h>

#include "platform/Resources.h"

// Payloads are RCDATA resources of `module` (the running executable by default).
class Win32Resources : public Resources {
  public:
    explicit Win32Resources(HMODULE module = nullptr) : module(module) {}
    Payload Open(const std::string& name) override;
    void Release(const Payload& payload) override;

  private:
    HMODULE module;
};
