#include "platform/win32/ForeignCall.h"

// Written out by hand: after the call only a frame pointer saved before the arguments were pushed
// tells where the stack was, and compiled code may well address its frame through ESP instead.
__attribute__((naked)) std::uint32_t CallForeign(const void*, const void* const*,
                                                 unsigned) noexcept {
    asm("pushl %ebp\n\t"
        "movl %esp, %ebp\n\t"
        "movl 12(%ebp), %edx\n\t"  // arguments
        "movl 16(%ebp), %ecx\n\t"  // count
        "1:\n\t"
        "jecxz 2f\n\t"
        "pushl -4(%edx,%ecx,4)\n\t"
        "decl %ecx\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "calll *8(%ebp)\n\t"
        "movl %ebp, %esp\n\t"
        "popl %ebp\n\t"
        "retl");
}
