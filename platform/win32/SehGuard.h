#pragma once

#include <cstdint>
#include <type_traits>

// Runs body(context) with a handler of ours on the thread's structured exception chain. Returns 0
// when the body ran to its end, otherwise the code of the exception raised inside it that no
// handler nearer to the fault took (the called code's own handlers see every exception first).
// Either way the exception chain and the stack are as before the call. The body must not throw
// C++ exceptions, which would leave a dead record on the chain; its type says so.
std::uint32_t CallGuarded(void (*body)(void*) noexcept, void* context);

// The same for any callable without arguments that is declared noexcept.
template <typename Body>
std::uint32_t CallGuarded(Body& body) {
    static_assert(std::is_nothrow_invocable_v<Body&>, "a guarded body must be noexcept");
    return CallGuarded([](void* context) noexcept { (*static_cast<Body*>(context))(); }, &body);
}
