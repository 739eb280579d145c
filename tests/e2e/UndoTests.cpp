// Installs that cannot complete leave the machine as they found it, judged on
// snapshots of the whole C: drive and registry: the sample's unattended
// install failing at its first, a middle or its last file or at a registry
// value the system refuses; a reinstall failing half-way over an earlier
// install; an install killed in the middle of its copy. And the journal is
// followed only where it should be: never once its install ended, never
// when someone else wrote it.
#include <doctest/doctest.h>

#include "SampleRuns.h"
#include "ScreenExpectations.h"
#include "script/ScopeExit.h"
#include "services/Journal.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "windows/ControlIds.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The first free number of a numbered list of the script.
int NextNumber(const std::string& script, const std::string& section, const std::string& prefix)
{
    for (int n = 1;; ++n) {
        char value[16] = {};
        if (GetPrivateProfileStringA(section.c_str(), (prefix + std::to_string(n)).c_str(), "", value, sizeof value,
                                     script.c_str()) == 0)
            return n;
    }
}

void WriteEntry(const std::string& script, const std::string& section, const std::string& key,
                const std::string& value)
{
    REQUIRE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), script.c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, script.c_str());
}

// A person's install of the sample from disk 1, from the readme to the
// question for disk 2, which it returns: the files of disk 1, the folders
// and the counts are in place.
HWND InstallUpToDiskChange(const SetupProcess& setup, const SampleInstallation& sample)
{
    REQUIRE(setup.Started());
    Press(ControlOf(ExpectMainScreen(setup, "セットアップ続行(&C)"), MainIds::actionButton));
    Press(ControlOf(ExpectMainScreen(setup, "セットアップ開始(&S)"), MainIds::actionButton));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.FolderQuestion()), IDYES));
    return ExpectBox(setup, sample.DiskChange());
}

}  // namespace

TEST_CASE("an unattended install that fails anywhere leaves the machine as it was before the run")
{
    LaidOutSample laid("undo");
    ScratchKey key(HKEY_CURRENT_USER, "undo-e2e");
    REQUIRE(MakeVolatileKey(HKEY_CURRENT_USER, key.Path()));
    const MachineState before = SnapshotOfMachine();
    std::string failure;
    SUBCASE("at the first file: a damaged compressed file")
    {
        const std::string first = laid.Disk(1) + "SAMPLEVW.EX_";
        const std::string whole = ReadTextFile(first);
        WriteTextFile(first, whole.substr(0, whole.size() / 2));
        failure = "Not expanded (damaged compressed file): " + first;
    }
    SUBCASE("at a middle file: missing from the disk")
    {
        REQUIRE(DeleteFileA((laid.Disk(1) + "SAMPLE.DAT").c_str()));
        failure = "Skipped (source missing): " + laid.Disk(1) + "SAMPLE.DAT";
    }
    SUBCASE("at the last file: missing from disk 2")
    {
        REQUIRE(DeleteFileA((laid.Disk(2) + "SAMPLE2.DAT").c_str()));
        failure = "Skipped (source missing): " + laid.Disk(2) + "SAMPLE2.DAT";
    }
    SUBCASE("at a registry value the system refuses, after every file, shortcut and value before it")
    {
        const std::string script = laid.Disk(1) + "SETUP.INI";
        const std::string n = std::to_string(NextNumber(script, "Registry", "Key"));
        WriteEntry(script, "Registry", "Key" + n, "(Cuser)" + key / "Refused");
        WriteEntry(script, "Registry", "Name" + n, "Value");
        WriteEntry(script, "Registry", "Value" + n, "(Str)x");
        failure = "Error: ｷｰ " + key / "Refused" + " の作成に失敗しました";
    }
    CHECK(laid.InstallUnattended() == 1603);
    const std::vector<std::string> lines = LogLines(laid.log);
    CAPTURE(Utf8(failure));
    CHECK(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(Utf8(failure), 0) == 0; }));
    laid.CheckUndone(lines);
    std::vector<AllowedDifference> allowed = laid.RunFolders();
    // The component's registration makes this key on the way to its own;
    // its unregistration removes only its own, as the uninstall leaves it.
    allowed.push_back({"HKCU\\Software\\Orvane\\", "made by the component's registration on the way to its key"});
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), allowed);
}

TEST_CASE("a reinstall that fails half-way leaves the earlier install complete, and its uninstall removes it")
{
    LaidOutSample laid("undo");
    const MachineState before = SnapshotOfMachine();
    REQUIRE(laid.InstallUnattended() == 3010);
    const MachineState installed = SnapshotOfMachine();
    const std::string record = ReadTextFile(laid.sample.app + "UNSETUP.INI");

    // The next version, whose disk lacks a file half-way through the copy:
    // every file before it has already replaced the earlier one.
    WriteEntry(laid.Disk(1) + "SETUP.INI", "Product", "Version", "1.1");
    REQUIRE(DeleteFileA((laid.Disk(1) + "SAMPLE.DAT").c_str()));
    CHECK(laid.InstallUnattended() == 1603);
    const std::vector<std::string> lines = LogLines(laid.log);
    CHECK(std::any_of(lines.begin(), lines.end(),
                      [](const std::string& line) { return line.rfind("Undone: earlier file restored: ", 0) == 0; }));
    CHECK(HasLine(lines, "Install undone"));
    CheckOnlyAllowedDifferences(installed, SnapshotOfMachine(), laid.RunFolders());
    CHECK(ReadTextFile(laid.sample.app + "UNSETUP.INI") == record);

    const std::string quiet = StringValue(HKEY_LOCAL_MACHINE, laid.sample.entryKey, "QuietUninstallString");
    SetupProcess uninstall(ExactCommandLine{quiet}, laid.temp.Path());
    CHECK_FALSE(RunToEnd(uninstall).anyWindow);
    CHECK(uninstall.ExitCode() == 0);
    std::vector<AllowedDifference> allowed = laid.sample.KeptOnPurpose();
    for (const AllowedDifference& folder : laid.RunFolders()) allowed.push_back(folder);
    allowed.push_back({laid.sample.component, "the shared component nothing counts: kept by the unattended answer"});
    allowed.push_back({"HKCU\\Software\\Orvane\\SampleControl\\*", "the kept component's own registration"});
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), allowed);
}

TEST_CASE("an install killed in the middle of its copy is undone when a person starts it again: one box, then an install as if alone")
{
    LaidOutSample laid("undo");
    REQUIRE(laid.InstallUnattended() == 3010);
    const MachineState clean = SnapshotOfMachine();
    laid.sample.RemoveTraces();

    // A person's install from disk 1, killed while it waits for disk 2:
    // the files of disk 1, the folders and the counts are in place.
    ScratchFolder drive("undo-drive");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());
    {
        SetupProcess setup(drive / "SETUP.EXE", "", laid.temp.Path());
        InstallUpToDiskChange(setup, laid.sample);
        REQUIRE(PathExists(laid.sample.app + "SAMPLEVW.EXE"));
        REQUIRE(PathExists(laid.sample.component));
        setup.Kill();
    }
    REQUIRE(PathExists(laid.sample.windows + "ORVSETUP.JNL"));
    // The lines of the files it made were never flushed to disk on their
    // own: the killed run left them in its journal all the same, sealed.
    const std::optional<JournalContents> journal = ReadJournal(laid.sample.windows + "ORVSETUP.JNL");
    REQUIRE(journal.has_value());
    CHECK(journal->fault.empty());
    CHECK_FALSE(journal->ended);
    const std::string madeFile = laid.sample.app + "SAMPLEVW.EXE";
    CHECK(std::any_of(journal->entries.begin(), journal->entries.end(), [&](const JournalEntry& entry) {
        const auto* file = std::get_if<FileLine>(&entry);
        return file != nullptr && _stricmp(file->path.c_str(), madeFile.c_str()) == 0;
    }));

    // A normal start on the same distribution: the box says once what was
    // undone; its OK leads on to the readme, the settings and an install
    // that completes.
    {
        SetupProcess setup(drive / "SETUP.EXE", "/LOG=" + Quoted(laid.log), laid.temp.Path());
        REQUIRE(setup.Started());
        const ExpectedBox undone = {
            "セットアップ", "前回のセットアップが途中で終了していたため，そのセットアップで行った変更を元に戻しました．"};
        CHECK(AnswerAndWait(ExpectBox(setup, undone), IDOK));
        ExpectMainScreen(setup, "セットアップ続行(&C)");
        CHECK(FindWindowOf(setup.Id(), "#32770") == nullptr);
        InstallSampleFromReadme(laid.sample, setup, drive.Path());
    }
    const std::vector<std::string> lines = LogLines(laid.log);
    CHECK(HasLine(lines, "The interrupted install was undone"));
    CHECK(HasLine(lines, Utf8("Undone: file removed: " + laid.sample.app + "SAMPLEVW.EXE")));
    std::vector<AllowedDifference> allowed = laid.RunFolders();
    allowed.push_back({drive.Path() + "*", "the killed run's drive"});
    allowed.push_back({"HKLM\\" + laid.sample.entryKey + "\\|RepairString", "the repair command runs that drive's SETUP.EXE"});
    // A shortcut file holds its target's creation time, which no two
    // installs share.
    allowed.push_back({"C:\\users\\*.lnk", "a shortcut: made again"});
    CheckOnlyAllowedDifferences(clean, SnapshotOfMachine(), allowed);
}

namespace {

// Another product: a distribution of the test's own that copies one file
// into a folder of its own and writes no record ("Setup Only."), run as an
// administrator's script runs it.
struct OtherProduct {
    ScratchFolder root{"undo-other"};
    std::string app = root / "App\\";
    std::string log = root / "other.log";

    OtherProduct()
    {
        REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", root / "SETUP.EXE"));
        WriteTextFile(root / "OTHER.DAT", "the other product");
        WriteTextFile(root / "SETUP.INI", "[Title]\r\nUnSetup=Setup Only.\r\n[DefaultFolder]\r\nFolder=" + app +
                                              "\r\n[CopyFile]\r\nFile1=(App)OTHER.DAT\r\n");
    }

    DWORD InstallUnattended(const std::string& temp) const
    {
        SetupProcess setup(ExactCommandLine{Quoted(root / "SETUP.EXE") + " /S /LOG=" + Quoted(log)}, temp);
        CHECK_FALSE(RunToEnd(setup).anyWindow);
        return setup.ExitCode();
    }
};

}  // namespace

TEST_CASE("a finished install whose journal another program holds as it ends stays installed through the next run")
{
    LaidOutSample laid("undo");
    const std::string journal = laid.sample.windows + "ORVSETUP.JNL";
    ScratchFolder drive("undo-held");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());
    {
        // The person's install, up to the association question: its journal
        // is there, and the install ends right after the answer.
        SetupProcess setup(drive / "SETUP.EXE", "", laid.temp.Path());
        HWND disk = InstallUpToDiskChange(setup, laid.sample);
        REQUIRE(CopyDisk(SampleDisk(2), drive.Path(), {"SETUP.EXE"}).empty());
        CHECK(AnswerAndWait(disk, IDOK));
        HWND associate = ExpectBox(setup, laid.sample.AssociationQuestion());
        REQUIRE(PathExists(journal));
        std::unique_ptr<HeldOpen> reader;
        SUBCASE("held open, without delete sharing, as a virus scanner or a backup agent holds it")
        {
            reader = std::make_unique<HeldOpen>(journal, FILE_SHARE_READ | FILE_SHARE_WRITE);
        }
        SUBCASE("made read-only")
        {
            REQUIRE(SetFileAttributesA(journal.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        CHECK(AnswerAndWait(associate, IDYES));
        HWND offer = WaitForAnyBox(setup.Id(), 60000);
        REQUIRE(offer != nullptr);
        CHECK(AnswerAndWait(offer, IDNO));
        CHECK(AnswerAndWait(ExpectBox(setup, laid.sample.RestartWarning()), IDOK));
        REQUIRE(setup.WaitForExit());
        CHECK(setup.ExitCode() == 3010);
    }
    REQUIRE(PathExists(laid.sample.app + "UNSETUP.INI"));
    const MachineState installed = SnapshotOfMachine();

    // The next unattended install, of an unrelated product.
    OtherProduct other;
    CHECK(other.InstallUnattended(laid.temp.Path()) == 0);
    CHECK(ReadTextFile(other.app + "OTHER.DAT") == "the other product");
    const std::vector<std::string> lines = LogLines(other.log);
    CHECK_FALSE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return line.rfind("Undone", 0) == 0; }));
    CHECK_FALSE(PathExists(journal));
    std::vector<AllowedDifference> allowed = laid.RunFolders();
    allowed.push_back({other.root.Path() + "*", "the other product"});
    allowed.push_back({journal, "the journal, which the next run removed"});
    allowed.push_back({laid.sample.uninstaller, "the other product's copy of the uninstaller"});
    CheckOnlyAllowedDifferences(installed, SnapshotOfMachine(), allowed);
}

namespace {

// Everything a journal may name, made by the test outside any install and
// watched for changes; the journal that names it is planted when all of it
// is older than the journal's start.
struct Victims {
    ScratchFolder folder{"undo-victims"};
    ScratchKey key{HKEY_CURRENT_USER, "undo-victims"};
    std::string file = folder / "USER.DOC";
    std::string replaced = folder / "KEPT.DOC";
    std::string aside = folder / "OVJ1A2B.tmp";
    std::string emptyFolder = folder / "Favorites\\";
    std::string dll = folder / "victim.dll";
    std::string systemIni = WindowsFolder() + "system.ini";
    std::string systemIniBytes = ReadTextFile(systemIni);
    std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    Victims()
    {
        WriteTextFile(file, "the user's document");
        WriteTextFile(replaced, "the user's other document");
        REQUIRE(CreateDirectoryA(emptyFolder.c_str(), nullptr));
        REQUIRE(CopyFixture(ProgramFolder() + "regok.dll", dll));
        REQUIRE(StoreValue(HKEY_CURRENT_USER, key / "Tree", "Setting", REG_SZ, std::string("kept\0", 5)));
        ClearRegistrationTraces();
    }
    ~Victims()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, run.c_str(), "OrvaneUndoVictim");
        if (ReadTextFile(systemIni) != systemIniBytes) WriteTextFile(systemIni, systemIniBytes);
    }
    Victims(const Victims&) = delete;
    Victims& operator=(const Victims&) = delete;

    // The lines of a journal that would have an undo harm each of them.
    std::vector<std::string> Lines() const
    {
        return {
            "file\t" + file,
            "aside\t" + replaced + "\t" + aside,
            "folder\t" + emptyFolder,
            "key\tHKCU\t" + key.Path(),
            "value\tHKCU\t" + run + "\tOrvaneUndoVictim\t1\t6500760069006C002E006500780065000000",
            "ini\t" + systemIni + "\tboot\tshell\t=evil.exe",
            "file\t" + dll,
            "registered\t" + dll + "\t0",
        };
    }

    void CheckUntouched() const
    {
        CHECK(ReadTextFile(file) == "the user's document");
        CHECK(ReadTextFile(replaced) == "the user's other document");
        CHECK(PathExists(emptyFolder));
        CHECK(StoredText(HKEY_CURRENT_USER, key / "Tree", "Setting") == "kept");
        CHECK_FALSE(ReadStoredValue(HKEY_CURRENT_USER, run, "OrvaneUndoVictim"));
        CHECK(ReadTextFile(systemIni) == systemIniBytes);
        CHECK(PathExists(dll));
        CHECK(RegistrationTrace(dll).empty());
    }
};

// A journal as someone other than an install of this program wrote it:
// sealed line by line as the program seals its own, or not at all.
std::string PlantedJournal(const std::vector<std::string>& lines, bool sealed)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const uint64_t start = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::vector<std::string> all = {"OrvaneJournal 2", "run\t0\t" + std::to_string(start) + "\t" + std::to_string(start)};
    all.insert(all.end(), lines.begin(), lines.end());
    JournalSeal seal;
    std::string text;
    for (const std::string& line : all) text += (sealed ? seal.Sealed(line) : line) + "\r\n";
    return text;
}

}  // namespace

TEST_CASE("a journal planted in the Windows folder is set aside by the next run, and nothing it names is touched")
{
    LaidOutSample laid("undo");
    Victims victims;
    WriteTextFile(victims.aside, "not what the user had");
    const std::string journal = laid.sample.windows + "ORVSETUP.JNL";
    const std::string keptAs = laid.sample.windows + "ORVSETUP-1.JNL";
    const ScopeExit removeJournals([&] {
        DeleteFileA(journal.c_str());
        DeleteFileA(keptAs.c_str());
    });
    // Everything named is older than the journal's start, as anything that
    // no run of the journal made.
    Sleep(2500);
    bool sealed = false;
    SUBCASE("sealed line by line as the program seals its own") { sealed = true; }
    SUBCASE("written by hand, without seals") { sealed = false; }
    const std::string planted = PlantedJournal(victims.Lines(), sealed);
    WriteTextFile(journal, planted);

    CHECK(laid.InstallUnattended() == 3010);
    victims.CheckUntouched();
    const std::vector<std::string> lines = LogLines(laid.log);
    CHECK(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("The journal was set aside, nothing of it undone: ", 0) == 0;
    }));
    CHECK(HasLine(lines, Utf8("It was kept as " + keptAs)));
    CHECK(ReadTextFile(keptAs) == planted);
    // Sealed, each line that names what its run did not make is refused on
    // its own.
    const auto refused = std::count_if(lines.begin(), lines.end(),
                                       [](const std::string& line) { return line.rfind("Not followed: ", 0) == 0; });
    CHECK(refused == (sealed ? 8 : 0));
}
