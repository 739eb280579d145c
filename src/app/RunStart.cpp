#include "app/RunStart.h"

#include "app/WorkFolders.h"
#include "engine/Rollback.h"
#include "record/SetupFolderList.h"
#include "script/IntegerText.h"
#include "script/LocationTokens.h"
#include "script/PathParts.h"
#include "script/ScriptAcceptance.h"
#include "script/ShortCutSection.h"
#include "script/TextParts.h"
#include "script/ValueFields.h"
#include "services/Deletion.h"
#include "services/FileOps.h"
#include "services/RegistryKeys.h"
#include "services/SharedComponents.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The first folder "OVTMP<n>" under the temporary folder that does not exist
// yet, created; the one numbered 99, as it is, when all exist.
std::string ChooseWorkFolder(const std::string& tempFolder)
{
    for (int n = 1; n <= WorkFolderLimit; ++n) {
        const std::string candidate = WorkFolderPath(tempFolder, n);
        if (!FolderExists(candidate)) {
            NoJournal unjournaled;  // the run's own work folder: no install's change
            CreateFolderPath(candidate, unjournaled);
            return candidate;
        }
    }
    return WorkFolderPath(tempFolder, WorkFolderLimit);
}

// The string value that [DefaultFolder] ReferRegistry names,
// <root token><key path>[,<value name>], with the root token read as in the
// script's [Registry] keys; empty when its key or the value is missing.
std::string ReadRegistryValue(const std::string& text)
{
    const SplitText parts = SplitAtFirst(text, ",");
    const RegistryKeyName name = ParseRegistryKey(parts.before);
    const RegKey key = OpenRegKey(name.root, name.subKey);
    return key ? ReadRegString(key.Get(), parts.after) : std::string();
}

constexpr const char* UnreadableScript = "【致命的エラー  →  iniファイル読み込み失敗】\r";

// What the fatal screen says of a script that is not the text this program
// reads, beside the design's line for a script that cannot be read.
std::string ScriptFaultText(ScriptFault fault)
{
    switch (fault) {
    case ScriptFault::None: break;
    case ScriptFault::Utf16: return "SETUP.INIがUTF-16で保存されています．シフトJISで保存してください．";
    case ScriptFault::Utf8Mark: return "SETUP.INIがUTF-8（BOM付き）で保存されています．シフトJISで保存してください．";
    case ScriptFault::NulByte: return "SETUP.INIにNUL文字（00）が含まれています．";
    case ScriptFault::NoLineFeeds: return "SETUP.INIの改行がCRだけです．CR LFで保存してください．";
    case ScriptFault::NoSetupSections: return "SETUP.INIに[Title]も[CopyFile]もありません．";
    }
    return {};
}

// The working copy of the script, read and parsed once: the run works on
// what was read. The fatal lines for a script this program cannot read as
// its author meant it; empty for one it can. The log says why in plain
// words.
std::string TakeScript(RunState& state)
{
    AcceptedScript accepted = AcceptScript(ReadProfileBytes(state.scriptPath));
    if (accepted.fault == ScriptFault::None) {
        state.script = std::move(accepted.script);
        return {};
    }
    state.log.Line("Error: the setup script " + state.sourceFolder + "SETUP.INI cannot be read: " +
                   ScriptFaultReason(accepted.fault));
    return UnreadableScript + ScriptFaultText(accepted.fault) + "\r";
}

// A user install refuses, before anything is made, a script that needs the
// machine; else it carries out the script's registry entries under
// HKEY_CURRENT_USER. The fatal lines, or nothing.
std::string TakeUserScope(RunState& state)
{
    const std::optional<std::string> refused = UserScopeRefusal(state.script);
    if (!refused) {
        MoveRegistryKeysToUser(state.script);
        return {};
    }
    state.log.Line("Error: an install for the current user cannot carry out " + *refused +
                   " (the Windows or system folder, a shared DLL, or the machine's registry outside Software)");
    return "【致命的エラー  →  現在のユーザー用のセットアップでは使えない項目】\r" + *refused + "\r";
}

}  // namespace

namespace {

// Undoes what a killed install recorded in the journal at `path`; a user
// install's components are unregistered from the user's classes.
void SettleJournalAt(RunState& state, const std::string& path, InstallScope scope)
{
    if (!FileExists(path)) return;
    state.log.Line("A journal of an earlier install was found: " + path);
    std::optional<UserClassesOverride> userClasses;
    if (scope == InstallScope::User) userClasses.emplace();
    const JournalSettlement settled = SettleJournal(path, ProtectedFolders::OfRun(state), state.log);
    if (settled.verdict == JournalVerdict::SetAside) state.journalKeptAside = settled.keptAs;
    if (settled.verdict != JournalVerdict::Undone) return;
    state.undidInterruptedRun = true;
    state.log.Line("The interrupted install was undone");
}

}  // namespace

void SettleEarlierJournal(RunState& state)
{
    const std::string& ownFolder = OwnFilesFolder(state);
    state.journalPath = ownFolder.empty() ? std::string() : ownFolder + JournalFileName;
    state.undidInterruptedRun = false;
    // A run for all users started by the same person settles that person's
    // own journal too: a killed install for the current user is undone by
    // whichever run of the person comes next.
    if (state.scope == InstallScope::Machine && !state.userOwnFolder.empty())
        SettleJournalAt(state, state.userOwnFolder + JournalFileName, InstallScope::User);
    if (!state.journalPath.empty()) SettleJournalAt(state, state.journalPath, state.scope);
}

std::optional<unsigned long> LiveJournalRun(const std::string& ownFolder)
{
    if (ownFolder.empty()) return std::nullopt;
    const std::optional<JournalContents> journal = ReadJournal(ownFolder + JournalFileName);
    if (!journal || !JournalRunAlive(journal->run)) return std::nullopt;
    return journal->run.processId;
}

std::string PrepareRun(RunState& state, const std::string& record, std::string folderErrors)
{
    // Before anything of this run: what a killed install left half done is
    // undone first. The single-copy rule and the process entry keep a live
    // run's journal from being here.
    SettleEarlierJournal(state);
    state.runMode = FileNamePart(record) == "UNSETUP.INI" ? "UNSETUP" : "SETUP";
    state.script = SetupScript{};
    // Neither the temporary folder nor the program's own folder is known: no
    // work folder is made (a relative one would land wherever the current
    // folder is), and the run cannot go on.
    if (state.tempFolder.empty()) return folderErrors + UnreadableScript;
    state.workFolder = ChooseWorkFolder(state.tempFolder);
    // A work folder used as it was (all 99 taken) may hold the copy of
    // another run's script or record; it must never stand in for this run's.
    state.scriptPath = state.workFolder + (SetupMode(state) ? "SETUP.INI" : "UNSETUP.INI");
    // The run's own copy, made before any install begins its journal.
    NoJournal unjournaled;
    if (FileExists(state.scriptPath)) {
        const std::wstring script = WideFromShiftJis(state.scriptPath);
        SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(script.c_str());
    }
    if (SetupMode(state)) {
        const std::string script = state.sourceFolder + "SETUP.INI";
        if (FileExists(script)) CopyFileTo(script, state.scriptPath, unjournaled);
    } else {
        CopyFileTo(record, state.scriptPath, unjournaled);
    }
    if (!FileExists(state.scriptPath))
        folderErrors += UnreadableScript;
    else if (SetupMode(state))
        folderErrors += TakeScript(state);
    if (SetupMode(state) && state.scope == InstallScope::User && folderErrors.empty())
        folderErrors += TakeUserScope(state);
    return folderErrors;
}

void ReadRunHeader(RunState& state)
{
    // An uninstall record holds [Title] with the script's meaning.
    const ScriptHeader header = SetupMode(state) ? state.script.header : ReadScriptHeader(ReadProfileText(state.scriptPath));
    state.topMessageText.clear();
    state.setupSpeed = header.setupSpeed;
    state.setupTitle = header.setupTitle;
    state.unSetupTitle = header.unSetupTitle;
}

std::string ProposedSetupFolder(RunState& state)
{
    if (!SetupMode(state)) return ReadProfile("SetupFolder", "Folder", "", state.scriptPath);
    const ScriptHeader& header = state.script.header;
    state.programId = header.programId;
    std::string folder = RememberedSetupFolder(OwnFilesFolder(state), state.programId, header.defaultFolder);
    if (!header.referRegistry.empty()) {
        const std::string registered = ReadRegistryValue(header.referRegistry);
        if (!registered.empty()) folder = registered;
    }
    return folder;
}

InstalledComparison LookForInstalledProduct(RunState& state)
{
    return SetupMode(state) ? CompareWithInstalled(state, UninstallEntryRoot(state.scope)) : InstalledComparison{};
}

std::string StartingSetupFolder(RunState& state, const std::optional<std::string>& requested,
                                const std::string& installed)
{
    // Read first, /DIR= or not: it also takes the program ID.
    const std::string proposed = ProposedSetupFolder(state);
    if (requested && SetupMode(state)) return WithTrailingBackslash(ExpandTokens(*requested, LocationsOf(state)));
    // An upgrade, a repair or an allowed downgrade goes where the product is.
    if (!installed.empty() && SetupMode(state)) return WithTrailingBackslash(ExpandTokens(installed, LocationsOf(state)));
    const std::string folder = WithTrailingBackslash(ExpandTokens(proposed, LocationsOf(state)));
    // A user install's default under Program Files goes to the same place
    // under the user's programs folder.
    if (SetupMode(state) && state.scope == InstallScope::User)
        return UserSetupFolder(folder, state.machineProgramFilesFolder, state.programFilesFolder);
    return folder;
}

UninstallOffer ReadUninstallOffer(const RunSettings& run)
{
    const std::string options = ReadProfile("UnSetupOption", "CheckBox", "0,0,0,0", run.scriptPath);
    UninstallOffer offer;
    offer.deleteAllForm = options == "DeleteAll";
    if (offer.deleteAllForm) return offer;
    for (int n = 0; n < 4; ++n) {
        const int position = 2 * n + 1;
        offer.flags[n] = MidStr(LeftStr(options, position), position) == "1";
    }
    return offer;
}

namespace {

// The number n of a work folder's name "OVTMP<n>" (1 to 99, in decimal
// without leading zeros, any case); 0 for any other name.
int WorkFolderNumber(const std::wstring& name)
{
    constexpr std::wstring_view prefix = L"OVTMP";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 2) return 0;
    for (size_t at = 0; at < prefix.size(); ++at)
        if (std::towupper(name[at]) != prefix[at]) return 0;
    if (name[prefix.size()] == L'0') return 0;
    int number = 0;
    for (size_t at = prefix.size(); at < name.size(); ++at) {
        if (name[at] < L'0' || name[at] > L'9') return 0;
        number = number * 10 + (name[at] - L'0');
    }
    return number <= WorkFolderLimit ? number : 0;
}

// The numbers of the work folders that stand under the temporary folder, in
// ascending order. One listing of the folder: a look-up of each of the 99
// names would search the whole folder for every name that is not there.
std::vector<int> ExistingWorkFolders(const std::string& tempFolder)
{
    std::vector<int> numbers;
    WIN32_FIND_DATAW entry{};
    const FindHandle find = FindFirstEntry(tempFolder + "OVTMP*", entry);
    if (!find) return numbers;
    do {
        const int number = WorkFolderNumber(entry.cFileName);
        if (number != 0 && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) numbers.push_back(number);
    } while (FindNextEntry(find, entry));
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

}  // namespace

void CloseRun(const MachineFolders& machine)
{
    // Without a temporary folder no work folder was made.
    if (!machine.tempFolder.empty()) {
        for (int n : ExistingWorkFolders(machine.tempFolder))
            RemoveFolder(WorkFolderPath(machine.tempFolder, n), "*.*");
    }
    // The notifications report no errors.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_IDLIST, nullptr, nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, nullptr, nullptr);
}
