#pragma once

#include <utility>

// Owns one reference to a COM object and releases it when it goes, as UniqueHandle does a
// handle. Moves, never copies: a second owner would need AddRef, which none of ours does.
template <typename Interface>
class ComPointer {
  public:
    ComPointer() = default;
    explicit ComPointer(Interface* owned) : object(owned) {}  // takes over that reference
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    ComPointer(ComPointer&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
    ComPointer& operator=(ComPointer&& other) noexcept {
        if (this != &other) reset(std::exchange(other.object, nullptr));
        return *this;
    }
    ~ComPointer() { reset(); }

    Interface* get() const { return object; }
    Interface* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }
    // For the functions that hand out a new reference through a void** (CoCreateInstance and
    // its kin); the one held before is released first.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&object);
    }
    void reset(Interface* owned = nullptr) {
        if (Interface* old = std::exchange(object, owned)) old->Release();
    }

  private:
    Interface* object = nullptr;
};
