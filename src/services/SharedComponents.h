// Components that several programs share: the system's reference counts of
// shared DLLs, and the registration entries of self-registering components.
#pragma once

#include <string>

// True when the path contains ".OCX" or ".DLL" anywhere, case ignored: the
// components that are registered after copying and unregistered before
// deletion.
bool IsRegistrable(const std::string& path);

// Loads the component and calls DllRegisterServer (register) or
// DllUnregisterServer. True only when registration was asked for and its
// entry returned 0. A library that cannot be loaded, a missing registration
// entry and a failing one are each reported in one message box.
bool SelfRegister(const std::string& path, bool doRegister);
