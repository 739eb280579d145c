#include "services/LocalDate.h"

#include <windows.h>

#include <cstdio>

std::string LocalDate(const std::string& separator)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    char year[8];
    char month[4];
    char day[4];
    std::snprintf(year, sizeof year, "%04u", today.wYear);
    std::snprintf(month, sizeof month, "%02u", today.wMonth);
    std::snprintf(day, sizeof day, "%02u", today.wDay);
    return year + separator + month + separator + day;
}
