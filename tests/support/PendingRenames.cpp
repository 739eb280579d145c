#include "support/PendingRenames.h"

#include "services/Win32Files.h"
#include "services/Win32Registry.h"

#include <windows.h>

#include <algorithm>

namespace {

const wchar_t* const SessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t* const ValueName = L"PendingFileRenameOperations";

struct StoredValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<unsigned char> bytes;
};

StoredValue ReadStored()
{
    StoredValue value;
    DWORD size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, SessionManager, ValueName, RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr,
                     &size) != ERROR_SUCCESS)
        return value;
    value.bytes.resize(size);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, SessionManager, ValueName, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                     value.bytes.data(), &size) != ERROR_SUCCESS)
        return value;
    value.bytes.resize(size);
    value.exists = true;
    return value;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::vector<std::string> PendingRenames()
{
    const StoredValue value = ReadStored();
    std::vector<std::string> entries;
    if (!value.exists) return entries;
    std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
    std::copy(value.bytes.begin(), value.bytes.begin() + static_cast<long>(text.size() * sizeof(wchar_t)),
              reinterpret_cast<unsigned char*>(text.data()));
    // The list's own last zero ends it; an empty string inside it is the
    // destination of a deletion, so the strings are counted by size, not
    // ended at the first empty one.
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\0', start);
        if (end == std::wstring::npos) end = text.size();
        entries.push_back(Narrow(text.substr(start, end - start)));
        start = end + 1;
    }
    return entries;
}

std::string PendingRenamePath(const std::string& entry)
{
    for (const std::string prefix : {"!\\??\\", "\\??\\"}) {
        if (entry.rfind(prefix, 0) == 0) return entry.substr(prefix.size());
    }
    return entry;
}

PendingRenamesRestored::PendingRenamesRestored()
{
    const StoredValue value = ReadStored();
    existed_ = value.exists;
    type_ = value.type;
    bytes_ = value.bytes;
}

PendingRenamesRestored::~PendingRenamesRestored()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    const RegKey owned(key);
    if (existed_)
        RegSetValueExW(key, ValueName, 0, type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
    else
        RegDeleteValueW(key, ValueName);
}

void ClearPendingRenames()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    const RegKey owned(key);
    RegDeleteValueW(key, ValueName);
}

bool RunRestartProcessing()
{
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::wstring command = L"\"" + std::wstring(system, length) + L"\\wineboot.exe\" -r";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    const KernelHandle thread(process.hThread);
    const KernelHandle running(process.hProcess);
    DWORD code = 1;
    return WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code) &&
           code == 0;
}
