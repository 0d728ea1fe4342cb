#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

// Owns one handle; its type, how it is closed and its "no handle" value (given as a number, as
// INVALID_HANDLE_VALUE is -1) are all in the type, as in WIL's unique_any. Moves, never copies.
template <typename Type, auto Close, std::intptr_t None = 0>
class UniqueHandle {
  public:
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
    explicit operator bool() const { return value != Invalid(); }
    Type release() { return std::exchange(value, Invalid()); }
    void reset(Type newValue = Invalid()) {
        Type old = std::exchange(value, newValue);
        if (old != Invalid()) Close(old);
    }

  private:
    static Type Invalid() { return reinterpret_cast<Type>(None); }

    Type value = Invalid();
};

inline void ReleaseVirtualMemory(void* memory) {
    ::VirtualFree(memory, 0, MEM_RELEASE);
}

using UniqueRegistryKey = UniqueHandle<HKEY, ::RegCloseKey>;
using UniqueFile = UniqueHandle<HANDLE, ::CloseHandle, -1>;
using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, ::DeleteObject>;
using UniqueModule = UniqueHandle<HMODULE, ::FreeLibrary>;
using UniqueFind = UniqueHandle<HANDLE, ::FindClose, -1>;
using UniqueWindow = UniqueHandle<HWND, ::DestroyWindow>;
using UniqueMemoryDc = UniqueHandle<HDC, ::DeleteDC>;
using UniqueLocalMemory = UniqueHandle<HLOCAL, ::LocalFree>;
using UniqueVirtualMemory = UniqueHandle<void*, ReleaseVirtualMemory>;
