#pragma once

#include <windows.h>

#include "platform/Resources.h"

// Payloads are RCDATA resources of `module` (the running executable by default).
class Win32Resources : public Resources {
  public:
    explicit Win32Resources(HMODULE module = nullptr) : module(module) {}
    // A resource is mapped with its module and stays valid until the module is unloaded: there is
    // nothing to unlock or free (FreeResource does nothing).
    Payload Open(const std::string& name) override;

  private:
    HMODULE module;
};
