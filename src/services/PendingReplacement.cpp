#include "services/PendingReplacement.h"

#include "script/PathParts.h"
#include "services/Deletion.h"
#include "services/FileOps.h"
#include "services/SystemLibraries.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>
#include <restartmanager.h>

#include <vector>

namespace {

// One Restart Manager session. The library is loaded when asked for, not
// linked: a system without it (or with a part of it missing) only cannot
// name the program, and SETUP.EXE keeps to the DLLs every Windows has.
class RestartManagerSession {
public:
    RestartManagerSession() : module_(LoadSystemLibrary(L"rstrtmgr.dll"))
    {
        if (!module_) return;
        start_ = Function<decltype(&RmStartSession)>("RmStartSession");
        register_ = Function<decltype(&RmRegisterResources)>("RmRegisterResources");
        list_ = Function<decltype(&RmGetList)>("RmGetList");
        end_ = Function<decltype(&RmEndSession)>("RmEndSession");
        if (start_ == nullptr || register_ == nullptr || list_ == nullptr || end_ == nullptr) return;
        WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
        open_ = start_(&session_, 0, key) == ERROR_SUCCESS;
    }
    ~RestartManagerSession()
    {
        if (open_) end_(session_);
    }
    RestartManagerSession(const RestartManagerSession&) = delete;
    RestartManagerSession& operator=(const RestartManagerSession&) = delete;

    // The processes holding `path`; empty when the system does not say.
    std::vector<RM_PROCESS_INFO> Holders(const std::string& path) const
    {
        if (!open_) return {};
        const std::wstring wide = WideFromShiftJis(path);
        LPCWSTR files[] = {wide.c_str()};
        if (register_(session_, 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS) return {};
        std::vector<RM_PROCESS_INFO> processes;
        UINT needed = 0;
        DWORD reasons = 0;
        // The list may grow between the two calls: ask again while it does.
        for (int attempt = 0; attempt < 3; ++attempt) {
            UINT count = static_cast<UINT>(processes.size());
            const DWORD result = list_(session_, &needed, &count, processes.empty() ? nullptr : processes.data(), &reasons);
            if (result == ERROR_SUCCESS) {
                processes.resize(count);
                return processes;
            }
            if (result != ERROR_MORE_DATA) return {};
            processes.resize(needed);
        }
        return {};
    }

private:
    template <typename Pointer>
    Pointer Function(const char* name) const
    {
        return reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)));
    }

    ModuleHandle module_;
    decltype(&RmStartSession) start_ = nullptr;
    decltype(&RmRegisterResources) register_ = nullptr;
    decltype(&RmGetList) list_ = nullptr;
    decltype(&RmEndSession) end_ = nullptr;
    DWORD session_ = 0;
    bool open_ = false;
};

}  // namespace

bool IsInUseError(unsigned long error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_USER_MAPPED_FILE;
}

ReplacementAtRestart ReplaceAtRestart(const std::string& source, const std::string& destination,
                                      ChangeJournal& journal, const WaitingChanges& waiting)
{
    std::string temporary;
    if (!MakeTemporaryFile(FolderPart(destination), temporary)) return {GetLastError(), ""};
    // Undoing the install removes the waiting file: the replacement then
    // finds nothing to move and the earlier file stays.
    journal.FileCreated(temporary);
    DWORD error = CopyOneFile(source, temporary) ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_SUCCESS) error = waiting.Move(temporary, destination);
    if (error == ERROR_SUCCESS) return {0, temporary};
    DeleteOneFile(temporary);
    return {error, ""};
}

CopyOutcome CopyOrReplaceAtRestart(const std::string& source, const std::string& destination,
                                   ChangeJournal& journal, const WaitingChanges& waiting)
{
    return CopyOrReplaceAtRestart(source, destination, FileExists(destination), journal, waiting);
}

CopyOutcome CopyOrReplaceAtRestart(const std::string& source, const std::string& destination, bool existed,
                                   ChangeJournal& journal, const WaitingChanges& waiting, SourceFlags flags)
{
    const unsigned long error = CopyFileTo(source, destination, existed, journal, flags);
    if (error == 0 || !IsInUseError(error) || !FileExists(destination)) return {error, "", 0};
    const ReplacementAtRestart replacement = ReplaceAtRestart(source, destination, journal, waiting);
    if (replacement.error != 0) return {error, "", replacement.error};
    return {0, replacement.temporary, 0};
}

std::string ReplacedAtRestartLine(const std::string& destination, const std::string& temporary,
                                  const WaitingChanges& waiting)
{
    return std::string("In use, replaced at ") + waiting.Until() + ": " + destination + " (held by " +
           ProgramsHolding(destination) + "; the new file waits as " + temporary + ")";
}

std::optional<std::vector<std::string>> DeleteHeldFilesAtRestart(const std::string& path, const WaitingChanges& waiting)
{
    if (!HasWildcards(path)) {
        if (!FileExists(path) || waiting.Delete(path) != 0) return std::nullopt;
        return std::vector<std::string>{path};
    }
    // A pattern's deletion stops at the first file it cannot delete: the
    // others may well go now.
    std::vector<std::string> scheduled;
    for (const std::string& file : FilesMatching(path)) {
        const unsigned long error = DeleteFiles(file);
        if (error == 0) continue;
        if (!IsInUseError(error) || waiting.Delete(file) != 0) return std::nullopt;
        scheduled.push_back(file);
    }
    return scheduled;
}

std::string ProgramsHolding(const std::string& path)
{
    const RestartManagerSession session;
    std::string names;
    for (const RM_PROCESS_INFO& process : session.Holders(path)) {
        if (!names.empty()) names += ", ";
        names += ShiftJisFromWideForDisplay(process.strAppName) + " (pid " + std::to_string(process.Process.dwProcessId) + ")";
    }
    // The file is known to be held: no name means that the system cannot
    // tell by whom, not that nobody holds it.
    return names.empty() ? "unknown" : names;
}
