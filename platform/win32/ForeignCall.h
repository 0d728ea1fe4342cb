#pragma once

#include <cstdint>

// Calls a function of a foreign library with `count` (at most 4) pointer-sized arguments and
// returns the low 32 bits of what it left in the return register. The stack pointer is put back
// as it was before the call, so it does not matter whether the callee removes its arguments: on
// i386 a library built with the C convention where the standard one is declared cannot shift the
// caller's frame (x86-64 has one convention, in which the caller always removes them).
std::uint32_t CallForeign(const void* function, const void* const* arguments,
                          unsigned count) noexcept;
