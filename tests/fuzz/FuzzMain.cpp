// The fuzz driver: setup scripts, uninstall records and compressed files,
// mutated from the sample and the tests' inputs, run in-process through the
// start-up's parsing, RunInstall (followed by RunUninstall on the record it
// wrote), RunUninstall and the expansion, on the recording stand-in for the
// person. Where the runs may write, and how a write anywhere else is found,
// is described in FuzzSandbox.h; the time limit and the crash handling in
// FuzzGuard.h. Every input follows from the seed and its index alone.
//
//   fuzz_tests.exe [--fuzz-seed=N] [--fuzz-count=N] [--fuzz-start=N]
//                  [--fuzz-batch=N] [--fuzz-limit=MS] [--fuzz-findings=FOLDER]
//                  [--fuzz-corpus=FOLDER]... [--fuzz-verbose=1]
//
// (Unix paths are taken as Wine's Z: drive shows them.) Prints the figures
// at the end; the test fails when a touch outside the sandbox, a box or
// another broken promise was found; a crash or a time-out ends the process
// with 70 or 71 (see FuzzGuard.h).
#include "FuzzGuard.h"
#include "FuzzInputs.h"
#include "FuzzSandbox.h"
#include "app/RunStart.h"
#include "engine/ProtectedFolders.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "script/CopyFileSection.h"
#include "script/IniFileSection.h"
#include "script/PathParts.h"
#include "script/SetupScript.h"
#include "script/TextCase.h"
#include "services/Expansion.h"
#include "support/Fixtures.h"
#include "support/RecordingCallback.h"
#include "support/Scratch.h"
#include "support/Scripted.h"
#include "support/TestRunState.h"
#include "text/NumberedList.h"
#include "text/Unicode.h"
#include "uninstall/DecideFileDeletion.h"
#include "uninstall/RunUninstall.h"
#include "windows/UserDialogs.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <optional>
#include <set>

namespace {

struct Options {
    uint64_t seed = 1;
    uint64_t count = 300;
    uint64_t start = 0;
    uint64_t batch = 100;
    unsigned long limit = 5000;
    bool verbose = false;  // one line per input: kind, index, milliseconds
    std::string findings;
    std::vector<std::string> corpus;
};

// A Unix path as Wine's Z: drive shows it; a Windows path as it is.
std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int n = 1; n < argc; ++n) {
        // The test framework's own options pass by; ours are "--fuzz-name=value".
        const std::string argument = argv[n];
        if (argument.rfind("--fuzz-", 0) != 0) continue;
        const size_t equals = argument.find('=');
        if (equals == std::string::npos) return std::nullopt;
        const std::string name = argument.substr(7, equals - 7);
        const std::string value = argument.substr(equals + 1);
        char* end = nullptr;
        const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
        const bool numeric = !value.empty() && *end == '\0';
        if (name == "seed" && numeric) options.seed = number;
        else if (name == "count" && numeric) options.count = number;
        else if (name == "start" && numeric) options.start = number;
        else if (name == "batch" && numeric && number > 0) options.batch = number;
        else if (name == "limit" && numeric && number > 0) options.limit = static_cast<unsigned long>(number);
        else if (name == "verbose" && numeric) options.verbose = number != 0;
        else if (name == "findings") options.findings = WindowsPath(value);
        else if (name == "corpus") options.corpus.push_back(WindowsPath(value));
        else return std::nullopt;
    }
    if (options.findings.empty()) options.findings = ProgramFolder() + "..\\fuzz-findings\\";
    return options;
}

// Every box the program would show: none may, since the person is the
// recording stand-in. Noted and answered with the cautious button.
class NoBoxes final : public UserDialogs {
public:
    NoBoxes() : previous_(InstallUserDialogs(this)) {}
    ~NoBoxes() override { InstallUserDialogs(previous_); }
    NoBoxes(const NoBoxes&) = delete;
    NoBoxes& operator=(const NoBoxes&) = delete;

    int ShowBox(HWND, const std::string& text, const std::string& caption, UINT) override
    {
        shown.push_back(caption + ": " + text);
        return IDCANCEL;
    }
    int OfferRestart(HWND) override
    {
        shown.push_back("restart offer");
        return IDNO;
    }
    void RunConfirmDialog(ModalWindow&) override { shown.push_back("confirmation dialog"); }

    std::vector<std::string> shown;

private:
    UserDialogs* previous_;
};

struct Figures {
    std::array<uint64_t, InputKinds> tried{};
    // The slowest input of each kind: its index and milliseconds.
    std::array<std::pair<uint64_t, unsigned long long>, InputKinds> slowest{};
    uint64_t crashes = 0, timeOuts = 0, touches = 0, boxes = 0;
    // Changes outside the sandbox that an input asked for by design: files a
    // record named one by one, removed; files a script named in the
    // victims' folder, made; profile files a script named without a folder,
    // made or changed in the Windows folder.
    uint64_t namedRemovals = 0;
    std::vector<std::string> notes;
};

// The run state as a start-up on the sandbox leaves it: every folder of the
// machine in the sandbox.
void PointRunAtSandbox(const Sandbox& sandbox)
{
    TheRun = RunState{};
    TheRun.platformId = 2;
    TheRun.sourceFolder = sandbox.Folder("dist");
    TheRun.workFolder = sandbox.Folder("work");
    TheRun.tempFolder = sandbox.Folder("temp");
    TheRun.windowsFolder = sandbox.Folder("win");
    TheRun.systemFolder = sandbox.Folder("sys");
    TheRun.programFilesFolder = sandbox.Folder("prg");
    TheRun.bootRoot = sandbox.Folder("boot");
    TheRun.sourceRoot = sandbox.Folder("dist");
    const std::string shell = sandbox.Folder("shell");
    TheRun.startMenuFolder = TheRun.commonStartMenuFolder = shell + "Start Menu\\";
    TheRun.programsFolder = TheRun.commonProgramsFolder = shell + "Start Menu\\Programs\\";
    TheRun.startupFolder = TheRun.commonStartupFolder = shell + "Start Menu\\Programs\\Startup\\";
    TheRun.desktopFolder = TheRun.commonDesktopFolder = shell + "Desktop\\";
    TheRun.sendToFolder = shell + "SendTo\\";
    TheRun.setupSpeed = 1;
    // The journal as a start-up makes it, so that the undo of a failed
    // install runs on the fuzzed inputs too; half the runs are all or
    // nothing, as an unattended one is.
    TheRun.journalPath = TheRun.windowsFolder + "ORVSETUP.JNL";
}

// The distribution's files: plain, compressed, and a component.
void PlaceDistribution(const Sandbox& sandbox, const SeedCorpus& corpus)
{
    const std::string dist = sandbox.Folder("dist");
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "README.TXT", "SAMPLE.DAT", "VIEW.EXE"})
        WriteTextFile(dist + name, std::string("Orvane fuzz ") + name + "\r\n");
    WriteTextFile(dist + "README.TX_", corpus.compressed.front());
    WriteTextFile(dist + "README.TXT_", corpus.compressed.back());
    CopyFixture(ProgramFolder() + "regok.dll", dist + "ORVFZ.DLL");
}

// The setup folder the person takes: the one offered when it lies in the
// sandbox, else the sandbox's own (as a person corrects an odd folder).
std::string PersonsFolder(const Sandbox& sandbox)
{
    const std::string offered = StartingSetupFolder(TheRun, std::nullopt);
    if (IsUsableSetupFolder(offered) && IsSameOrInside(offered, sandbox.deep)) return offered;
    return sandbox.Folder("app");
}

void ScriptAnswers(RecordingCallback& person, FuzzRandom& random)
{
    for (int n = 0; n < 64; ++n) person.Answer(random.Chance(60));
    for (int n = 0; n < 16; ++n)
        person.AnswerShared(static_cast<SharedFileAnswer>(random.Below(4)));
}

void Uninstall(const Sandbox& sandbox, const std::string& record, FuzzRandom& random)
{
    const std::string working = sandbox.Folder("work") + "UNSETUP.INI";
    if (record != working) CopyFileA(record.c_str(), working.c_str(), FALSE);
    TheRun.runMode = "UNSETUP";
    TheRun.scriptPath = working;
    TheRun.script = {};
    TheRun.appFolder = "(App)";
    ReadRunHeader(TheRun);
    RecordingCallback person;
    ScriptAnswers(person, random);
    const UninstallOffer offer = ReadUninstallOffer(TheRun);
    person.uninstallChoices = {PersonsFolder(sandbox), offer.deleteAllForm && random.Chance(70),
                               offer.IniFiles(), offer.HelpIndexes()};
    RunUninstall(person, TheRun);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A path the program names in Shift-JIS as the snapshot names it: the full
// path without a device prefix, in UTF-8, compared in capitals.
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

// The path a difference line is about: "added C:\x (file ...)" gives C:\x.
std::string PathOfDifference(const std::string& line)
{
    const size_t start = line.find(' ') + 1;
    const size_t end = line.rfind(" (");
    return line.substr(start, end == std::string::npos || end < start ? std::string::npos : end - start);
}

// The files a record names one by one (no pattern) in its file and shortcut
// lists. The uninstall deletes such a file wherever it lies, since the
// install put it there; a record input that names a file outside the
// sandbox this way asks for its deletion, which is no escape.
void NoteNamedFiles(const std::string& record, std::set<std::string>& named)
{
    for (const char* section : {"DeleteFile", "AddDeleteFile"})
        for (const std::string& value : ReadNumberedList(section, "File", record))
            if (const std::string path = SplitRecordedFile(value).path; !path.empty() && !HasWildcards(path))
                named.insert(SnapshotKey(path));
    for (const std::string& shortcut : ReadNumberedList("DeleteShortCut", "File", record))
        if (!HasWildcards(shortcut)) named.insert(SnapshotKey(shortcut));
}

// The files a script's [IniFile] entries name without a folder, read as
// the install reads them: the profile functions put such a file in the
// Windows folder, the real one whatever the sandbox (most such names are
// given a sandbox folder when the input is made; this catches the rest).
void NoteBareIniFiles(const RunState& run, std::set<std::string>& named)
{
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string windowsFolder = WithTrailingBackslash(ShiftJisFromWide(std::wstring(windows, length)).value_or(""));
    for (const std::string& data : run.script.iniFiles) {
        const std::string file = ParseIniFileEntry(data, LocationsOf(run)).file;
        if (!file.empty() && WideFromShiftJis(file).find_first_of(L"\\/:") == std::wstring::npos)
            named.insert(SnapshotKey(windowsFolder + file));
    }
}

// What the batch's inputs asked for outside the sandbox by design.
struct Designed {
    std::set<std::string> namedFiles;     // files records named one by one: removed
    std::set<std::string> bareIniFiles;   // files scripts named without a folder: made or changed
    bool victimFolderNamed = false;       // a script named the victims' folder: files made there
};

bool IsDesigned(const std::string& line, const Designed& designed)
{
    const std::string key = AsciiUpper(PathOfDifference(line));
    if (line.rfind("removed ", 0) == 0) return designed.namedFiles.count(key) != 0;
    if (designed.bareIniFiles.count(key) != 0) return true;
    return designed.victimFolderNamed && line.rfind(std::string("added ") + VictimFolder, 0) == 0;
}

// A profile file a script made in the real Windows folder goes again, so
// that the folder does not fill up over a long run.
void RemoveBareIniFiles(const std::vector<std::string>& differences, const Designed& designed)
{
    for (const std::string& line : differences) {
        if (line.rfind("added ", 0) != 0 || designed.bareIniFiles.count(AsciiUpper(PathOfDifference(line))) == 0)
            continue;
        const std::string path = PathOfDifference(line);
        const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
        DeleteFileW(wide.c_str());
    }
}

// The differences less what the inputs asked for by design (see above).
std::vector<std::string> Escapes(const std::vector<std::string>& differences, const Designed& designed)
{
    std::vector<std::string> escapes;
    for (const std::string& line : differences)
        if (!IsDesigned(line, designed)) escapes.push_back(line);
    return escapes;
}

// A script names its destinations itself, anywhere: one that climbs out of
// the sandbox into the victims' folder ("(Sys)..\..\ORVVICTIM\X.DLL") has
// files and folders made there by design. The victims themselves must still
// neither change nor go.
bool NamesVictimFolder(const FuzzInput& input)
{
    return input.kind == InputKind::Script && input.bytes.find("ORVVICTIM") != std::string::npos;
}

void RunScript(const Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, std::set<std::string>& bareIniFiles)
{
    TheRun.runMode = "SETUP";
    TheRun.scriptPath = sandbox.Folder("work") + "SETUP.INI";
    WriteTextFile(TheRun.scriptPath, input.bytes);
    // Parsed as the start-up parses the working copy.
    TheRun.script = ParseSetupScript(input.bytes);
    TheRun.appFolder = "(App)";
    ReadRunHeader(TheRun);
    RecordingCallback person;
    ScriptAnswers(person, random);
    person.installChoices = {PersonsFolder(sandbox), random.Chance(50), true, true, true, true, true};
    TheRun.allOrNothing = random.Chance(50);
    RunInstall(person, TheRun);
    NoteBareIniFiles(TheRun, bareIniFiles);
    const std::string record = TheRun.unSetupPath;
    if (!record.empty() && PathExists(record) && IsSameOrInside(record, sandbox.deep)) {
        Uninstall(sandbox, record, random);
    }
}

void RunRecord(const Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, std::set<std::string>& named)
{
    const std::string app = sandbox.Folder("app");
    const std::string made = sandbox.Folder("made");
    // What an install left for the record to remove.
    CreateDirectoryA((app + "DATA").c_str(), nullptr);
    for (const std::string& file : {app + "A.TXT", app + "DATA\\B.LOG", made + "B.TXT", sandbox.Folder("win") +
                                    "ORVFUZZ.INI", sandbox.Folder("shell") + "Desktop\\Fuzz.lnk"})
        WriteTextFile(file, "installed\r\n");
    CopyFixture(ProgramFolder() + "regok.dll", sandbox.Folder("sys") + "ORVFZ.DLL");
    std::string text = input.bytes;
    text = ReplaceAll(text, "%APP%", app);
    text = ReplaceAll(text, "%MADE%", made);
    text = ReplaceAll(text, "%WIN%", sandbox.Folder("win"));
    text = ReplaceAll(text, "%SYS%", sandbox.Folder("sys"));
    text = ReplaceAll(text, "%SHELL%", sandbox.Folder("shell"));
    WriteTextFile(app + "UNSETUP.INI", text);
    NoteNamedFiles(app + "UNSETUP.INI", named);
    Uninstall(sandbox, app + "UNSETUP.INI", random);
}

void RunCompressed(const Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Figures& figures)
{
    const std::string source = sandbox.Folder("dist") + "DATA.TX_";
    WriteTextFile(source, input.bytes);
    const std::string destination = sandbox.Folder("app") + (random.Chance(50) ? ExpandedNamePlaceholder : "DATA.TXT");
    const ExpandedFile expanded = ExpandToTemp(source, destination, sandbox.Folder("temp"));
    // The promise of the expansion: a damaged source leaves no temporary
    // file; any other leaves exactly one, which the caller deletes.
    const bool left = PathExists(expanded.temporary);
    if (expanded.damaged == left)
        figures.notes.push_back("expansion index " + std::to_string(input.index) + ": damaged " +
                                std::to_string(expanded.damaged) + " but temporary file present " +
                                std::to_string(left));
    if (!IsSameOrInside(expanded.destination, sandbox.deep) || !IsSameOrInside(expanded.temporary, sandbox.deep))
        figures.notes.push_back("expansion index " + std::to_string(input.index) + " aims outside the sandbox: " +
                                expanded.destination);
}

void Report(const Figures& figures, double seconds)
{
    uint64_t total = 0;
    for (uint64_t tried : figures.tried) total += tried;
    std::printf("fuzz figures: inputs %llu (scripts %llu, records %llu, compressed %llu) in %.1f s\n",
                static_cast<unsigned long long>(total), static_cast<unsigned long long>(figures.tried[0]),
                static_cast<unsigned long long>(figures.tried[1]), static_cast<unsigned long long>(figures.tried[2]),
                seconds);
    std::printf("fuzz faults: crashes %llu, time-outs %llu, touches outside the sandbox %llu, boxes %llu, "
                "other %zu\n",
                static_cast<unsigned long long>(figures.crashes), static_cast<unsigned long long>(figures.timeOuts),
                static_cast<unsigned long long>(figures.touches), static_cast<unsigned long long>(figures.boxes),
                figures.notes.size());
    std::printf("fuzz designed: changes outside the sandbox that an input named (files a record named one by "
                "one, removed; files a script named in the victims' folder, made; profile files a script named without a "
                "folder, in the Windows folder): %llu\n",
                static_cast<unsigned long long>(figures.namedRemovals));
    for (size_t kind = 0; kind < InputKinds; ++kind)
        std::printf("fuzz slowest %s: index %llu, %llu ms\n", KindName(static_cast<InputKind>(kind)),
                    static_cast<unsigned long long>(figures.slowest[kind].first), figures.slowest[kind].second);
    for (const std::string& note : figures.notes) std::printf("  %s\n", note.c_str());
    std::fflush(stdout);
}

}  // namespace

TEST_CASE("fuzzed scripts, records and compressed files: no crash, no time-out, no touch outside the sandbox")
{
    const std::optional<Options> options = ParseOptions(__argc, __argv);
    REQUIRE_MESSAGE(options, "fuzz options: --fuzz-seed=N --fuzz-count=N --fuzz-start=N --fuzz-batch=N "
                             "--fuzz-limit=MS --fuzz-findings=FOLDER --fuzz-corpus=FOLDER");
    CreateDirectoryA(options->findings.c_str(), nullptr);
    const SeedCorpus corpus = LoadCorpus(options->corpus);
    std::printf("fuzz: seed %llu, inputs %llu to %llu; seeds: %zu scripts, %zu records, %zu compressed\n",
                static_cast<unsigned long long>(options->seed), static_cast<unsigned long long>(options->start),
                static_cast<unsigned long long>(options->start + options->count),
                corpus.scripts.size(), corpus.records.size(), corpus.compressed.size());
    std::fflush(stdout);

    const SavedRunState saved(TheRun);
    Figures figures;
    Sandbox sandbox;
    std::string reason;
    REQUIRE_MESSAGE(sandbox.Ready(reason), "the registry cannot be redirected: " << reason);
    NoBoxes boxes;
    InstantClock clock;
    RecordingLauncher launcher;
    StartGuard(options->findings, options->seed, options->limit);
    PlaceVictims();
    const unsigned long long began = GetTickCount64();
    const uint64_t end = options->start + options->count;
    sandbox.Redirect(false);
    MachineEntries before = SnapshotOutside();
    for (uint64_t first = options->start; first < end; first += options->batch) {
        const uint64_t last = std::min(end, first + options->batch);
        Designed designed;
        for (uint64_t index = first; index < last; ++index) {
            const FuzzInput input = MakeInput(corpus, options->seed, index);
            FuzzRandom random(options->seed ^ (index * 0xD1B54A32D192ED03ull));
            const unsigned long long resetBegan = GetTickCount64();
            sandbox.Reset();
            PointRunAtSandbox(sandbox);
            PlaceDistribution(sandbox, corpus);
            const unsigned long long resetTook = GetTickCount64() - resetBegan;
            clock.pauses.clear();
            launcher.opened.clear();
            const size_t boxesBefore = boxes.shown.size();
            GuardInput(input);
            const unsigned long long inputBegan = GetTickCount64();
            switch (input.kind) {
            case InputKind::Script: RunScript(sandbox, input, random, designed.bareIniFiles); break;
            case InputKind::Record: RunRecord(sandbox, input, random, designed.namedFiles); break;
            case InputKind::Compressed: RunCompressed(sandbox, input, random, figures); break;
            }
            GuardIdle();
            designed.victimFolderNamed |= NamesVictimFolder(input);
            const size_t kind = static_cast<size_t>(input.kind);
            ++figures.tried[kind];
            if (const unsigned long long took = GetTickCount64() - inputBegan; took > figures.slowest[kind].second)
                figures.slowest[kind] = {index, took};
            if (options->verbose)
                std::printf("fuzz input %s %llu: %llu ms (sandbox made in %llu ms)\n", KindName(input.kind),
                            static_cast<unsigned long long>(index), GetTickCount64() - inputBegan, resetTook);
            if (boxes.shown.size() != boxesBefore) {
                ++figures.boxes;
                std::printf("FUZZ box: %s index %llu (%s), saved as %s\n", KindName(input.kind),
                            static_cast<unsigned long long>(index), boxes.shown.back().c_str(),
                            SaveFinding("box", input).c_str());
            }
        }
        sandbox.Reset();
        sandbox.Redirect(false);
        MachineEntries after = SnapshotOutside();
        const std::vector<std::string> differences = Differences(before, after);
        const std::vector<std::string> escapes = Escapes(differences, designed);
        before = std::move(after);
        if (!differences.empty()) {
            // The next batch starts from the victims as they were.
            RemoveBareIniFiles(differences, designed);
            PlaceVictims();
            before = SnapshotOutside();
            figures.namedRemovals += differences.size() - escapes.size();
        }
        if (!escapes.empty()) {
            figures.touches += escapes.size();
            std::printf("FUZZ touch outside the sandbox in inputs %llu to %llu (run them again with --batch 1 "
                        "to find the one):\n",
                        static_cast<unsigned long long>(first), static_cast<unsigned long long>(last - 1));
            for (size_t n = 0; n < escapes.size() && n < 40; ++n) std::printf("  %s\n", escapes[n].c_str());
            for (uint64_t index = first; index < last; ++index)
                SaveFinding("touch", MakeInput(corpus, options->seed, index));
            std::fflush(stdout);
        }
        std::printf("fuzz progress: inputs %llu to %llu done in %.0f s, touches so far %llu, boxes so far %llu, "
                    "designed so far %llu\n",
                    static_cast<unsigned long long>(options->start), static_cast<unsigned long long>(last - 1),
                    static_cast<double>(GetTickCount64() - began) / 1000, static_cast<unsigned long long>(figures.touches),
                    static_cast<unsigned long long>(figures.boxes), static_cast<unsigned long long>(figures.namedRemovals));
        std::fflush(stdout);
    }
    const double seconds = static_cast<double>(GetTickCount64() - began) / 1000;
    RemoveVictims();
    Report(figures, seconds);
    CHECK(figures.touches == 0);
    CHECK(figures.boxes == 0);
    CHECK(figures.notes.empty());
    saved.Restore(TheRun);
}
