#include "tests/support/Registers.h"

// The frame's unwind entry names one handler of ours for every frame of this kind; it calls the
// handler that the frame keeps in its stack slot at 32 (above the callee's shadow space).
extern "C" {
void TestFrameWithHandler(void (*body)(), FrameHandler handler);
EXCEPTION_DISPOSITION TestFrameHandler(EXCEPTION_RECORD* record, void* establisher,
                                       CONTEXT* context, void* dispatch) {
    FrameHandler handler = *reinterpret_cast<FrameHandler*>(static_cast<char*>(establisher) + 32);
    return handler(record, establisher, context, dispatch);
}
}

asm(R"(
    .text
    .p2align 4
    .globl TestFrameWithHandler
    .def TestFrameWithHandler; .scl 2; .type 32; .endef
    .seh_proc TestFrameWithHandler
TestFrameWithHandler:
    subq $56, %rsp
    .seh_stackalloc 56
    .seh_endprologue
    .seh_handler TestFrameHandler, @except, @unwind
    movq %rdx, 32(%rsp)
    callq *%rcx
    nop
    addq $56, %rsp
    retq
    .seh_endproc
)");

void CallWithFrameHandler(void (*body)(), FrameHandler handler) {
    TestFrameWithHandler(body, handler);
}
