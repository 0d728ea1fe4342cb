#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::uint32_t ArchiveAttribute = 0x20;

class Files {
  public:
    virtual ~Files() = default;

    // Sets a file's attributes; false when the file is missing or the call fails.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // Replaces the file at `path` with exactly these bytes, or leaves it as it was. The folder
    // must exist; none is created. Throws std::runtime_error with
    // "Cannot create file \"<path>\". <system text>" when the file cannot be created or replaced,
    // and "Stream write error" when fewer bytes than asked could be written.
    virtual void ReplaceContents(const std::string& path, const unsigned char* data,
                                 std::size_t size) = 0;
};
