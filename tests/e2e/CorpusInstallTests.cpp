// The author tool's compressed files, expanded by SETUP.EXE itself: the
// compression corpus of the author tools' tests (empty, one byte, text,
// binary, repetitive, random, 10 MiB) is laid out by `orvauthor layout` (its
// Windows form, built by tools/build-author.sh) into a distribution whose
// script installs every corpus file twice, compressed: once under the name
// stored in the compressed file (AUTO.EXT, which the install writes in upper
// case) and once renamed with "|". SETUP.EXE runs as its own process, driven
// through its windows, and every installed file must be the original byte
// for byte, under exactly the expected name.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "SampleRuns.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "script/PathParts.h"
#include "services/Win32Files.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"
// The author tools' corpus (tools/author/tests/support).
#include "Corpus.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::string LowerCase(std::string name)
{
    CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

// The compressed name of a source: its last character becomes "_".
std::string CompressedName(const std::string& name)
{
    return name.substr(0, name.size() - 1) + "_";
}

// The name under which an entry renamed with "|" installs the file.
std::string RenamedName(const std::string& name)
{
    return "Renamed " + LowerCase(name);
}

std::string Bytes(const CorpusFile& file)
{
    return std::string(file.bytes.begin(), file.bytes.end());
}

// The author's source folder: the corpus under lower-case names, so that
// the upper case of the installed names is the installer's doing, and a
// script that installs each file compressed, with and without "|".
void WriteSource(const std::vector<CorpusFile>& corpus, const std::string& source, const std::string& app)
{
    std::string copies;
    int number = 0;
    for (const CorpusFile& file : corpus) {
        const std::string name = LowerCase(file.name);
        WriteTextFile(source + name, Bytes(file));
        copies += "File" + std::to_string(++number) + "=(App)\\" + CompressedName(name) + "\r\n";
        copies += "File" + std::to_string(++number) + "=(App)\\RENAMED\\" + CompressedName(name) + "|" +
                  RenamedName(file.name) + "\r\n";
    }
    WriteTextFile(source + "SETUP.INI", "[Title]\r\nSetup=Corpus\r\nUnSetup=Corpus Setup Only.\r\n"
                                        "[DefaultFolder]\r\nFolder=" + app + "\r\n"
                                        "[Extend]\r\nSetupSpeed=0\r\n"
                                        "[MakeFolder]\r\nFolder1=(App)\\RENAMED\r\n"
                                        "[CopyFile]\r\n" + copies);
}

// Runs a program of the author tools' Windows build and waits for its end;
// its exit code, or -1 when it could not run.
int RunAuthorTool(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info))
        return -1;
    const KernelHandle thread(info.hThread);
    const KernelHandle process(info.hProcess);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.Get(), 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.Get(), &code);
    return static_cast<int>(code);
}

// The names in a folder, as the file system spells them.
std::set<std::string> NamesIn(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((folder + "*").c_str(), &found));
    if (!search) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(search.Get(), &found));
    return names;
}

// Empty when the file holds exactly `expected`; otherwise where it differs
// (a 10 MiB file is not printed whole).
std::string Mismatch(const std::string& path, const std::string& expected)
{
    if (!PathExists(path)) return "missing";
    const std::string actual = ReadTextFile(path);
    if (actual == expected) return {};
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return std::to_string(actual.size()) + " bytes instead of " + std::to_string(expected.size()) +
           ", the first difference at byte " + std::to_string(at);
}

bool StartsWithSignature(const std::string& path)
{
    return ReadTextFile(path).compare(0, 8, std::string("SZDD\x88\xF0\x27\x33", 8)) == 0;
}

}  // namespace

TEST_CASE("SETUP.EXE expands every file of the compression corpus that orvauthor laid out, byte for byte")
{
    const std::string orvauthor = ProgramFolder() + "..\\author\\windows\\orvauthor.exe";
    REQUIRE_MESSAGE(PathExists(orvauthor), "the author tools' Windows form is built by tools/build-author.sh");
    const std::vector<CorpusFile> corpus = MakeCorpus();
    ScratchFolder source("corpus-src");
    ScratchFolder distribution("corpus-dist");
    ScratchFolder installed("corpus-app");
    ScratchFolder temp("corpus-tmp");
    const std::string app = installed / "App\\";
    WriteSource(corpus, source.Path(), app);
    // The uninstaller copy that every install makes is the machine's: it
    // goes again when this test made it.
    const SampleInstallation machine;
    const bool uninstallerBefore = PathExists(machine.uninstaller);

    const std::string dist = distribution / "DIST\\";
    REQUIRE(RunAuthorTool("\"" + orvauthor + "\" layout --setup-exe \"" + ProgramFolder() + "SETUP.EXE\" \"" +
                          WithoutTrailingBackslash(source.Path()) + "\" \"" + WithoutTrailingBackslash(dist) + "\"") == 0);
    for (const CorpusFile& file : corpus) {
        const std::string compressed = dist + CompressedName(LowerCase(file.name));
        CHECK_MESSAGE(StartsWithSignature(compressed), "not compressed: " << compressed);
        CHECK_FALSE(PathExists(dist + LowerCase(file.name)));
    }

    SetupProcess setup(dist + "SETUP.EXE", "", temp.Path());
    REQUIRE(setup.Started());
    HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
    CHECK(TextOf(ControlOf(main, MainIds::folderBox)) == app);
    Press(ControlOf(main, MainIds::actionButton));
    CHECK(AnswerAndWait(ExpectBox(setup, {"フォルダ作成", app + "\r\rこのフォルダは存在しません．作成してもよろしいですか？"}),
                        IDYES));
    CHECK(AnswerAndWait(ExpectBox(setup, {"完了", "セットアップが完了しました．"}, 180000), IDOK));
    REQUIRE(setup.WaitForExit());
    if (!uninstallerBefore) DeleteFileA(machine.uninstaller.c_str());

    std::set<std::string> expectedNames = {"RENAMED"}, expectedRenamed;
    for (const CorpusFile& file : corpus) {
        CAPTURE(file.name);
        const std::string byStoredName = Mismatch(app + file.name, Bytes(file));
        CHECK_MESSAGE(byStoredName.empty(), byStoredName);
        const std::string renamed = Mismatch(app + "RENAMED\\" + RenamedName(file.name), Bytes(file));
        CHECK_MESSAGE(renamed.empty(), renamed);
        expectedNames.insert(file.name);
        expectedRenamed.insert(RenamedName(file.name));
    }
    // Exactly these names, spelled exactly so: AUTO.EXT in upper case, a
    // name after "|" as written; the expansion leaves nothing else behind.
    CHECK(NamesIn(app) == expectedNames);
    CHECK(NamesIn(app + "RENAMED\\") == expectedRenamed);
    CHECK_FALSE(PathExists(temp / "EXPAND.OVX"));
}

TEST_CASE("every form of a [CopyFile] entry, laid out by orvauthor, installs without a failure report")
{
    const std::string orvauthor = ProgramFolder() + "..\\author\\windows\\orvauthor.exe";
    REQUIRE_MESSAGE(PathExists(orvauthor), "the author tools' Windows form is built by tools/build-author.sh");
    ScratchFolder source("forms-src");
    ScratchFolder distribution("forms-dist");
    ScratchFolder installed("forms-app");
    ScratchFolder temp("forms-tmp");
    const std::string app = installed / "App\\";
    // The installed name and the source's contents of each entry.
    const std::vector<std::pair<std::string, std::string>> files = {
        {app + "PLAIN.TXT", "a token, then a backslash"},
        {app + "NOSLASH.TXT", "a token right before the name"},
        {temp / "ORVFORMS.DAT", "a shared file, its token right before the name"},
        {app + "SUB\\PACKED.TXT", "compressed, installed under the name stored in it"},
        {app + "SUB\\RENAMED.TXT", "compressed and renamed, always written"},
        {app + "SUB\\COPY.DAT", "renamed into a subfolder"},
        {app + "DISK2.TXT", "on the second disk"},
        {app + "SUB\\ソ表.TXT", "a name whose trail bytes are backslashes"},
    };
    const std::vector<std::pair<std::string, std::string>> sources = {
        {"PLAIN.TXT", "(App)\\PLAIN.TXT"},
        {"NOSLASH.TXT", "(App)NOSLASH.TXT"},
        {"ORVFORMS.DAT", "(Tmp)ORVFORMS.DAT,/S"},
        {"PACKED.TXT", "(App)\\SUB\\PACKED.TX_"},
        {"NAMED.TXT", "(app)SUB\\NAMED.TX_|RENAMED.TXT,/w"},
        {"ORIGINAL.DAT", "(App)\\ORIGINAL.DAT|SUB\\COPY.DAT"},
        {"DISK2.TXT", "(Dch)(App)DISK2.TXT"},
        {"ソ表.TXT", "(App)\\SUB\\ソ表.TXT,/W"},
    };
    std::string entries;
    for (size_t n = 0; n < sources.size(); ++n) {
        WriteTextFile(source / sources[n].first, files[n].second);
        entries += "File" + std::to_string(n + 1) + "=" + sources[n].second + "\r\n";
    }
    WriteTextFile(source / "SETUP.INI", "[Title]\r\nSetup=Forms\r\nUnSetup=Forms Setup Only.\r\n"
                                        "[DefaultFolder]\r\nFolder=" + app + "\r\n"
                                        "[Extend]\r\nSetupSpeed=1\r\n"
                                        "[MakeFolder]\r\nFolder1=(App)\\SUB\r\n"
                                        "[CopyFile]\r\n" + entries);
    const SampleInstallation machine;
    const bool uninstallerBefore = PathExists(machine.uninstaller);

    const std::string dist = distribution / "DIST\\";
    REQUIRE(RunAuthorTool("\"" + orvauthor + "\" layout --setup-exe \"" + ProgramFolder() + "SETUP.EXE\" \"" +
                          WithoutTrailingBackslash(source.Path()) + "\" \"" + WithoutTrailingBackslash(dist) + "\"") == 0);
    const std::string log = temp / "forms.log";
    SetupProcess setup(ExactCommandLine{Quoted(dist + "DISK1\\SETUP.EXE") + " /S /NORESTART /LOG=" + Quoted(log)},
                       temp.Path());
    RunToEnd(setup);
    // A failure report of an unattended run ends it with 1603.
    CHECK(setup.ExitCode() == 0);
    const std::vector<std::string> lines = LogLines(log);
    for (const std::string& line : lines) CHECK_MESSAGE(line.find("Skipped") == std::string::npos, line);
    for (const auto& [path, contents] : files) CHECK_MESSAGE(Mismatch(path, contents).empty(), path);

    DeleteFileA((temp / "ORVFORMS.DAT").c_str());
    HKEY shared = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, machine.sharedDlls.c_str(), 0, KEY_SET_VALUE, &shared) == ERROR_SUCCESS) {
        RegDeleteValueA(shared, (temp / "ORVFORMS.DAT").c_str());
        RegCloseKey(shared);
    }
    if (!uninstallerBefore) DeleteFileA(machine.uninstaller.c_str());
}
