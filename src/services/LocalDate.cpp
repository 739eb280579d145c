#include "services/LocalDate.h"

#include <windows.h>

#include <cstdio>

std::string LocalDate(const std::string& separator)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[32];
    std::snprintf(date, sizeof date, "%04u%s%02u%s%02u", today.wYear, separator.c_str(), today.wMonth,
                  separator.c_str(), today.wDay);
    return date;
}
