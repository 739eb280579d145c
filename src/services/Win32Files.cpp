#include "services/Win32Files.h"

#include "script/DeviceNames.h"
#include "script/PathParts.h"
#include "text/Unicode.h"

#include <utility>

FileHandle OpenFileHandle(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    return FileHandle(CreateFileW(WideFromShiftJis(path).c_str(), access, share, nullptr, disposition, flags, nullptr));
}

bool NamesOneEntry(const std::string& path)
{
    // A last byte 0x5C may be the trail byte of a double-byte character:
    // such a name takes the directory search, which is right either way.
    return !path.empty() && path.back() != '\\' && !HasWildcards(path) && !IsDeviceName(FileNamePart(path));
}

DWORD AttributesOf(const std::string& path)
{
    return GetFileAttributesW(WideFromShiftJis(path).c_str());
}

bool SetAttributesOf(const std::string& path, DWORD attributes)
{
    return SetFileAttributesW(WideFromShiftJis(path).c_str(), attributes) != FALSE;
}

bool AttributeDataOf(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return GetFileAttributesExW(WideFromShiftJis(path).c_str(), GetFileExInfoStandard, &data) != FALSE;
}

bool CopyOneFile(const std::string& source, const std::string& destination)
{
    return CopyFileW(WideFromShiftJis(source).c_str(), WideFromShiftJis(destination).c_str(), FALSE) != FALSE;
}

bool MoveOneFile(const std::string& source, const std::string& destination, DWORD flags)
{
    return MoveFileExW(WideFromShiftJis(source).c_str(), WideFromShiftJis(destination).c_str(), flags) != FALSE;
}

bool DeleteOneFile(const std::string& path)
{
    return DeleteFileW(WideFromShiftJis(path).c_str()) != FALSE;
}

bool MakeOneFolder(const std::string& path)
{
    return CreateDirectoryW(WideFromShiftJis(path).c_str(), nullptr) != FALSE;
}

bool RemoveEmptyFolder(const std::string& path)
{
    if (IsLink(path)) {
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return false;
    }
    return RemoveDirectoryW(WideFromShiftJis(path).c_str()) != FALSE;
}

bool IsLink(const std::string& path)
{
    // Asked with a trailing backslash, the system may describe the folder the
    // link leads to instead of the link; a drive root keeps its own.
    std::wstring wide = WideFromShiftJis(path);
    while (wide.size() > 3 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool MakeTemporaryFile(const std::string& folder, std::string& name)
{
    wchar_t made[MAX_PATH] = {};
    if (GetTempFileNameW(WideFromShiftJis(folder).c_str(), L"OVS", 0, made) == 0) return false;
    // The folder came as Shift-JIS and the name the system adds is ASCII, so
    // the path has a Shift-JIS form unless the folder's text was no valid
    // Shift-JIS; then the file goes again rather than be named wrongly.
    std::optional<std::string> narrow = ShiftJisFromWide(made);
    if (!narrow) {
        DeleteFileW(made);
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    name = std::move(*narrow);
    return true;
}

FindHandle FindFirstEntry(const std::string& pattern, WIN32_FIND_DATAW& data)
{
    return FindHandle(FindFirstFileW(WideFromShiftJis(pattern).c_str(), &data));
}

bool FindNextEntry(const FindHandle& find, WIN32_FIND_DATAW& data)
{
    return FindNextFileW(find.Get(), &data) != FALSE;
}

std::optional<std::string> EntryName(const WIN32_FIND_DATAW& data)
{
    return ShiftJisFromWide(data.cFileName);
}
