#include "support/Scratch.h"

#include "script/PathParts.h"
#include "text/Unicode.h"

#include <windows.h>

#include <stdexcept>

// Paths are Shift-JIS and reach the system as UTF-16 converted with code
// page 932 itself, so that a test names the same file on a system of any
// code page.

ScratchFolder::ScratchFolder(const std::string& purpose)
{
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::string base = ShiftJisFromWideForDisplay(temp);
    if (!base.empty() && base.back() != '\\') base += '\\';
    for (;;) {
        path_ = base + "orvtest-" + std::to_string(GetCurrentProcessId()) + "-" + purpose + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryW(WideFromShiftJis(path_).c_str(), nullptr)) break;
    }
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path_);
}

void WriteTextFile(const std::string& path, const std::string& bytes)
{
    const FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file && !bytes.empty()) WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadTextFile(const std::string& path)
{
    const FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!file) return text;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesW(WideFromShiftJis(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// In UTF-16 throughout: a name without a Shift-JIS form is removed too.
void RemoveWideTree(const std::wstring& base)
{
    WIN32_FIND_DATAW data{};
    if (const FindHandle find(FindFirstFileW((base + L"\\*").c_str(), &data)); find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            // A link stays, with what it leads to (Wine would delete the
            // target in its place): the test that made it removes it.
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            const std::wstring path = base + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveWideTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find.Get(), &data));
    }
    RemoveDirectoryW(base.c_str());
}

}  // namespace

void RemoveTree(const std::string& folder)
{
    // Not a byte test: a name such as "表" ends in the trail byte 0x5C.
    RemoveWideTree(WideFromShiftJis(WithoutTrailingBackslash(folder)));
}

std::vector<std::string> NonBlankLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

HeldOpen::HeldOpen(const std::string& path, unsigned long share)
    : handle_(CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                          nullptr))
{
    if (!handle_.Valid()) throw std::runtime_error("cannot hold open: " + path);
}

std::string MissingDrive()
{
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter)
        if ((drives & (1u << (letter - 'A'))) == 0) return std::string(1, letter) + ":";
    return {};
}
