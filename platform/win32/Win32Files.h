#pragma once

#include "platform/Files.h"

class Win32Files : public Files {
  public:
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    void ReplaceContents(const std::string& path, const unsigned char* data,
                         std::size_t size) override;
};
