#include "services/Journal.h"

#include "script/PathParts.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr const char* Signature = "OrvaneJournal 1";
// A value no INI entry can hold: a control character the script's lines
// cannot carry, so reading it back means the entry is missing.
constexpr const char* MissingEntry = "\x01missing\x01";

Journal* active = nullptr;

std::string Escaped(const std::string& field)
{
    std::string out;
    for (const char c : field) {
        switch (c) {
        case '\t': out += "%09"; break;
        case '\r': out += "%0D"; break;
        case '\n': out += "%0A"; break;
        case '%': out += "%25"; break;
        default: out += c;
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescaped(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const int high = field[i] == '%' && i + 1 < field.size() ? HexDigit(field[i + 1]) : -1;
        const int low = high >= 0 && i + 2 < field.size() ? HexDigit(field[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string Hex(const std::vector<BYTE>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const BYTE b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(Unescaped(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

uint64_t ProcessStartTime(HANDLE process)
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool WriteAll(HANDLE file, const std::string& text)
{
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[16384];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

}  // namespace

std::optional<Journal> Journal::Start(const std::string& path)
{
    HANDLE file = CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::string header = std::string(Signature) + "\r\nrun\t" + std::to_string(GetCurrentProcessId()) + "\t" +
                               std::to_string(ProcessStartTime(GetCurrentProcess())) + "\r\n";
    if (!WriteAll(file, header) || !FlushFileBuffers(file)) {
        CloseHandle(file);
        DeleteFileW(WideFromShiftJis(path).c_str());
        return std::nullopt;
    }
    return Journal(path, file);
}

Journal::Journal(std::string path, HANDLE file) : path_(std::move(path)), file_(file) {}

Journal::Journal(Journal&& other) noexcept
    : path_(std::move(other.path_)), file_(std::exchange(other.file_, INVALID_HANDLE_VALUE)),
      changes_(other.changes_), asides_(std::move(other.asides_))
{
}

Journal& Journal::operator=(Journal&& other) noexcept
{
    if (this != &other) {
        Close();
        path_ = std::move(other.path_);
        file_ = std::exchange(other.file_, INVALID_HANDLE_VALUE);
        changes_ = other.changes_;
        asides_ = std::move(other.asides_);
    }
    return *this;
}

Journal::~Journal()
{
    Close();
}

void Journal::Append(const std::string& kind, const std::vector<std::string>& fields)
{
    if (file_ == INVALID_HANDLE_VALUE) return;
    std::string line = kind;
    for (const std::string& field : fields) {
        line += '\t';
        line += Escaped(field);
    }
    line += "\r\n";
    // On disk before the change is made: a run killed right after the
    // change still leaves the line that undoes it.
    WriteAll(file_, line);
    FlushFileBuffers(file_);
    ++changes_;
}

void Journal::FolderCreated(const std::string& path)
{
    Append("folder", {path});
}

void Journal::FileCreated(const std::string& path)
{
    Append("file", {path});
}

void Journal::MovedAside(const std::string& path, const std::string& aside)
{
    asides_.push_back(aside);
    Append("aside", {path, aside});
}

void Journal::CopiedAside(const std::string& path, const std::string& copy)
{
    asides_.push_back(copy);
    Append("copy", {path, copy});
}

void Journal::KeyCreated(HKEY root, const std::string& path)
{
    Append("key", {RootName(root), path});
}

void Journal::ValueBefore(HKEY root, const std::string& path, const std::string& name)
{
    const RegKey key = OpenRegKey(root, path, KEY_READ);
    const std::wstring wideName = WideFromShiftJis(name);
    DWORD type = 0;
    DWORD size = 0;
    if (!key || RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        Append("value", {RootName(root), path, name, "-"});
        return;
    }
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) size = 0;
    data.resize(size);
    Append("value", {RootName(root), path, name, std::to_string(type), Hex(data)});
}

void Journal::IniEntryBefore(const std::string& file, const std::string& section, const std::string& key)
{
    const std::string value = ReadProfile(section, key, MissingEntry, file);
    Append("ini", {file, section, key, value == MissingEntry ? "-" : "=" + value});
}

void Journal::ComponentRegistered(const std::string& path, bool replacedEarlier)
{
    Append("registered", {path, replacedEarlier ? "1" : "0"});
}

void Journal::Close()
{
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

void Journal::Discard()
{
    Close();
    for (const std::string& aside : asides_) DeleteFileW(WideFromShiftJis(aside).c_str());
    asides_.clear();
    if (!path_.empty()) DeleteFileW(WideFromShiftJis(path_).c_str());
}

Journal* ActiveJournal()
{
    return active;
}

ActiveJournalScope::ActiveJournalScope(Journal* journal) : previous_(active)
{
    active = journal;
}

ActiveJournalScope::~ActiveJournalScope()
{
    active = previous_;
}

void JournalFileBeforeWriting(const std::string& path)
{
    Journal* journal = ActiveJournal();
    if (journal == nullptr) return;
    const std::wstring widePath = WideFromShiftJis(path);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        journal->FileCreated(path);
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    const std::string copy = AsideName(path);
    if (!copy.empty() && CopyFileW(widePath.c_str(), WideFromShiftJis(copy).c_str(), FALSE))
        journal->CopiedAside(path, copy);
    else if (!copy.empty())
        DeleteFileW(WideFromShiftJis(copy).c_str());
}

void JournalIniEntry(const std::string& file, const std::string& section, const std::string& key)
{
    Journal* journal = ActiveJournal();
    if (journal == nullptr) return;
    // The file as the profile functions find it (a name without a folder is
    // the Windows folder's): one they will make is removed by the undo.
    const std::string location = ProfileFileLocation(file);
    if (location.empty()) return;  // they write nothing there
    if (GetFileAttributesW(WideFromShiftJis(location).c_str()) == INVALID_FILE_ATTRIBUTES)
        journal->FileCreated(location);
    else
        journal->IniEntryBefore(file, section, key);
}

std::string AsideName(const std::string& path)
{
    wchar_t name[MAX_PATH] = {};
    if (GetTempFileNameW(WideFromShiftJis(FolderPart(path)).c_str(), L"OVJ", 0, name) == 0) return {};
    return ShiftJisFromWide(name).value_or(std::string());
}

std::optional<JournalContents> ReadJournal(const std::string& path)
{
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text || text->rfind(Signature, 0) != 0) return std::nullopt;
    JournalContents contents;
    size_t start = 0;
    for (;;) {
        const size_t end = text->find("\r\n", start);
        // A line without its end was being written when the run died: the
        // change it names was not made yet.
        if (end == std::string::npos) break;
        std::vector<std::string> fields = SplitFields(text->substr(start, end - start));
        start = end + 2;
        const std::string kind = fields.front();
        fields.erase(fields.begin());
        if (kind == "run" && fields.size() == 2) {
            contents.run.processId = std::strtoul(fields[0].c_str(), nullptr, 10);
            contents.run.startTime = std::strtoull(fields[1].c_str(), nullptr, 10);
        } else if (kind != Signature) {
            contents.entries.push_back({kind, std::move(fields)});
        }
    }
    return contents;
}

bool JournalRunAlive(const JournalRun& run)
{
    if (run.processId == 0 || run.processId == GetCurrentProcessId()) return false;
    KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, run.processId));
    if (!process) return false;
    if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) return false;
    // A process id is reused; the start time tells the run from a newcomer.
    return ProcessStartTime(process.Get()) == run.startTime;
}

std::string RootName(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT) return "HKCR";
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    if (root == HKEY_USERS) return "HKU";
    return "HKCU";
}

std::optional<HKEY> RootNamed(const std::string& name)
{
    if (name == "HKCR") return HKEY_CLASSES_ROOT;
    if (name == "HKLM") return HKEY_LOCAL_MACHINE;
    if (name == "HKU") return HKEY_USERS;
    if (name == "HKCU") return HKEY_CURRENT_USER;
    return std::nullopt;
}
