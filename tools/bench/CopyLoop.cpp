// The floor of the unattended-install benchmark: a bare loop of CopyFileW
// over the files of a source folder that match a pattern, into a
// destination folder, with nothing else around it (no journal, no record,
// no checks).
//
//     copy_loop.exe <source folder> <pattern> <destination folder>
//
// Exit 0 when every file was copied, 1 otherwise.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// The directory search, closed however the loop ends.
struct Search {
    HANDLE handle;
    ~Search()
    {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) return 2;
    const std::wstring source = argv[1];
    const std::wstring pattern = argv[2];
    const std::wstring destination = argv[3];
    CreateDirectoryW(destination.c_str(), nullptr);
    WIN32_FIND_DATAW data{};
    const Search find{FindFirstFileW((source + L"\\" + pattern).c_str(), &data)};
    if (find.handle == INVALID_HANDLE_VALUE) return 1;
    bool whole = true;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::wstring from = source + L"\\" + data.cFileName;
        const std::wstring to = destination + L"\\" + data.cFileName;
        if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) whole = false;
    } while (FindNextFileW(find.handle, &data));
    return whole ? 0 : 1;
}
