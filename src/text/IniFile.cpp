#include "text/IniFile.h"

#include "script/PathParts.h"

#include "script/ProfileText.h"
#include "script/ValueFields.h"
#include "text/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace {

// Where the file is: a name without a folder is a file of the Windows
// folder, as the system's profile functions have always taken it (scripts
// write "MYAPP.INI" and mean the Windows folder's). Empty, which no file
// opens, for a path longer than the system's limit: the system's profile
// functions took none, and some file systems would cut the name short
// instead of refusing it.
std::wstring ProfilePath(const std::string& file)
{
    std::wstring path = WideFromShiftJis(file);
    if (!path.empty() && path.find_first_of(L"\\/:") == std::wstring::npos) {
        wchar_t windows[MAX_PATH] = {};
        const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            std::wstring folder(windows, length);
            if (folder.back() != L'\\') folder += L'\\';
            path = folder + path;
        }
    }
    return path.size() > LongestPath ? std::wstring() : path;
}

// An open file, closed when it goes out of scope.
class OpenFile {
public:
    explicit OpenFile(HANDLE handle) : handle_(handle) {}
    ~OpenFile()
    {
        if (Valid()) CloseHandle(handle_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now; false (with the error) when the system reports a failure,
    // which for a written file may mean its data did not reach the disk.
    bool Close()
    {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

// A temporary file that is deleted unless it was put in place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::wstring path_;
};

unsigned long LastErrorOr(unsigned long fallback)
{
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

// The file's bytes; an empty text for a file that does not exist. Nothing,
// with `error` set, when the file is there but cannot be read: a change must
// then not replace it.
std::optional<std::string> ReadProfileFile(const std::wstring& path, unsigned long& error)
{
    OpenFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return std::string();
        return std::nullopt;
    }
    // A device name ("AUX", "COM1", "CON", in any folder) opens the device,
    // whose read may wait for ever: only a file on a disk is a profile.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = ERROR_INVALID_NAME;
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) {
            error = LastErrorOr(ERROR_READ_FAULT);
            return std::nullopt;
        }
        if (read == 0) return text;
        text.append(buffer, read);
    }
}

// The folder part of a wide path ("." for a bare name), for the temporary file.
std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// Writes `text` to a new file beside `path` and puts that in the place of
// `path` in one step, so that the old file stays whole until the new one is.
unsigned long ReplaceProfileFile(const std::wstring& path, const std::string& text)
{
    // A read-only file is refused, as the system's profile writer refuses it.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ERROR_ACCESS_DENIED;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ERROR_ACCESS_DENIED;

    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempFileNameW(FolderOf(path).c_str(), L"ini", 0, name) == 0) return LastErrorOr(ERROR_WRITE_FAULT);
    TemporaryFile temporary(name);
    {
        OpenFile file(CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return LastErrorOr(ERROR_WRITE_FAULT);
        size_t done = 0;
        while (done < text.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file.Get(), text.data() + done, chunk, &written, nullptr))
                return LastErrorOr(ERROR_WRITE_FAULT);
            if (written == 0) return ERROR_WRITE_FAULT;
            done += written;
        }
        if (!FlushFileBuffers(file.Get())) return LastErrorOr(ERROR_WRITE_FAULT);
        if (!file.Close()) return LastErrorOr(ERROR_WRITE_FAULT);
    }
    // The new file keeps the hidden, system and archive marks of the old one.
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(temporary.Path().c_str(), attributes);
    if (!MoveFileExW(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastErrorOr(ERROR_WRITE_FAULT);
    temporary.Keep();
    return 0;
}

// Reads the file, applies `change` to its text and writes the result back
// when it differs. 0 or the system's error code.
unsigned long ChangeProfileFile(const std::string& file, const std::function<std::string(const std::string&)>& change)
{
    const std::wstring path = ProfilePath(file);
    unsigned long error = 0;
    const std::optional<std::string> text = ReadProfileFile(path, error);
    if (!text) return error != 0 ? error : ERROR_READ_FAULT;
    const std::string changed = change(*text);
    if (changed == *text && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return 0;
    return ReplaceProfileFile(path, changed);
}

}  // namespace

std::string ProfileFileLocation(const std::string& file)
{
    return ShiftJisFromWide(ProfilePath(file)).value_or(std::string());
}

std::string ReadProfileBytes(const std::string& file)
{
    unsigned long error = 0;
    return ReadProfileFile(ProfilePath(file), error).value_or(std::string());
}

ProfileText ReadProfileText(const std::string& file)
{
    return ProfileText::Parse(ReadProfileBytes(file));
}

std::string ReadProfile(const std::string& section, const std::string& key, const std::string& fallback,
                        const std::string& file)
{
    return ReadProfileText(file).Read(section, key, fallback);
}

bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file)
{
    return ChangeProfileFile(file, [&](const std::string& text) {
               return WithProfileValue(text, section, key, value);
           }) == 0;
}

std::vector<std::string> ReadProfileSection(const std::string& section, const std::string& file)
{
    return ReadProfileText(file).SectionLines(section);
}

unsigned long ReplaceProfileSection(const std::string& section, const std::vector<std::string>& lines,
                                  const std::string& file)
{
    // A section without keys reads as no section: no file is made for it.
    if (lines.empty() && GetFileAttributesW(ProfilePath(file).c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    return ChangeProfileFile(file,
                             [&](const std::string& text) { return WithProfileSection(text, section, lines); });
}

unsigned long DeleteProfileSection(const std::string& section, const std::string& file)
{
    const std::wstring path = ProfilePath(file);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    return ChangeProfileFile(file, [&](const std::string& text) { return WithoutProfileSection(text, section); });
}

unsigned long DeleteProfileKey(const std::string& section, const std::string& key, const std::string& file)
{
    const std::wstring path = ProfilePath(file);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    return ChangeProfileFile(file, [&](const std::string& text) { return WithoutProfileKey(text, section, key); });
}

std::string ListEntryField(const std::string& value)
{
    return SplitAtFirst(value, ",").before;
}

bool SameListEntry(const std::string& a, const std::string& b)
{
    const std::wstring wideA = WideFromShiftJis(a);
    const std::wstring wideB = WideFromShiftJis(b);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideA.data(), static_cast<int>(wideA.size()),
                          wideB.data(), static_cast<int>(wideB.size())) == CSTR_EQUAL;
}

int FindNumberedKey(const std::string& value, const std::string& section, const std::string& prefix,
                    const std::string& file)
{
    const ProfileText profile = ReadProfileText(file);
    const std::string wanted = ListEntryField(value);
    for (int n = 1;; ++n) {
        const std::string field = ListEntryField(profile.Read(section, prefix + std::to_string(n), ""));
        if (field.empty() || SameListEntry(field, wanted)) return n;
    }
}
