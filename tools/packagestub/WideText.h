// Shift-JIS text (the package's file names, the stub's messages) as the
// UTF-16 that the W functions take, converted with code page 932 whatever
// the system's code page is.
#pragma once

#include <string>
#include <string_view>

// Empty when `text` is not valid Shift-JIS.
std::wstring WideFromCp932(std::string_view text);
