#include "platform/win32/SystemFunctions.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "platform/win32/DllSearch.h"

namespace {

constexpr std::size_t GroupCount = static_cast<std::size_t>(SystemGroup::Shell) + 1;

// Written only by the process's first thread: the start group before main, the others later on
// that thread alone (ProvideSystemFunctions), so no two threads ever write or race a write.
struct Table {
    Table() noexcept : startThread(::GetCurrentThreadId()) { Fill(SystemGroup::Start); }
    bool Fill(SystemGroup group) noexcept;

    SystemFunctions functions;
    DWORD startThread;
    std::array<bool, GroupCount> provided{};
    std::array<bool, GroupCount> complete{};
};

Table table;

// Kept loaded for the life of the process.
HMODULE ModuleOf(SystemGroup group, const wchar_t* dll) {
    switch (group) {
        case SystemGroup::Start:
        case SystemGroup::Dpi:
            return ::GetModuleHandleW(dll);
        case SystemGroup::Controls:
            return ::LoadLibraryW(dll);
        default:
            return LoadFromSystemFolder(dll);
    }
}

// One row per function; each is written into its member of the table as the address it is.
struct Entry {
    SystemGroup group;
    const wchar_t* dll;
    const char* name;
    std::size_t offset;
};
constexpr Entry Entries[] = {
#define INSTALATOR_SYSTEM_FUNCTION_ENTRY(group, dll, name, type) \
    {SystemGroup::group, dll, #name, offsetof(SystemFunctions, name)},
    INSTALATOR_SYSTEM_FUNCTIONS(INSTALATOR_SYSTEM_FUNCTION_ENTRY)
#undef INSTALATOR_SYSTEM_FUNCTION_ENTRY
};
static_assert(sizeof(SystemFunctions) == std::size(Entries) * sizeof(FARPROC),
              "every member is one function's address");

bool Table::Fill(SystemGroup group) noexcept {
    auto index = static_cast<std::size_t>(group);
    if (provided[index]) return complete[index];
    provided[index] = true;
    if (group == SystemGroup::Shell) {
        LoadShellHelpers();
        if (!Fill(SystemGroup::Com)) return false;
    }
    bool found = true;
    const wchar_t* lastDll = nullptr;
    HMODULE module = nullptr;
    for (const Entry& entry : Entries) {
        if (entry.group != group) continue;
        if (!lastDll || ::lstrcmpW(entry.dll, lastDll) != 0) module = ModuleOf(group, entry.dll);
        lastDll = entry.dll;
        FARPROC address = module ? ::GetProcAddress(module, entry.name) : nullptr;
        std::memcpy(reinterpret_cast<char*>(&functions) + entry.offset, &address, sizeof address);
        found = found && address;
    }
    complete[index] = found;
    return found;
}

}  // namespace

const SystemFunctions& System() {
    return table.functions;
}

bool ProvideSystemFunctions(SystemGroup group) {
    if (::GetCurrentThreadId() != table.startThread) return false;
    return table.Fill(group);
}
