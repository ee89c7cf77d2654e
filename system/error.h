#pragma once
#include <stdexcept>
#include <string>

// A fatal error of the framework or the game. Unless a caller catches it, it ends the
// program: main() prints the message and exits non-zero.
class TRuntimeError : public std::runtime_error {
public:
    explicit TRuntimeError(const std::string& message) : std::runtime_error(message) {}
};
