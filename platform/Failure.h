#pragma once

#include <exception>
#include <string>
#include <utility>

// Every failure the wizard raises: the message the user is shown, in Windows-1250. Our own type
// rather than std::runtime_error, whose copy-on-write message string brings a second string
// implementation of some 40 KB into the executable. Caught by reference, so the message is never
// copied.
class Failure : public std::exception {
  public:
    explicit Failure(std::string message) : message(std::move(message)) {}
    const char* what() const noexcept override { return message.c_str(); }

  private:
    std::string message;
};
