#include "support/Scratch.h"

#include "text/StrOp.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

ScratchFolder::ScratchFolder(const std::string& purpose)
{
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() != '\\') base += '\\';
    for (;;) {
        path_ = base + "orvtest-" + std::to_string(GetCurrentProcessId()) + "-" + purpose + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path_);
}

void WriteTextFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& folder)
{
    // Not a byte test: a name such as "表" ends in the trail byte 0x5C.
    const std::string base = WithoutTrailingBackslash(folder);
    WIN32_FIND_DATAA data{};
    if (const FindHandle find(FindFirstFileA((base + "\\*").c_str(), &data)); find) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = base + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find.Get(), &data));
    }
    RemoveDirectoryA(base.c_str());
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
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
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
