// The exception runtime (the unwinder, the emergency exception pool, per-thread exception state)
// asks the POSIX threads layer for eight functions: once, a mutex and thread-local keys. The
// threads library that would answer them brings 32 KB of thread machinery the wizard never uses;
// these answer them on Windows' own primitives. They are linked into the installer only (the
// tests keep the library). Should the runtime ever need one more of its functions, the library's
// object comes back: where that object also defines one of these, the duplicates stop the link;
// otherwise the executable grows, which the header test's size bound catches.
#include <pthread.h>
#include <windows.h>

#include <cerrno>

static_assert(sizeof(pthread_once_t) == sizeof(INIT_ONCE) && PTHREAD_ONCE_INIT == 0,
              "a once flag must be usable as a zero-initialised INIT_ONCE");

namespace {

BOOL CALLBACK RunOnce(PINIT_ONCE, PVOID function, PVOID*) {
    reinterpret_cast<void (*)()>(function)();
    return TRUE;
}

// PTHREAD_MUTEX_INITIALIZER marks a mutex whose lock is made on first use; a lock once made is
// an SRW lock of its own on the process heap.
SRWLOCK* LockOf(pthread_mutex_t* mutex) {
    auto current = reinterpret_cast<SRWLOCK*>(*mutex);
    if (*mutex != PTHREAD_MUTEX_INITIALIZER) return current;
    auto made = static_cast<SRWLOCK*>(::HeapAlloc(::GetProcessHeap(), 0, sizeof(SRWLOCK)));
    if (!made) return nullptr;
    ::InitializeSRWLock(made);
    auto* slot = reinterpret_cast<PVOID volatile*>(mutex);
    PVOID before = ::InterlockedCompareExchangePointer(
        slot, made, reinterpret_cast<PVOID>(PTHREAD_MUTEX_INITIALIZER));
    if (before == reinterpret_cast<PVOID>(PTHREAD_MUTEX_INITIALIZER)) return made;
    ::HeapFree(::GetProcessHeap(), 0, made);  // another thread made it first
    return static_cast<SRWLOCK*>(before);
}

}  // namespace

extern "C" {

int pthread_once(pthread_once_t* once, void (*function)()) {
    return ::InitOnceExecuteOnce(reinterpret_cast<PINIT_ONCE>(once), RunOnce,
                                 reinterpret_cast<PVOID>(function), nullptr)
               ? 0
               : EINVAL;
}

int pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t*) {
    *mutex = PTHREAD_MUTEX_INITIALIZER;
    return 0;
}

int pthread_mutex_destroy(pthread_mutex_t* mutex) {
    if (*mutex != PTHREAD_MUTEX_INITIALIZER)
        ::HeapFree(::GetProcessHeap(), 0, reinterpret_cast<SRWLOCK*>(*mutex));
    *mutex = PTHREAD_MUTEX_INITIALIZER;
    return 0;
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
    SRWLOCK* lock = LockOf(mutex);
    if (!lock) return ENOMEM;
    ::AcquireSRWLockExclusive(lock);
    return 0;
}

int pthread_mutex_unlock(pthread_mutex_t* mutex) {
    ::ReleaseSRWLockExclusive(reinterpret_cast<SRWLOCK*>(*mutex));
    return 0;
}

// The destructor is not run at thread exit: only the wizard's own thread throws, and it lives
// until the process ends.
int pthread_key_create(pthread_key_t* key, void (*)(void*)) {
    DWORD index = ::TlsAlloc();
    if (index == TLS_OUT_OF_INDEXES) return EAGAIN;
    *key = index;
    return 0;
}

// As the library's does, this keeps the thread's last error: it is read during a throw, which
// may come between a failed call and the reading of its error code.
void* pthread_getspecific(pthread_key_t key) {
    DWORD error = ::GetLastError();
    void* value = ::TlsGetValue(key);
    ::SetLastError(error);
    return value;
}

int pthread_setspecific(pthread_key_t key, const void* value) {
    return ::TlsSetValue(key, const_cast<void*>(value)) ? 0 : EINVAL;
}
}
