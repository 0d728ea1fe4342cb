#include "platform/win32/Win32Libraries.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/win32/DllSearch.h"
#include "platform/win32/ErrorModeScope.h"
#include "platform/win32/SehGuard.h"
#include "platform/win32/Text.h"

namespace {

using ByteFunction = BYTE(__stdcall*)();
using BufferFunction = void(__stdcall*)(unsigned char*);

// The library's callers only need to know that it failed; the code helps whoever debugs it.
[[noreturn]] void ThrowExternalException(std::uint32_t code) {
    throw std::runtime_error("External exception " + HexCode(code));
}

template <typename Body>
void Guard(Body body) {
    if (std::uint32_t code = CallGuarded(body)) ThrowExternalException(code);
}

}  // namespace

LibraryHandle Win32Libraries::Load(const std::string& path) {
    // Loading a library from a removable or missing drive must not stop the wizard with a box.
    ErrorModeScope quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // A Windows 7 without its loader update has no search flags; the older search path is used.
    DWORD flags = HasSearchFlags() ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                                   : LOAD_WITH_ALTERED_SEARCH_PATH;
    return ::LoadLibraryExW(Widen(path).c_str(), nullptr, flags);
}

ExportAddress Win32Libraries::Find(LibraryHandle library, const char* name) {
    return reinterpret_cast<ExportAddress>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

std::uint8_t Win32Libraries::CallByteFunction(ExportAddress function) {
    auto call = reinterpret_cast<ByteFunction>(function);
    BYTE result = 0;
    Guard([&] { result = call(); });
    return result;
}

void Win32Libraries::CallBufferFunction(ExportAddress function, OwnerBuffer& buffer) {
    auto call = reinterpret_cast<BufferFunction>(function);
    std::memset(buffer, 0, sizeof buffer);
    Guard([&] { call(buffer); });
}

void Win32Libraries::Free(LibraryHandle library) {
    // The library's detach code runs inside FreeLibrary; the module is released even when it
    // faults there, so there is nothing to retry.
    UniqueModule module(static_cast<HMODULE>(library));
    Guard([&] { module.reset(); });
}
