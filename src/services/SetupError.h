// The one error that travels by exception: a registry key that cannot be
// created, a registry value that cannot be written, or a shell-link object
// that cannot be made. It keeps what was being done, on what, and the
// system's code, beside the message the person is shown. The install catches
// it at its phase boundary and ends the run as at a fatal stop; the
// uninstall tells it and goes on; elsewhere the handler around each window
// message shows its message.
#pragma once

#include <exception>
#include <string>

class SetupError : public std::exception {
public:
    enum class Action { CreatingKey, WritingValue, CreatingShellLink };

    // `subject`: the key path, the value name, or empty for the shell link.
    // `code`: the Win32 code, or the HRESULT for the shell-link object.
    SetupError(Action action, std::string subject, unsigned long code, std::string message)
        : action_(action), subject_(std::move(subject)), code_(code), message_(std::move(message))
    {
    }
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }
    Action WhatWasDone() const { return action_; }
    const std::string& Subject() const { return subject_; }
    unsigned long Code() const { return code_; }

private:
    Action action_;
    std::string subject_;
    unsigned long code_;
    std::string message_;
};
