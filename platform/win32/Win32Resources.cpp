#include "platform/win32/Win32Resources.h"

#include "platform/Failure.h"
#include "platform/win32/Text.h"

Payload Win32Resources::Open(const std::string& name) {
    // The system compares resource names without regard to case.
    HRSRC found = ::FindResourceW(module, Widen(name).c_str(), RT_RCDATA);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) throw Failure("Resource " + name + " not found");
    return Payload{static_cast<const unsigned char*>(bytes), ::SizeofResource(module, found)};
}
