#include "text/IniFile.h"

#include "text/StrOp.h"
#include "text/ValueFields.h"

#include <windows.h>

#include <vector>

std::string ReadProfile(const std::string& section, const std::string& key, const std::string& fallback,
                        const std::string& file)
{
    // A result that fills the buffer to its last byte may have been cut, so
    // the buffer grows by 256 bytes until the value fits.
    DWORD size = 256;
    for (;;) {
        std::vector<char> buffer(size, '\0');
        const DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                      buffer.data(), size, file.c_str());
        if (copied != size - 1) return std::string(buffer.data(), copied);
        size += 256;
    }
}

void FlushProfile(const std::string& file)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file)
{
    FlushProfile(file);
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool RemoveProfileEntry(const std::string& section, const std::string& key, const std::string& file)
{
    FlushProfile(file);
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != FALSE;
}

std::string ListEntryField(const std::string& value)
{
    return SplitAtFirst(value, ",").before;
}

bool SameListEntry(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

int FindNumberedKey(const std::string& value, const std::string& section, const std::string& prefix,
                    const std::string& file)
{
    const std::string wanted = ListEntryField(value);
    for (int n = 1;; ++n) {
        const std::string field = ListEntryField(ReadProfile(section, prefix + std::to_string(n), "", file));
        if (field.empty() || SameListEntry(field, wanted)) return n;
    }
}
