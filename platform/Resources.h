#pragma once

#include <cstddef>
#include <string>

// A block of bytes embedded in the installer.
struct Payload {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    const void* handle = nullptr;
};

class Resources {
  public:
    virtual ~Resources() = default;

    // Throws Failure("Resource <name> not found") when there is no such payload.
    virtual Payload Open(const std::string& name) = 0;
    virtual void Release(const Payload& payload) = 0;
};
