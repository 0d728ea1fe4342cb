#pragma once

// The 32-bit x86 registers the guarded calls must leave as they found them.

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
