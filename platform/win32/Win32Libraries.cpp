#include "platform/win32/Win32Libraries.h"

#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "platform/Failure.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/ErrorModeScope.h"
#include "platform/win32/ForeignCall.h"
#include "platform/win32/SehGuard.h"
#include "platform/win32/Text.h"

namespace {

// The library's callers only need to know that it failed; the code helps whoever debugs it.
[[noreturn]] void ThrowExternalException(std::uint32_t code) {
    throw Failure("External exception " + HexCode(code));
}

template <typename Body>
void Guard(Body body) {
    if (std::uint32_t code = CallGuarded(body)) ThrowExternalException(code);
}

// Room for the owner far beyond the 256 bytes a library is promised, zeroed, with a page after it
// that cannot be touched: a library that writes further than the room faults inside the guarded
// call instead of overwriting memory of ours.
constexpr SIZE_T OwnerRoomSize = SIZE_T{64} * 1024;

UniqueVirtualMemory AllocateOwnerRoom() {
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    UniqueVirtualMemory room(
        ::VirtualAlloc(nullptr, OwnerRoomSize + system.dwPageSize, MEM_RESERVE, PAGE_NOACCESS));
    if (!room || !::VirtualAlloc(room.get(), OwnerRoomSize, MEM_COMMIT, PAGE_READWRITE))
        throw std::bad_alloc();
    return room;
}

// The threads of this process other than the calling one; nothing when they cannot be listed.
std::vector<DWORD> OtherThreads() {
    std::vector<DWORD> threads;
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
         more = ::Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId() &&
            entry.th32ThreadID != ::GetCurrentThreadId())
            threads.push_back(entry.th32ThreadID);
    std::sort(threads.begin(), threads.end());
    return threads;
}

}  // namespace

LibraryHandle Win32Libraries::Load(const std::string& path) {
    // Loading a library from a removable or missing drive must not stop the wizard with a box.
    ErrorModeScope quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // A Windows 7 without its loader update has no search flags; the older search path is used.
    DWORD flags = HasSearchFlags() ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                                   : LOAD_WITH_ALTERED_SEARCH_PATH;
    std::vector<DWORD> before = OtherThreads();
    LibraryHandle library = ::LoadLibraryExW(Widen(path).c_str(), nullptr, flags);
    if (library) threadsBefore.emplace_back(library, std::move(before));
    return library;
}

ExportAddress Win32Libraries::Find(LibraryHandle library, const char* name) {
    return reinterpret_cast<ExportAddress>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

std::uint8_t Win32Libraries::CallByteFunction(ExportAddress function) {
    std::uint32_t result = 0;
    Guard([&]() noexcept { result = CallForeign(function, nullptr, 0); });
    return static_cast<std::uint8_t>(result);
}

void Win32Libraries::CallBufferFunction(ExportAddress function, OwnerBuffer& buffer) {
    UniqueVirtualMemory room = AllocateOwnerRoom();
    const void* arguments[] = {room.get()};
    Guard([&]() noexcept { CallForeign(function, arguments, 1); });
    std::memcpy(buffer, room.get(), sizeof buffer);
}

void Win32Libraries::Free(LibraryHandle library) {
    // A thread that appeared while the library was loaded may run its code at any time later;
    // unloaded, the library would take the process down with it then, so it stays loaded until
    // the process ends.
    std::vector<DWORD> before;
    for (auto entry = threadsBefore.begin(); entry != threadsBefore.end(); ++entry)
        if (entry->first == library) {
            before = std::move(entry->second);
            threadsBefore.erase(entry);
            break;
        }
    std::vector<DWORD> now = OtherThreads();
    if (!std::includes(before.begin(), before.end(), now.begin(), now.end())) return;
    // The library's detach code runs inside FreeLibrary; the module is released even when it
    // faults there, so there is nothing to retry.
    UniqueModule module(static_cast<HMODULE>(library));
    Guard([&]() noexcept { module.reset(); });
}
