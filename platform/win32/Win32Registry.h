#pragma once

#include "platform/Registry.h"

class Win32Registry : public Registry {
  public:
    std::optional<std::string> ReadUserString(const std::string& key,
                                              const std::string& name) override;
};
