#include "services/Journal.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/ChangeTimes.h"
#include "services/Clock.h"
#include "services/JournalFormat.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <utility>

namespace {

// A value no INI entry can hold: a control character the script's lines
// cannot carry, so reading it back means the entry is missing.
constexpr const char* MissingEntry = "\x01missing\x01";
// How long a journal held open by another program (a virus scanner, a
// backup agent) is waited for before it is left: a few seconds.
constexpr int RemovalTries = 30;
constexpr unsigned long RemovalPause = 100;

// The path as the system completes it from the current folder, which is
// where the change it names happens: the journal names every path in full,
// so that the undo finds the same file whatever its own current folder.
// The path as given when the system cannot complete it.
std::string FullPath(const std::string& path)
{
    if (path.empty()) return path;
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(WideFromShiftJis(path).c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return path;
    return ShiftJisFromWide(std::wstring(full, length)).value_or(path);
}

// A folder as MadeFolder compares it: in full, with one trailing backslash,
// ASCII letters upper-cased (a trail byte never changes).
std::string FolderKey(const std::string& path)
{
    return AsciiUpper(WithTrailingBackslash(FullPath(path)));
}

uint64_t ProcessStartTime(HANDLE process)
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return FileTimeValue(created);
}

}  // namespace

std::optional<Journal> Journal::Start(const std::string& path)
{
    // CREATE_NEW: a file there is an earlier run's journal that its start-up
    // could not take away; it is never written over.
    FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    JournalSeal seal;
    const std::string run = JournalLineText("run", {std::to_string(GetCurrentProcessId()),
                                             std::to_string(ProcessStartTime(GetCurrentProcess())),
                                             std::to_string(TimeNow())});
    if (!WriteJournalLine(file.Get(), seal, JournalSignature) || !WriteJournalLine(file.Get(), seal, run)) {
        file.Reset();
        DeleteFileW(WideFromShiftJis(path).c_str());
        return std::nullopt;
    }
    return Journal(path, std::move(file), std::move(seal));
}

Journal::Journal(std::string path, FileHandle file, JournalSeal seal)
    : path_(std::move(path)), file_(std::move(file)), seal_(std::move(seal))
{
}

Journal::Journal(Journal&&) noexcept = default;
Journal& Journal::operator=(Journal&&) noexcept = default;
Journal::~Journal() = default;

void Journal::Append(const JournalEntry& entry, LineDurability durability)
{
    if (!file_) return;
    // In the file before the change is made: a run killed right after the
    // change still leaves the line that undoes it.
    WriteJournalLine(file_.Get(), seal_, JournalEntryText(entry), durability);
    ++changes_;
}

// Something new (a folder, a file, a key, a value or entry that was not
// there): the line may wait in the system's cache, since a power cut that
// loses it leaves the new thing behind but destroys nothing. A line that
// keeps an earlier file, value or entry goes to the disk itself, and with
// it every line before it, before the change it guards is made.
namespace {

LineDurability DurabilityOfState(bool existed)
{
    return existed ? LineDurability::OnDisk : LineDurability::Cached;
}

}  // namespace

void Journal::FolderCreated(const std::string& path)
{
    Append(FolderLine{FullPath(path)}, LineDurability::Cached);
}

void Journal::FolderMade(const std::string& path)
{
    madeFolders_.insert(FolderKey(path));
}

bool Journal::MadeFolder(const std::string& path) const
{
    return madeFolders_.count(FolderKey(path)) != 0;
}

void Journal::FileCreated(const std::string& path)
{
    Append(FileLine{FullPath(path)}, LineDurability::Cached);
}

void Journal::MovedAside(const std::string& path, const std::string& aside)
{
    asides_.push_back(aside);
    Append(EarlierFileLine{FullPath(path), FullPath(aside), false}, LineDurability::OnDisk);
}

void Journal::CopiedAside(const std::string& path, const std::string& copy)
{
    asides_.push_back(copy);
    Append(EarlierFileLine{FullPath(path), FullPath(copy), true}, LineDurability::OnDisk);
}

void Journal::KeyCreated(HKEY root, const std::string& path)
{
    Append(KeyLine{root, path}, LineDurability::Cached);
}

void Journal::ValueBefore(HKEY root, const std::string& path, const std::string& name)
{
    ValueLine line{root, path, name, ValueState(root, path, name)};
    const LineDurability durability = DurabilityOfState(line.before.has_value());
    Append(line, durability);
}

void Journal::IniEntryBefore(const std::string& file, const std::string& section, const std::string& key)
{
    IniLine line{FullPath(file), section, key, IniEntryState(file, section, key)};
    const LineDurability durability = DurabilityOfState(line.before.has_value());
    Append(line, durability);
}

void Journal::ComponentRegistered(const std::string& path, bool replacedEarlier)
{
    // Registering over an earlier component's registration changes what it
    // wrote; a new one only adds.
    Append(RegisteredLine{FullPath(path), replacedEarlier}, replacedEarlier ? LineDurability::OnDisk : LineDurability::Cached);
}

void Journal::Close()
{
    file_.Reset();
}

bool Journal::End()
{
    // Said before anything goes: a journal that cannot be deleted then still
    // tells every later run that there is nothing to undo.
    if (file_) WriteJournalLine(file_.Get(), seal_, JournalEndLine);
    Close();
    for (const std::string& aside : asides_) DeleteFileW(WideFromShiftJis(aside).c_str());
    asides_.clear();
    return path_.empty() || RemoveJournalFile(path_);
}

bool RemoveJournalFile(const std::string& path)
{
    const std::wstring wide = WideFromShiftJis(path);
    for (int attempt = 1;; ++attempt) {
        // A read-only journal is still this program's to remove.
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(wide.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return true;
        if (attempt == RemovalTries) return false;
        Wait(RemovalPause);
    }
}

std::string KeepJournalAside(const std::string& path)
{
    std::string base = ChangeExtension(path, "");
    base.pop_back();  // the dot
    for (int n = 1; n < 1000; ++n) {
        const std::string kept = base + "-" + std::to_string(n) + ".JNL";
        if (MoveFileExW(WideFromShiftJis(path).c_str(), WideFromShiftJis(kept).c_str(), 0)) return kept;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return {};
    }
    return {};
}

std::optional<KeptValue> ValueState(HKEY root, const std::string& path, const std::string& name)
{
    const RegKey key = OpenRegKey(root, path, KEY_READ);
    const std::wstring wideName = WideFromShiftJis(name);
    DWORD type = 0;
    DWORD size = 0;
    if (!key || RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) size = 0;
    data.resize(size);
    return KeptValue{type, std::move(data)};
}

std::optional<std::string> IniEntryState(const std::string& file, const std::string& section, const std::string& key)
{
    std::string value = ReadProfile(section, key, MissingEntry, file);
    if (value == MissingEntry) return std::nullopt;
    return value;
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
