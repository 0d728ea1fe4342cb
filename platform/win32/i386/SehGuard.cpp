#include "platform/win32/SehGuard.h"

#include <windows.h>

// A record on the i386 exception chain (fs:[0]) and what we need to come back to the guarded call:
// the system only reads the first two fields, our handler reads the rest.
namespace {

struct GuardFrame;
using FrameHandler = EXCEPTION_DISPOSITION(__cdecl*)(EXCEPTION_RECORD*, void*, CONTEXT*, void*);

struct GuardFrame {
    GuardFrame* next;
    FrameHandler handler;
    void* resume[5];  // __builtin_setjmp's buffer: frame pointer, resume address, stack pointer
    DWORD code;
};

GuardFrame* ChainHead() {
    GuardFrame* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardFrame* head) {
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// Reached when the unwind is complete, whether the system returns from RtlUnwind or continues at
// the target address; by then our record heads the chain again, so it is found without arguments.
[[noreturn]] void ResumeGuardedCall() {
    __builtin_longjmp(ChainHead()->resume, 1);
}

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT*,
                                           void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    static_cast<GuardFrame*>(establisher)->code = record->ExceptionCode;
    // Lets every handler above ours (the library's frames and the dispatcher's own) clean up and
    // drops them from the chain before we abandon their stack.
    ::RtlUnwind(establisher, reinterpret_cast<void*>(&ResumeGuardedCall), record, nullptr);
    ResumeGuardedCall();
}

}  // namespace

// Not inlined: the resume point must belong to a frame of its own that outlives the body.
__attribute__((noinline)) std::uint32_t CallGuarded(void (*body)(void*) noexcept, void* context) {
    GuardFrame frame{};
    frame.next = ChainHead();
    frame.handler = &GuardHandler;
    if (__builtin_setjmp(frame.resume) == 0) {
        SetChainHead(&frame);
        body(context);
    }
    SetChainHead(frame.next);
    return *static_cast<volatile DWORD*>(&frame.code);
}
