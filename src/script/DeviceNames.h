// The names that open one of the system's devices instead of a file: CON,
// PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9, CONIN$ and CONOUT$, in any
// letter case, with or without an extension and with blanks or dots after
// them ("nul.txt", "COM1 ", "Con.log"), in any folder. Written to, such a
// "file" sends its bytes to the device or waits on it. No log goes to one,
// and no package holds one.
#pragma once

#include <string>
#include <string_view>

// True when the file name (without its folder) names a device.
inline bool IsDeviceName(std::string_view name)
{
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
    for (char& c : stem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
        return true;
    const bool numbered = stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0);
    return numbered && stem[3] >= '0' && stem[3] <= '9';
}
