#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/Libraries.h"
#include "platform/win32/UniqueHandle.h"

class Win32Libraries : public Libraries {
  public:
    LibraryHandle Load(const std::string& path) override;
    ExportAddress Find(LibraryHandle library, const char* name) override;
    std::uint8_t CallByteFunction(ExportAddress function) override;
    void CallBufferFunction(ExportAddress function, OwnerBuffer& buffer) override;
    void Free(LibraryHandle library) override;

  private:
    // The process's other threads as they were before each loaded library was loaded: a probe
    // holds one library at a time, so a list does (a map would cost the executable 4 KB).
    std::vector<std::pair<LibraryHandle, std::vector<DWORD>>> threadsBefore;
};
