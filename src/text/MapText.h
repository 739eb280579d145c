// The system's locale mapping of Shift-JIS text: upper case, full-width
// forms and the others that LCMapString gives, under the system's default
// locale, through UTF-16 in code page 932 whatever the system's own.
#pragma once

#include <string>

// The text mapped by LCMapStringW under the system default locale; the text
// unchanged when the system cannot map it or the result has no Shift-JIS
// form.
std::string MapText(const std::string& text, unsigned long flags);
