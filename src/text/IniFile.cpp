#include "text/IniFile.h"

#include "text/StrOp.h"
#include "text/ValueFields.h"

#include <windows.h>

#include <vector>

namespace {

// The longest text the system's profile functions take: they pass each one
// on as a counted UTF-16 string of at most 32767 characters, the end
// included. Given a longer one, Wine's read uses an undefined default (or
// crashes) and its write deletes the key and reports success.
constexpr size_t LongestProfileText = 32766;

// True when the section of the file holds `key` (case ignored).
bool HasProfileKey(const std::string& section, const std::string& key, const std::string& file)
{
    DWORD size = 1024;
    for (;;) {
        std::vector<char> names(size, '\0');
        const DWORD copied = GetPrivateProfileStringA(section.c_str(), nullptr, "", names.data(), size, file.c_str());
        if (copied + 2 < size) {
            const std::string wanted = AsciiUpper(key);
            for (size_t at = 0; at < copied && names[at] != '\0'; at += std::char_traits<char>::length(&names[at]) + 1)
                if (AsciiUpper(&names[at]) == wanted) return true;
            return false;
        }
        size *= 2;
    }
}

}  // namespace

std::string ReadProfile(const std::string& section, const std::string& key, const std::string& fallback,
                        const std::string& file)
{
    if (fallback.size() > LongestProfileText)
        return HasProfileKey(section, key, file) ? ReadProfile(section, key, "", file) : fallback;
    // A result that fills the buffer to its last byte may have been cut, so
    // the buffer doubles until the value fits (growing it by a fixed step
    // took the system thousands of reads of a 100 KB value, seconds long).
    DWORD size = 256;
    for (;;) {
        std::vector<char> buffer(size, '\0');
        const DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                      buffer.data(), size, file.c_str());
        if (copied != size - 1) return std::string(buffer.data(), copied);
        size *= 2;
    }
}

void FlushProfile(const std::string& file)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file)
{
    if (section.size() > LongestProfileText || key.size() > LongestProfileText || value.size() > LongestProfileText)
        return false;
    FlushProfile(file);
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
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
