#include "platform/win32/ForeignCall.h"

// x86-64 Windows has one calling convention, in which the caller reserves and removes the stack
// the callee may use: a plain call through the pointer keeps the frame whatever the library does.
std::uint32_t CallForeign(const void* function, const void* const* arguments,
                          unsigned count) noexcept {
    using Word = std::uintptr_t;
    const void* a[4] = {};
    for (unsigned i = 0; i < count && i < 4; ++i) a[i] = arguments[i];
    auto call = reinterpret_cast<Word (*)(const void*, const void*, const void*, const void*)>(
        const_cast<void*>(function));
    // Arguments the callee does not take are ignored by it: they travel in registers.
    return static_cast<std::uint32_t>(call(a[0], a[1], a[2], a[3]));
}
