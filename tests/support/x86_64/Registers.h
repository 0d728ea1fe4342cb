#pragma once

#include <windows.h>

// The x86-64 registers the guarded calls must leave as they found them, and handler frames as the
// called code makes them: functions whose unwind entry names a handler.

inline void* StackPointer() {
    void* rsp;
    asm volatile("movq %%rsp, %0" : "=r"(rsp));
    return rsp;
}

// There is no chain of handler records to compare: the system finds each frame's handler through
// the unwind tables.
inline void* ChainHead() {
    return nullptr;
}

// Why the checks that only mean something on i386 are skipped here.
inline constexpr const char* NoHandlerChain =
    "x86-64 keeps no handler chain at fs:[0]; handlers are found through the unwind tables";
inline constexpr const char* OneCallingConvention =
    "x86-64 has one calling convention, in which the caller removes the arguments";

using FrameHandler = EXCEPTION_DISPOSITION (*)(EXCEPTION_RECORD*, void*, CONTEXT*, void*);

// Runs body() in a frame of its own whose unwind entry names `handler` (for the search and for
// the unwind), as a library's frame with a handler has it. In tests/support/x86_64/Registers.cpp.
void CallWithFrameHandler(void (*body)(), FrameHandler handler);
