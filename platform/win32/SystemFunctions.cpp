#include "platform/win32/SystemFunctions.h"

#include <array>

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

HMODULE ModuleOf(SystemGroup group, const wchar_t* dll) {
    if (group == SystemGroup::Start || group == SystemGroup::Dpi) return ::GetModuleHandleW(dll);
    return LoadFromSystemFolder(dll);  // kept loaded for the life of the process
}

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
#define INSTALATOR_LOOK_UP(member, dll, name, type)         \
    if (group == SystemGroup::member) {                     \
        if (!lastDll || ::lstrcmpW(dll, lastDll) != 0)      \
            module = ModuleOf(group, dll);                  \
        lastDll = dll;                                      \
        functions.name = ExportOf<type>(module, #name);     \
        found = found && functions.name;                    \
    }
    INSTALATOR_SYSTEM_FUNCTIONS(INSTALATOR_LOOK_UP)
#undef INSTALATOR_LOOK_UP
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
