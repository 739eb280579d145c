#include "FolderAccess.h"

#include "services/UniqueResource.h"
#include "services/Win32Files.h"

#include <sddl.h>

#include <vector>

namespace {

// Memory the security functions hand out with LocalAlloc.
struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Empty() { return nullptr; }
    static void Release(Type memory) { LocalFree(memory); }
};
using LocalMemory = UniqueResource<LocalMemoryTraits>;

bool RunsElevated(HANDLE token)
{
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

std::wstring UserSidOf(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    const LocalMemory owned(text);
    return text;
}

}  // namespace

std::wstring UnpackFolderAccess(const std::wstring& userSid)
{
    std::wstring access = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    if (!userSid.empty()) access += L"(A;OICI;FA;;;" + userSid + L")";
    return access;
}

std::wstring UserAllowedIn()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return {};
    const KernelHandle token(opened);
    return RunsElevated(token.Get()) ? std::wstring() : UserSidOf(token.Get());
}

bool MakeFolderWithAccess(const std::wstring& folder, const std::wstring& access)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(access.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const LocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    return CreateDirectoryW(folder.c_str(), &attributes) != FALSE;
}
