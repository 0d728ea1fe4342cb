#pragma once

#include <windows.h>

#include <utility>

// Owns one handle of a kind described by Traits (its type, its "no handle" value and how it is
// closed); moves, never copies.
template <typename Traits>
class UniqueHandle {
  public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const { return value; }
    Type* put() {
        reset();
        return &value;
    }
    explicit operator bool() const { return value != Traits::Invalid(); }
    Type release() { return std::exchange(value, Traits::Invalid()); }
    void reset(Type newValue = Traits::Invalid()) {
        Type old = std::exchange(value, newValue);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

  private:
    Type value = Traits::Invalid();
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type key) { ::RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<FileHandleTraits>;

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type object) { ::DeleteObject(object); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type module) { ::FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { ::FindClose(handle); }
};
using UniqueFind = UniqueHandle<FindHandleTraits>;

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type window) { ::DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type memory) { ::LocalFree(memory); }
};
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

struct VirtualMemoryTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type memory) { ::VirtualFree(memory, 0, MEM_RELEASE); }
};
using UniqueVirtualMemory = UniqueHandle<VirtualMemoryTraits>;
