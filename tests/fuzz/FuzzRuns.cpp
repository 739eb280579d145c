#include "FuzzRuns.h"

#include "FuzzGuard.h"
#include "app/CommandLine.h"
#include "app/LogOpening.h"
#include "app/RunStart.h"
#include "app/UnattendedRun.h"
#include "engine/ProtectedFolders.h"
#include "install/InstallCompletion.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "script/CopyFileSection.h"
#include "script/IniFileSection.h"
#include "script/PathParts.h"
#include "script/ScriptAcceptance.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "services/Expansion.h"
#include "services/Journal.h"
#include "support/Fixtures.h"
#include "support/RecordingCallback.h"
#include "support/Scratch.h"
#include "text/NumberedList.h"
#include "text/Unicode.h"
#include "uninstall/DecideFileDeletion.h"
#include "uninstall/RunUninstall.h"

#include <windows.h>

#include <cctype>
#include <optional>

namespace {

// The folders of the machine, every one in the sandbox.
void SandboxFolders(MachineFolders& machine, const Sandbox& sandbox)
{
    machine.platformId = 2;
    machine.sourceFolder = sandbox.Folder("dist");
    machine.tempFolder = sandbox.Folder("temp");
    machine.windowsFolder = sandbox.Folder("win");
    machine.systemFolder = sandbox.Folder("sys");
    machine.programFilesFolder = sandbox.Folder("prg");
    machine.bootRoot = sandbox.Folder("boot");
    machine.sourceRoot = sandbox.Folder("dist");
    const std::string shell = sandbox.Folder("shell");
    machine.startMenuFolder = machine.commonStartMenuFolder = shell + "Start Menu\\";
    machine.programsFolder = machine.commonProgramsFolder = shell + "Start Menu\\Programs\\";
    machine.startupFolder = machine.commonStartupFolder = shell + "Start Menu\\Programs\\Startup\\";
    machine.desktopFolder = machine.commonDesktopFolder = shell + "Desktop\\";
    machine.sendToFolder = shell + "SendTo\\";
}

// The setup folder the person takes: the one offered when it lies in the
// sandbox, else the sandbox's own (as a person corrects an odd folder).
std::string PersonsFolder(RunState& state, const Sandbox& sandbox)
{
    const std::string offered = StartingSetupFolder(state, std::nullopt);
    if (IsUsableSetupFolder(offered) && IsSameOrInside(offered, sandbox.deep)) return offered;
    return sandbox.Folder("app");
}

void ScriptAnswers(RecordingCallback& person, FuzzRandom& random)
{
    for (int n = 0; n < 64; ++n) person.Answer(random.Chance(60));
    for (int n = 0; n < 16; ++n)
        person.AnswerShared(static_cast<SharedFileAnswer>(random.Below(4)));
}

// The start-up of an install on `script`, and the person's answers and
// choices. Half the installs make their setup folder: only theirs goes
// whole at a delete-all.
void PrepareInstall(RunState& state, const Sandbox& sandbox, const std::string& script, RecordingCallback& person, FuzzRandom& random)
{
    state.runMode = "SETUP";
    state.scriptPath = sandbox.Folder("work") + "SETUP.INI";
    WriteTextFile(state.scriptPath, script);
    // Parsed as the start-up parses the working copy.
    state.script = ParseSetupScript(script);
    state.appFolder = "(App)";
    ReadRunHeader(state);
    ScriptAnswers(person, random);
    person.installChoices = {PersonsFolder(state, sandbox), random.Chance(50), true, true, true, true, true};
    if (random.Chance(50)) RemoveTree(sandbox.Folder("app"));
}

void Uninstall(RunState& state, const Sandbox& sandbox, const std::string& record, FuzzRandom& random)
{
    const std::string working = sandbox.Folder("work") + "UNSETUP.INI";
    if (record != working) CopyFileA(record.c_str(), working.c_str(), FALSE);
    state.runMode = "UNSETUP";
    state.scriptPath = working;
    state.script = {};
    state.appFolder = "(App)";
    ReadRunHeader(state);
    RecordingCallback person;
    ScriptAnswers(person, random);
    const UninstallOffer offer = ReadUninstallOffer(state);
    person.uninstallChoices = {PersonsFolder(state, sandbox), offer.deleteAllForm && random.Chance(70),
                               offer.IniFiles(), offer.HelpIndexes()};
    RunUninstall(person, state);
}

// A path as the snapshot names it, one below a link of the sandbox as a
// path in the folder the link leads to. The link itself stays the link's:
// what a deletion of the link would take is no part of it.
std::string NamedKey(const Sandbox& sandbox, const std::string& path)
{
    const std::string key = SnapshotKey(path);
    for (const auto& [link, target] : sandbox.Links()) {
        const std::string below = SnapshotKey(link) + "\\";
        if (key.size() > below.size() && key.rfind(below, 0) == 0)
            return SnapshotKey(target) + key.substr(below.size() - 1);
    }
    return key;
}

// The files a record names one by one (no pattern) in its file and shortcut
// lists. The uninstall deletes such a file wherever it lies, since the
// install put it there; a record input that names a file outside the
// sandbox this way asks for its deletion, which is no escape.
void NoteNamedFiles(const Sandbox& sandbox, const std::string& record, std::set<std::string>& named)
{
    for (const char* section : {"DeleteFile", "AddDeleteFile"})
        for (const std::string& value : ReadNumberedList(section, "File", record))
            if (const std::string path = SplitRecordedFile(value).path; !path.empty() && !HasWildcards(path))
                named.insert(NamedKey(sandbox, path));
    for (const std::string& shortcut : ReadNumberedList("DeleteShortCut", "File", record))
        if (!HasWildcards(shortcut)) named.insert(NamedKey(sandbox, shortcut));
}

// The real Windows folder, where the profile functions put a file named
// without a folder.
std::string RealWindowsFolder()
{
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return WithTrailingBackslash(ShiftJisFromWide(std::wstring(windows, length)).value_or(""));
}

bool NamesNoFolder(const std::string& file)
{
    return !file.empty() && WideFromShiftJis(file).find_first_of(L"\\/:") == std::wstring::npos;
}

// The files a script's [IniFile] entries name without a folder, read as
// the install reads them: the profile functions put such a file in the
// Windows folder, the real one whatever the sandbox (most such names are
// given a sandbox folder when the input is made; this catches the rest).
void NoteBareIniFiles(const RunState& run, std::set<std::string>& named)
{
    const std::string windowsFolder = RealWindowsFolder();
    if (windowsFolder.empty()) return;
    for (const std::string& data : run.script.iniFiles) {
        const std::string file = ParseIniFileEntry(data, LocationsOf(run)).file;
        if (NamesNoFolder(file)) named.insert(SnapshotKey(windowsFolder + file));
    }
}

// A script names its destinations itself, anywhere: one that climbs out of
// the sandbox into the victims' folder ("(Sys)..\..\ORVVICTIM\X.DLL") has
// files and folders made there by design. The victims themselves must still
// neither change nor go.
bool NamesVictimFolder(const FuzzInput& input)
{
    return input.bytes.find("ORVVICTIM") != std::string::npos;
}

// Links to the victims where an uninstall or an undo deletes: in the setup
// folder, in a folder below it, in a folder the install made. With each
// the folder it leads to is the victims' own, which must stay as it is.
// Most inputs get them.
void PlaceVictimLinks(Sandbox& sandbox, FuzzRandom& random)
{
    if (!random.Chance(60)) return;
    const std::string victims = WithoutTrailingBackslash(VictimFolder);
    const std::string app = sandbox.Folder("app");
    const struct {
        std::string link;
        std::string target;
    } links[] = {
        {app + "VLINK", victims},
        {app + "DATA\\VSUB", victims + "\\SUB"},
        {app + "VEMPTY", WithoutTrailingBackslash(VictimEmptyFolder)},
        {sandbox.Folder("made") + "VMADE", victims},
    };
    for (const auto& place : links)
        if (PathExists(FolderPart(place.link)) && random.Chance(70)) sandbox.Link(place.link, place.target);
}

std::string ReadWhole(const std::string& path)
{
    return PathExists(path) ? ReadTextFile(path) : std::string();
}

// A journal field as the journal writes it back into text: "%09", "%0D",
// "%0A" and "%25" for a tab, CR, LF and "%".
std::string Unescaped(const std::string& field)
{
    std::string text;
    for (size_t at = 0; at < field.size(); ++at) {
        if (field[at] == '%' && at + 2 < field.size() && std::isxdigit(static_cast<unsigned char>(field[at + 1])) &&
            std::isxdigit(static_cast<unsigned char>(field[at + 2]))) {
            text += static_cast<char>(std::stoi(field.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            text += field[at];
        }
    }
    return text;
}

// Every path a journal names, in any field of any line: the undo of such a
// journal deletes, moves back or rewrites what its lines name (a later
// version of the journal refuses lines its run could not have written).
void NoteJournalNames(const Sandbox& sandbox, const std::string& journal, Designed& designed)
{
    const std::string windowsFolder = RealWindowsFolder();
    size_t start = 0;
    while (start < journal.size()) {
        const size_t end = std::min(journal.find("\r\n", start), journal.size());
        const std::string line = journal.substr(start, end - start);
        start = end + 2;
        std::vector<std::string> fields;
        for (size_t from = 0;;) {
            const size_t tab = line.find('\t', from);
            fields.push_back(Unescaped(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from)));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        for (size_t n = 1; n < fields.size(); ++n)
            if (IsAbsoluteFolder(fields[n])) designed.journalNamed.insert(NamedKey(sandbox, fields[n]));
        if (fields[0] == "ini" && fields.size() > 1 && NamesNoFolder(fields[1]) && !windowsFolder.empty())
            designed.bareIniFiles.insert(SnapshotKey(windowsFolder + fields[1]));
    }
}

bool IsVictim(const std::string& key)
{
    for (const char* victim : VictimFiles)
        if (key == SnapshotKey(victim)) return true;
    return key == SnapshotKey(VictimEmptyFolder);
}

// "C:\FOLDER\" of a path on a drive; empty for any other.
std::string TopFolder(const std::string& path)
{
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return {};
    const size_t end = path.find('\\', 3);
    return end == std::string::npos ? path + "\\" : path.substr(0, end + 1);
}

// One run of SETUP.EXE's entry on a command line, as WinMain runs it, with
// the machine's folders in the sandbox; never the person's run (no one
// answers its windows) and never a restart. What it may make outside the
// sandbox by design: the log it was asked for (never over a victim), and
// its setup folder in the victims' folder or in a top folder of C: that
// was not there before (the administrator's choice of a new folder).
void RunEntry(RunState& state, const Sandbox& sandbox, const std::string& line, Designed& designed)
{
    RunOptions options = ParseCommandLine(WideFromShiftJis(line));
    state = RunState{};
    OpenRunLog(state, options, line);
    if (state.log.IsOpen() && !IsVictim(SnapshotKey(state.log.Path())))
        designed.logs.insert(SnapshotKey(state.log.Path()));
    if (options.help) return;
    if (!options.fault.empty()) {
        state.log.Line("Error: the command line is not understood at " + options.fault);
        return;
    }
    if (!options.Unattended()) return;
    options.noRestart = true;
    // A new folder right below C:\ is the administrator's to make.
    std::string top;
    if (options.setupFolder) {
        MachineFolders folders;
        SandboxFolders(folders, sandbox);
        top = TopFolder(ExpandTokens(*options.setupFolder, LocationsOf(folders, InstallResults{})));
    }
    const bool topWasThere = top.empty() || PathExists(top);
    RunUnattended(state, options, [&](RunState& started) {
        SandboxFolders(started, sandbox);
        return std::string();
    });
    if (!IsAbsoluteFolder(state.appFolder) || IsSameOrInside(state.appFolder, sandbox.root)) return;
    const std::string setupFolder = SnapshotKey(state.appFolder);
    if (setupFolder.rfind(SnapshotKey(VictimFolder), 0) == 0)
        designed.madeBelow.push_back(setupFolder);
    else if (!topWasThere && setupFolder.rfind(SnapshotKey(top), 0) == 0)
        designed.madeBelow.push_back(SnapshotKey(top));
}

}  // namespace

std::string SnapshotKey(const std::string& path)
{
    std::wstring wide = WideFromShiftJis(path);
    for (const wchar_t* prefix : {L"\\\\?\\", L"\\\\.\\"})
        if (wide.rfind(prefix, 0) == 0) wide.erase(0, 4);
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length > 0 && length < full.size()) wide.assign(full.data(), length);
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                        utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    return AsciiUpper(utf8);
}

void PointRunAtSandbox(RunState& state, const Sandbox& sandbox)
{
    state = RunState{};
    SandboxFolders(state, sandbox);
    state.workFolder = sandbox.Folder("work");
    state.setupSpeed = 1;
    // The journal as a start-up makes it, so that the undo of a failed
    // install runs on the fuzzed inputs too; half the runs are all or
    // nothing, as an unattended one is.
    state.journalPath = state.windowsFolder + "ORVSETUP.JNL";
}

void PlaceDistribution(const Sandbox& sandbox, const SeedCorpus& corpus)
{
    const std::string dist = sandbox.Folder("dist");
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "README.TXT", "SAMPLE.DAT", "VIEW.EXE"})
        WriteTextFile(dist + name, std::string("Orvane fuzz ") + name + "\r\n");
    WriteTextFile(dist + "README.TX_", corpus.compressed.front());
    WriteTextFile(dist + "README.TXT_", corpus.compressed.back());
    CopyFixture(ProgramFolder() + "regok.dll", dist + "ORVFZ.DLL");
}

void RunScript(RunState& state, Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Designed& designed)
{
    // The start-up's judgement of the script's bytes; the install runs on
    // whatever it is given all the same, for the engine's sake.
    AcceptScript(input.bytes);
    designed.victimFolderNamed |= NamesVictimFolder(input);
    RecordingCallback person;
    PrepareInstall(state, sandbox, input.bytes, person, random);
    state.allOrNothing = random.Chance(50);
    RunInstall(person, state);
    NoteBareIniFiles(state, designed.bareIniFiles);
    const std::string record = state.unSetupPath;
    if (!record.empty() && PathExists(record) && IsSameOrInside(record, sandbox.deep)) {
        PlaceVictimLinks(sandbox, random);
        Uninstall(state, sandbox, record, random);
    }
}

void RunRecord(RunState& state, Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Designed& designed)
{
    const std::string app = sandbox.Folder("app");
    const std::string made = sandbox.Folder("made");
    // What an install left for the record to remove.
    CreateDirectoryA((app + "DATA").c_str(), nullptr);
    for (const std::string& file : {app + "A.TXT", app + "DATA\\B.LOG", made + "B.TXT", sandbox.Folder("win") +
                                    "ORVFUZZ.INI", sandbox.Folder("shell") + "Desktop\\Fuzz.lnk"})
        WriteTextFile(file, "installed\r\n");
    CopyFixture(ProgramFolder() + "regok.dll", sandbox.Folder("sys") + "ORVFZ.DLL");
    PlaceVictimLinks(sandbox, random);
    std::string text = input.bytes;
    text = ReplaceAllText(text, "%APP%", app);
    text = ReplaceAllText(text, "%MADE%", made);
    text = ReplaceAllText(text, "%WIN%", sandbox.Folder("win"));
    text = ReplaceAllText(text, "%SYS%", sandbox.Folder("sys"));
    text = ReplaceAllText(text, "%SHELL%", sandbox.Folder("shell"));
    WriteTextFile(app + "UNSETUP.INI", text);
    NoteNamedFiles(sandbox, app + "UNSETUP.INI", designed.namedFiles);
    Uninstall(state, sandbox, app + "UNSETUP.INI", random);
}

std::vector<std::string> RunCompressed(const Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random)
{
    std::vector<std::string> notes;
    const std::string source = sandbox.Folder("dist") + "DATA.TX_";
    WriteTextFile(source, input.bytes);
    const std::string destination = sandbox.Folder("app") + (random.Chance(50) ? ExpandedNamePlaceholder : "DATA.TXT");
    const ExpandedFile expanded = ExpandToTemp(source, destination, sandbox.Folder("temp"));
    // The promise of the expansion: a damaged source leaves no temporary
    // file; any other leaves exactly one, which the caller deletes.
    const bool left = PathExists(expanded.temporary);
    if (expanded.damaged == left)
        notes.push_back("expansion index " + std::to_string(input.index) + ": damaged " +
                        std::to_string(expanded.damaged) + " but temporary file present " + std::to_string(left));
    if (!IsSameOrInside(expanded.destination, sandbox.deep) || !IsSameOrInside(expanded.temporary, sandbox.deep))
        notes.push_back("expansion index " + std::to_string(input.index) + " aims outside the sandbox: " +
                        expanded.destination);
    return notes;
}

void RunJournal(RunState& state, Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Designed& designed)
{
    RecordingCallback person;
    PrepareInstall(state, sandbox, input.bytes, person, random);
    // The install to its last step, its journal written; then its process
    // dies before the journal is discarded, and the next run finds it.
    {
        InstallRun run{state};
        run.journal = Journal::Start(state.journalPath);
        if (!run.journal) return;
        RunStoppingAtError(person, run, [&] {
            if (RunInstallPhases(person, run) == Flow::Stop) return;
            CompleteInstall(run, person);
        });
        run.journal->Close();
        run.journalSettled = true;
    }
    const std::string written = ReadWhole(state.journalPath);
    if (written.empty()) return;  // the install undid itself: no journal is left
    PlaceVictimLinks(sandbox, random);
    std::vector<std::string> linkPaths;
    for (const auto& link : sandbox.Links()) linkPaths.push_back(link.first + "\\");
    const std::string mutated = MutateJournal(written, sandbox.Folder("app"), linkPaths, random);
    WriteTextFile(state.journalPath, mutated);
    // Saved with the script, so that a fault names both.
    GuardInput({InputKind::Journal, input.index, input.bytes + "\r\n;--- the journal left for the next run ---\r\n" + mutated});
    NoteJournalNames(sandbox, mutated, designed);
    // The next run's start: the interrupted install is undone.
    state.log = RunLog();
    SettleEarlierJournal(state);
}

void RunCommandLine(RunState& state, Sandbox& sandbox, const SeedCorpus& corpus, const FuzzInput& input, FuzzRandom& random,
                    Designed& designed)
{
    // The distribution's script: a seed, most with the delete-all option.
    std::string script = corpus.scripts[random.Below(corpus.scripts.size())];
    if (random.Chance(60)) script = "[Extend]\r\nUnSetupOption=DeleteAll\r\n" + script;
    WriteTextFile(sandbox.Folder("dist") + "SETUP.INI", script);
    wchar_t profile[MAX_PATH] = {};
    const std::string profileFolder =
        GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH) > 0 ? ShiftJisFromWide(profile).value_or("C:\\") : "C:\\";
    auto expanded = [&](std::string text) {
        text = ReplaceAllText(text, "%DIST%", sandbox.Folder("dist"));
        text = ReplaceAllText(text, "%APP%", sandbox.Folder("app"));
        text = ReplaceAllText(text, "%TEMP%", sandbox.Folder("temp"));
        text = ReplaceAllText(text, "%PRG%", sandbox.Folder("prg"));
        return ReplaceAllText(text, "%PROFILE%", WithTrailingBackslash(profileFolder));
    };
    RunEntry(state, sandbox, expanded(input.bytes), designed);
    // The Add/Remove entry's quiet command on the record the install left;
    // now and then with the record gone, as when the folder was deleted.
    const std::string record = state.unSetupPath;
    if (record.empty() || !PathExists(record)) return;
    if (random.Chance(15)) DeleteFileA(record.c_str());
    std::string line = "\"" + sandbox.Folder("win") + "UNOVSET.EXE\" \"" + record + "\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART";
    if (random.Chance(50)) line += " /LOG=\"%TEMP%uninstall.log\"";
    RunEntry(state, sandbox, expanded(line), designed);
}
