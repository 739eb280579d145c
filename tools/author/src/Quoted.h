// A script text in double quotes, for the author's messages.
#pragma once

#include <string>

inline std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}
