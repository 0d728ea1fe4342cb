#pragma once

#include <optional>
#include <string>

// Per-user settings store, read only.
class Registry {
  public:
    virtual ~Registry() = default;

    // The string value `name` of the key `key` under the current user's root, taken up to its
    // first NUL and unexpanded. Empty optional when the key cannot be opened for reading or the
    // value does not exist. Throws Failure("Invalid data type for '<name>'") for a
    // value that is not a string.
    virtual std::optional<std::string> ReadUserString(const std::string& key,
                                                      const std::string& name) = 0;
};
