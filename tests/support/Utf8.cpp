#include "support/Utf8.h"

#include "text/Unicode.h"

std::string Utf8(const std::string& shiftJis)
{
    return Utf8FromShiftJis(shiftJis);
}
