#pragma once

#include <windows.h>

// The 32-bit x86 registers the guarded calls must leave as they found them, and handler frames
// as the called code makes them: records on the thread's chain at fs:[0].

inline void* StackPointer() {
    void* esp;
    asm volatile("movl %%esp, %0" : "=r"(esp));
    return esp;
}

// The head of the thread's chain of exception handler records.
inline void* ChainHead() {
    void* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

// Checks that only mean something on i386 run here.
inline constexpr const char* NoHandlerChain = nullptr;
inline constexpr const char* OneCallingConvention = nullptr;

using FrameHandler = EXCEPTION_DISPOSITION(__cdecl*)(EXCEPTION_RECORD*, void*, CONTEXT*, void*);

// Runs body() with `handler` on a record of its own at the head of the chain, as a library's
// frame with a handler does.
inline void CallWithFrameHandler(void (*body)(), FrameHandler handler) {
    struct Record {
        Record* next;
        void* handler;
    } record{static_cast<Record*>(ChainHead()), reinterpret_cast<void*>(handler)};
    asm volatile("movl %0, %%fs:0" : : "r"(&record) : "memory");
    body();
    asm volatile("movl %0, %%fs:0" : : "r"(record.next) : "memory");
}
