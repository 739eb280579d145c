// Self-registering components (OCX, DLL) of the install and the uninstall:
// the registration service does the work, the person hears of a failure.
#pragma once

#include "ui/SetupCallback.h"

#include <string>

// Registers the component; a failure is told, and the install goes on.
// True when it registered.
bool RegisterComponent(SetupCallback& person, const std::string& path);

// Unregisters a component before it is deleted (best effort): only a library
// that cannot be loaded is told. A path that names no OCX or DLL is left.
void UnregisterComponent(SetupCallback& person, const std::string& path);
