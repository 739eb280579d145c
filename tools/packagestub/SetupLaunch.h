// Running the unpacked SETUP.EXE: from its own folder (its working folder
// too, where it finds SETUP.INI and every file), with the stub's arguments,
// waited for to the end.
#pragma once

#include <functional>
#include <optional>
#include <string>

// SETUP.EXE's exit code, or nothing when it could not be started. `started`
// is called once its process exists, before the wait.
std::optional<unsigned long> RunSetup(const std::wstring& folder, const std::wstring& arguments,
                                      const std::function<void()>& started);
