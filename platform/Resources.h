#pragma once

#include <cstddef>
#include <string>

// A block of bytes embedded in the installer, valid as long as the installer runs.
struct Payload {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

class Resources {
  public:
    virtual ~Resources() = default;

    // Throws Failure("Resource <name> not found") when there is no such payload.
    virtual Payload Open(const std::string& name) = 0;
};
