#include "platform/win32/SehGuard.h"

#include <windows.h>

// x86-64 has no chain of handler records: the system finds a frame's handler through the unwind
// tables. So the guarded call gets a frame of its own, written out by hand, whose unwind entry
// names our handler. Frames nearer to the fault (the library's) are asked first; what none of
// them takes reaches us, and we unwind to the resume point after the call, which returns the
// exception's code.
extern "C" {
std::uint32_t InstalatorGuardedFrame(void (*body)(void*) noexcept, void* context);
extern const char InstalatorGuardResume[];
EXCEPTION_DISPOSITION InstalatorGuardHandler(EXCEPTION_RECORD* record, void* establisher,
                                             CONTEXT* context, DISPATCHER_CONTEXT* dispatch);
}

asm(R"(
    .text
    .p2align 4
    .globl InstalatorGuardedFrame
    .def InstalatorGuardedFrame; .scl 2; .type 32; .endef
    .seh_proc InstalatorGuardedFrame
InstalatorGuardedFrame:
    pushq %rbp
    .seh_pushreg %rbp
    subq $32, %rsp
    .seh_stackalloc 32
    .seh_endprologue
    .seh_handler InstalatorGuardHandler, @except
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    xorl %eax, %eax
    .globl InstalatorGuardResume
InstalatorGuardResume:
    addq $32, %rsp
    popq %rbp
    retq
    .seh_endproc
)");

EXCEPTION_DISPOSITION InstalatorGuardHandler(EXCEPTION_RECORD* record, void* establisher,
                                             CONTEXT* context, DISPATCHER_CONTEXT* dispatch) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    // Lets every frame between the fault and ours clean up, then continues at the resume point
    // with our frame's stack and registers and the code as the call's result.
    ::RtlUnwindEx(establisher, const_cast<char*>(InstalatorGuardResume), record,
                  reinterpret_cast<void*>(static_cast<ULONG_PTR>(record->ExceptionCode)), context,
                  dispatch->HistoryTable);
    return ExceptionContinueSearch;
}

std::uint32_t CallGuarded(void (*body)(void*) noexcept, void* context) {
    return InstalatorGuardedFrame(body, context);
}
