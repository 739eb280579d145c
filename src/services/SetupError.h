// The one error that travels by exception: a registry key that cannot be
// created, a registry value that cannot be written, or a shell-link object
// that cannot be made. The install catches it at its phase boundary and ends
// the run as at a fatal stop; elsewhere the handler around each window
// message shows its text.
#pragma once

#include <exception>
#include <string>

class SetupError : public std::exception {
public:
    explicit SetupError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};
