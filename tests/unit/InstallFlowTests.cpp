// The install's flow without any window: the engine on the recording
// stand-in for the person, checking what is asked and shown, in what order,
// and what ends up on disk.
#include <doctest/doctest.h>

#include "engine/Rollback.h"
#include "install/RunInstall.h"
#include "script/SetupScript.h"
#include "services/FileOps.h"
#include "services/RegistryAccess.h"
#include "support/RecordingCallback.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "support/Utf8.h"
#include "text/IniFile.h"

#include <windows.h>

#include <algorithm>

namespace {

// The script of the run: its working copy, parsed as the start-up parses it.
void UseScript(RunState& state, const std::string& text)
{
    WriteTextFile(state.scriptPath, text);
    state.script = ParseSetupScript(text);
}

// The run state of a start-up on a distribution of the test's own, every
// folder the install may write to in a scratch folder.
struct WindowlessRun {
    RunState state;
    ScratchFolder distribution{"flow-dist"};
    ScratchFolder work{"flow-work"};
    ScratchFolder machine{"flow-win"};
    ScratchFolder target{"flow-app"};

    explicit WindowlessRun(const std::string& script)
    {
        state.sourceFolder = distribution.Path();
        state.workFolder = work.Path();
        state.tempFolder = work.Path();
        state.windowsFolder = machine.Path();
        state.systemFolder = machine.Path();
        state.scriptPath = work / "SETUP.INI";
        state.setupSpeed = 1;
        // No record and no Add/Remove entry: nothing of the machine's own.
        state.unSetupTitle = "Setup Only.";
        state.programId.clear();
        UseScript(state, script);
    }
    WindowlessRun(const WindowlessRun&) = delete;
    WindowlessRun& operator=(const WindowlessRun&) = delete;
};

}  // namespace

TEST_CASE("an install without windows: the steps and questions in their order, and the files they leave")
{
    WindowlessRun run("[MakeFolder]\r\nFolder1=(App)DATA\r\n[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\n"
                      "[Relate]\r\nName1=ovf,Orvane file\r\nFile1=open,(App)VIEW.EXE,%1,0\r\n");
    WriteTextFile(run.distribution / "A.TXT", "new!");
    WriteTextFile(run.distribution / "B.TXT", "bbbb");
    const std::string app = run.target.Path();
    WriteTextFile(app + "A.TXT", "old");
    RecordingCallback person;
    person.installChoices.setupFolder = app;
    person.Answer(false).Answer(false);  // keep A.TXT; no association

    const RunOutcome outcome = RunInstall(person, run.state);

    CHECK(outcome.end == RunEnd::Completed);
    CHECK_FALSE(outcome.restartNeeded);
    const std::vector<std::string> expected = {
        "TakeInstallChoices",
        "RunStarting Install",
        "Status InstallStarting",
        "Status ReadingInformation",
        "Status Measuring",
        "Status CheckingFreeSpace",
        "Status CheckingSetupFolder",
        "AllowAbort",
        "Status CreatingFolder " + app + "DATA\\",
        "ShowCopyProgress",
        "Status Copying " + app + "A.TXT",
        "Overwrite " + app + "A.TXT -> no",
        "Status Copying " + app + "B.TXT",
        "HideCopyProgress",
        "Status Associating",
        "Associate ovf " + app + "VIEW.EXE -> no",
        "Status UpdatingRecord",
        "ForbidAbort",
        "InstallCompleted",
        "FinishRun",
    };
    for (size_t n = 0; n < std::max(person.calls.size(), expected.size()); ++n) {
        CAPTURE(n);
        CHECK(Utf8(n < person.calls.size() ? person.calls[n] : "") == Utf8(n < expected.size() ? expected[n] : ""));
    }
    REQUIRE(person.progress.size() == 2);
    CHECK(person.progress[0].percent == 50);
    CHECK(person.progress[1].percent == 100);
    CHECK(person.progress[1].copied == 2);
    CHECK(person.progress[1].entries == 2);
    CHECK(ReadTextFile(app + "A.TXT") == "old");
    CHECK(ReadTextFile(app + "B.TXT") == "bbbb");
    CHECK(PathExists(app + "DATA"));
    CHECK_FALSE(PathExists(app + "UNSETUP.INI"));
}

TEST_CASE("an install without windows stops where the person declines, with nothing made")
{
    WindowlessRun run("[CopyFile]\r\nFile1=(App)\\A.TXT\r\n");
    WriteTextFile(run.distribution / "A.TXT", "a");
    const std::string app = run.target / "NEW\\";
    RecordingCallback person;
    person.installChoices.setupFolder = app;
    person.Answer(false);

    CHECK(RunInstall(person, run.state).end == RunEnd::Cancelled);

    CHECK(person.calls.back() == "Abandon Declined");
    CHECK(person.calls[person.calls.size() - 2] == "CreateSetupFolder " + app + " -> no");
    CHECK_FALSE(PathExists(app));
}

TEST_CASE("how an install without windows ends: with failures, or cancelled at the first poll")
{
    WindowlessRun run("[CopyFile]\r\nFile1=(App)\\MISSING.TXT\r\n");
    RecordingCallback person;
    person.installChoices.setupFolder = run.target.Path();
    SUBCASE("a missing source completes with failures, the report offered and shown")
    {
        CHECK(RunInstall(person, run.state).end == RunEnd::CompletedWithFailures);
        CHECK(person.report.find("<File> " + run.distribution / "MISSING.TXT") == 0);
    }
    SUBCASE("an abort at the first poll is the person's cancel, with nothing more shown")
    {
        person.AbortAfter(0);
        CHECK(RunInstall(person, run.state).end == RunEnd::Cancelled);
        CHECK(person.calls.back() == "Status Measuring");
    }
}

namespace {

// The files of a folder, names and bytes, for before-and-after comparisons.
std::vector<std::pair<std::string, std::string>> FilesIn(const std::string& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        files.emplace_back(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "<folder>"
                                                                                    : ReadTextFile(folder + name));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

}  // namespace

TEST_CASE("an install that fails is undone from its journal: what it made goes, what it replaced comes back")
{
    ScratchKey key(HKEY_CURRENT_USER, "undo");
    REQUIRE(StoreValue(HKEY_CURRENT_USER, key.Path(), "Kept", REG_SZ, std::string("before\0", 7)));
    REQUIRE(MakeVolatileKey(HKEY_CURRENT_USER, key / "Volatile"));
    // "表" ends in the byte of a backslash: a journal line must keep it whole.
    const std::string newKey = key / "表\\New";
    const std::string scriptHead =
        "[MakeFolder]\r\nFolder1=(App)DATA\\表\r\n"
        "[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\ソ.TXT\r\nFile3=(App)\\DATA\\表\\C.TXT\r\n"
        "[Registry]\r\nKey1=(Cuser)" + key.Path() + "\r\nName1=Kept\r\nValue1=(Str)after\r\n"
        "Key2=(Cuser)" + newKey + "\r\nName2=N\r\nValue2=(Dwd)7\r\n";
    const std::string iniEntries = "[IniFile]\r\nData1=S,K,new,(App)OLD.INI\r\nData2=S,K,new,(App)NEW.INI\r\n";
    WindowlessRun run(scriptHead + iniEntries);
    run.state.journalPath = run.machine / "ORVSETUP.JNL";
    for (const char* name : {"A.TXT", "ソ.TXT", "C.TXT"}) WriteTextFile(run.distribution / name, std::string("new ") + name);
    const std::string app = run.target.Path();
    WriteTextFile(app + "A.TXT", "the earlier A");
    // Older than the distribution's copy, which replaces it.
    const FILETIME old{0, 0x01000000};
    const HANDLE stamp = CreateFileA((app + "A.TXT").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(SetFileTime(stamp, nullptr, nullptr, &old));
    CloseHandle(stamp);
    WriteTextFile(app + "OLD.INI", "; the earlier file\r\n[S]\r\nK=old\r\nOther=1\r\n");
    const auto filesBefore = FilesIn(app);
    RecordingCallback person;
    person.installChoices.setupFolder = app;

    SUBCASE("unattended, a failure report undoes everything and the run has failed")
    {
        run.state.allOrNothing = true;
        UseScript(run.state, scriptHead + "File4=(App)\\MISSING.TXT\r\n" + iniEntries);
        CHECK(RunInstall(person, run.state).end == RunEnd::Failed);
        CHECK(std::find(person.calls.begin(), person.calls.end(), "Status UndoingInstall") != person.calls.end());
    }
    SUBCASE("a registry write the system refuses undoes everything, interactive or not")
    {
        UseScript(run.state, scriptHead + "Key3=(Cuser)" + key / "Volatile\\Refused" +
                                             "\r\nName3=X\r\nValue3=(Str)x\r\n" + iniEntries);
        CHECK(RunInstall(person, run.state).end == RunEnd::Failed);
        CHECK(person.calls.back() == "Abandon Fatal");
    }
    CAPTURE(Utf8(ReadTextFile(app + "OLD.INI")));
    CHECK(FilesIn(app) == filesBefore);
    CHECK(StoredText(HKEY_CURRENT_USER, key.Path(), "Kept") == "before");
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, key / "表"));
    CHECK(KeyExists(HKEY_CURRENT_USER, key / "Volatile"));
    CHECK_FALSE(PathExists(run.state.journalPath));
}

TEST_CASE("a completed install keeps its changes and leaves neither journal nor earlier copies; so does the person's abort")
{
    WindowlessRun run("[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\n");
    run.state.journalPath = run.machine / "ORVSETUP.JNL";
    WriteTextFile(run.distribution / "A.TXT", "new A");
    WriteTextFile(run.distribution / "B.TXT", "new B");
    const std::string app = run.target.Path();
    WriteTextFile(app + "A.TXT", "old");
    RecordingCallback person;
    person.installChoices.setupFolder = app;
    SUBCASE("completed")
    {
        CHECK(RunInstall(person, run.state).end == RunEnd::Completed);
        CHECK(FilesIn(app) == decltype(FilesIn(app)){{"A.TXT", "new A"}, {"B.TXT", "new B"}});
    }
    SUBCASE("aborted by the person after the first copy: the question promised the copied files stay")
    {
        // The abort comes at the poll after the first copy.
        person.AbortAfter(4);
        CHECK(RunInstall(person, run.state).end == RunEnd::Cancelled);
        CHECK(FilesIn(app) == decltype(FilesIn(app)){{"A.TXT", "new A"}});
    }
    CHECK_FALSE(PathExists(run.state.journalPath));
}

TEST_CASE("a journal a killed run left is undone by the next run, a line cut short ignored, each step logged")
{
    ScratchFolder folder("journal");
    ScratchKey key(HKEY_CURRENT_USER, "journal");
    REQUIRE(MakeKey(HKEY_CURRENT_USER, key.Path()));
    const std::string path = folder / "ORVSETUP.JNL";
    WriteTextFile(folder / "ソ.DAT", "earlier");
    WriteTextFile(folder / "KEPT.DAT", "the earlier file, still in place");
    WriteTextFile(folder / "SOURCE.DAT", "newer");
    {
        std::optional<Journal> journal = Journal::Start(path);
        REQUIRE(journal);
        REQUIRE(CreateFolderPath(folder / "NEW\\表\\", *journal));
        REQUIRE(CopyFileTo(folder / "SOURCE.DAT", folder / "ソ.DAT", *journal) == 0);
        REQUIRE(CopyFileTo(folder / "SOURCE.DAT", folder / "NEW\\表\\B.DAT", *journal) == 0);
        RegistryAccess registry(HKEY_CURRENT_USER, *journal);
        REQUIRE(registry.OpenKey(key / "Made\\Below", true));
        registry.WriteString("Value", "表示");
        // The process dies after journaling that KEPT.DAT goes aside, before
        // moving it: the undo must find no earlier file to put back.
        journal->MovedAside(folder / "KEPT.DAT", AsideName(folder / "KEPT.DAT"));
        journal->Close();  // nothing settles the journal
    }
    CHECK(ReadTextFile(folder / "ソ.DAT") == "newer");
    // The last line was being written when the process died.
    const std::string whole = ReadTextFile(path);
    WriteTextFile(path, whole + "file\t" + folder / "SOURCE.DAT");

    ScratchFolder logs("journal-log");
    {
        RunLog log;
        REQUIRE(log.Open(logs / "undo.log") == 0);
        CHECK(SettleJournal(path, ProtectedFolders({}), log).verdict == JournalVerdict::Undone);
    }

    CHECK(ReadTextFile(folder / "ソ.DAT") == "earlier");
    CHECK(ReadTextFile(folder / "KEPT.DAT") == "the earlier file, still in place");
    CHECK(ReadTextFile(folder / "SOURCE.DAT") == "newer");
    CHECK_FALSE(PathExists(folder / "NEW"));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, key / "Made"));
    CHECK_FALSE(PathExists(path));
    // Only the three files of the test: no earlier copy stays behind.
    CHECK(FilesIn(folder.Path()).size() == 3);
    const std::string logged = ReadTextFile(logs / "undo.log");
    CHECK(logged.find(Utf8("Undone: registry key removed: HKCU\\" + key / "Made")) != std::string::npos);
    CHECK(logged.find("Not undone") == std::string::npos);
    RunLog unopened;
    CHECK(SettleJournal(path, ProtectedFolders({}), unopened).verdict == JournalVerdict::None);
}

TEST_CASE("an INI file the script names without a folder is the Windows folder's, as the system's profile functions take it")
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string bare = std::string(windows) + "\\ORVFLOW.INI";
    DeleteFileA(bare.c_str());
    WindowlessRun run("[IniFile]\r\nData1=S,K,V,ORVFLOW.INI\r\n");
    RecordingCallback person;
    person.installChoices.setupFolder = run.target.Path();

    SUBCASE("written there")
    {
        CHECK(RunInstall(person, run.state).end == RunEnd::Completed);
        CHECK(ReadTextFile(bare) == "[S]\r\nK=V\r\n");
        CHECK(ReadProfile("S", "K", "", "ORVFLOW.INI") == "V");
    }
    SUBCASE("made there, and taken away again by the undo of a failed install")
    {
        run.state.journalPath = run.machine / "ORVSETUP.JNL";
        run.state.allOrNothing = true;
        UseScript(run.state, "[IniFile]\r\nData1=S,K,V,ORVFLOW.INI\r\n[CopyFile]\r\nFile1=(App)\\MISSING.TXT\r\n");
        CHECK(RunInstall(person, run.state).end == RunEnd::Failed);
        CHECK_FALSE(PathExists(bare));
    }
    DeleteFileA(bare.c_str());
}
