#pragma once

#include <cstdint>

// Calls a function of a foreign library with `count` one-word arguments (pushed right to left)
// and returns what it left in EAX. The stack pointer is put back as it was before the call, so it
// does not matter whether the callee removes its arguments: a library built with the C
// convention where the standard one is declared cannot shift the caller's frame.
std::uint32_t CallForeign(const void* function, const void* const* arguments,
                          unsigned count) noexcept;
