#pragma once

#include <cstdint>

// Runs body(context) with a handler of ours on the thread's structured exception chain. Returns 0
// when the body ran to its end, otherwise the code of the exception raised inside it that no
// handler nearer to the fault took (the called code's own handlers see every exception first).
// Either way the exception chain and the stack are as before the call. The body must not throw
// C++ exceptions: they would leave a dead record on the chain.
std::uint32_t CallGuarded(void (*body)(void*), void* context);

// The same for any callable without arguments.
template <typename Body>
std::uint32_t CallGuarded(Body& body) {
    return CallGuarded([](void* context) { (*static_cast<Body*>(context))(); }, &body);
}
