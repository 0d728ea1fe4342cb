#pragma once

#include <cstdint>
#include <string>

using LibraryHandle = void*;
using ExportAddress = void*;

// A counted string as the component library fills it: a length byte, then up to 255 bytes.
using OwnerBuffer = unsigned char[256];

// Loading foreign libraries and calling into them. Every call into foreign code (the exports and
// the library's own unload code) is guarded: an exception the library raises and does not handle
// itself comes back as a Failure, and the process keeps running. The exports leave the
// stack as they found it, whichever calling convention the library was built with.
class Libraries {
  public:
    virtual ~Libraries() = default;

    // Loads the library at a full path, its dependencies resolved from its own folder and the
    // system folder only. nullptr when it cannot be loaded.
    virtual LibraryHandle Load(const std::string& path) = 0;
    // nullptr when the export does not exist.
    virtual ExportAddress Find(LibraryHandle library, const char* name) = 0;
    // Calls `BYTE __stdcall f(void)`.
    virtual std::uint8_t CallByteFunction(ExportAddress function) = 0;
    // Calls `void __stdcall f(unsigned char* buffer)`. The library writes into room of its own, far
    // larger than the 256 bytes it is promised, so that one built against a longer buffer cannot
    // reach ours; the first 256 bytes of that room, the counted string, come back in `buffer`.
    virtual void CallBufferFunction(ExportAddress function, OwnerBuffer& buffer) = 0;
    // Unloads; throws when the library faults while unloading (it is released all the same). A
    // library that left a thread of its own running is not unloaded: it stays until the process
    // ends.
    virtual void Free(LibraryHandle library) = 0;
};
