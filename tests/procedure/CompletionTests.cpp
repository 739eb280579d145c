// The end of an install on the real windows, files and registry: the
// uninstaller copy, the record as the completion writes it, the Add/Remove
// Programs entry, OVSET98.INI, the failure report and its details screen,
// the completion message, the restart request and the program started after
// the setup.
#include <doctest/doctest.h>

#include "support/Utf8.h"

#include "InstallFixture.h"
#include "install/InstallCompletion.h"
#include "record/PreviousRecord.h"
#include "services/SystemErrorText.h"
#include "support/FileShapes.h"
#include "support/PendingRenames.h"
#include "support/ScratchRegistry.h"
#include "text/IniFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

const std::string Completed = "セットアップが完了しました．";
const std::string CompletedWithUninstall = "セットアップが完了しました．\r\rプログラムのアンセットアップ(アンインストール)は，"
                                           "\r「アプリケーションの追加と削除」から行ってください．";
const std::string FailureQuestion = "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？";

// An Add/Remove Programs entry of the test's own, removed before and after.
class ScratchUninstallEntry {
public:
    explicit ScratchUninstallEntry(std::string name) : name_(std::move(name)) { Remove(); }
    ~ScratchUninstallEntry() { Remove(); }
    ScratchUninstallEntry(const ScratchUninstallEntry&) = delete;
    ScratchUninstallEntry& operator=(const ScratchUninstallEntry&) = delete;
    const std::string& Name() const { return name_; }
    std::string Key() const { return std::string(UninstallListKey) + name_; }
    std::string Value(const std::string& value) const { return StoredText(HKEY_LOCAL_MACHINE, Key(), value); }

private:
    void Remove() const { RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key().c_str()); }
    std::string name_;
};

std::string UniqueTitle(const std::string& purpose)
{
    static int counter = 0;
    return "OrvaneTest " + purpose + " " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::string Ovset98(const RunFixture& fixture)
{
    return fixture.windows / "OVSET98.INI";
}

}  // namespace

TEST_CASE("the completion writes the example record, the Add/Remove entry, UNOVSET.EXE and OVSET98.INI")
{
    ScratchUninstallEntry entry("Sample Uninstall");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".smp");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "smp_auto_file");
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nSetup=Sample\r\nUnSetup=Sample Uninstall\r\n[ProgramID]\r\nID=SAMPLE01\r\n"
                    "[Extend]\r\nUnSetupOption=1,0,0,0\r\n"
                    "[ShortCut]\r\nMake1=(App)SAMPLE.EXE\r\nName1=(Sta)Sample\\Sample\r\n"
                    "[DeleteRegistry]\r\nKey1=(Cuser)Software\\Sample\r\n"
                    "[Relate]\r\nName1=smp\r\nFile1=open,(App)SAMPLE.EXE,%1,0\r\n");
    fixture.SkipToActionPhases();
    WriteTextFile(fixture.source / "SETUP.EXE", "MZ the uninstaller");
    const std::string app = fixture.app;
    // What the folder and copy phases leave.
    fixture.install.relateTable = fixture.state.script.relate;
    fixture.install.lists.deleteFolderList = {app + "DATA\\"};
    fixture.install.lists.deleteFileList = {app + "SAMPLE.EXE", fixture.state.systemFolder + "SAMPLE.OCX,/S/R", fixture.RecordPath()};

    ScriptedDialogs person;
    person.Answer(IDYES).Answer(IDOK);
    RunWatcher watcher(fixture);
    fixture.RunToEnd();
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".smp");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "smp_auto_file");

    const std::vector<std::string> expected = {
        "[Information]",
        "Message1=Orvane UnSetup(UnInstall) Initialize File",
        "Message2=！！！　警告　！！！",
        "Message3=このファイルをエディタなどで書き換えたり，削除しないでください．",
        "Message4=書き換えた場合，アンセットアップ動作の保証はできません．",
        "[Title]",
        "UnSetup=Sample Uninstall",
        "[SetupFolder]",
        "Folder=" + app,
        "[DeleteFolder]",
        "Folder1=" + app + "DATA\\",
        "[DeleteFile]",
        "File1=" + app + "SAMPLE.EXE",
        "File2=" + fixture.state.systemFolder + "SAMPLE.OCX,/S/R",
        "File3=" + app + "UNSETUP.INI",
        "[DeleteShortCut]",
        "File1=" + fixture.shell.Path() + "Start Menu\\Programs\\Sample\\Sample.lnk",
        "[DeleteRegistry]",
        "Key1=(Cuser)Software\\Sample",
        "[RestoreRelate]",
        "Key1=smp,",
        "[UnSetupOption]",
        "CheckBox=1,0,0,0",
        "[UnSetupRegistryKey]",
        "Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample Uninstall",
        "[ProgramID]",
        "ID=SAMPLE01",
    };
    CHECK(NonBlankLines(ReadTextFile(fixture.RecordPath())) == expected);

    const std::string uninstaller = fixture.windows / "UNOVSET.EXE";
    CHECK(ReadTextFile(uninstaller) == "MZ the uninstaller");
    CHECK(entry.Value("DisplayName") == "Sample Uninstall");
    CHECK(entry.Value("UninstallString") == uninstaller + " \"" + app + "UNSETUP.INI\"");
    CHECK(entry.Value("QuietUninstallString") ==
          uninstaller + " \"" + app + "UNSETUP.INI\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART");
    CHECK(ReadProfile("SAMPLE01", "Folder", "", Ovset98(fixture)) == app);

    // The association question, then the completion message.
    REQUIRE(person.Boxes().size() == 2);
    CHECK(person.Boxes()[1].text == CompletedWithUninstall);
    CHECK(person.Boxes()[1].caption == "完了");
    CHECK(person.Boxes()[1].flags == (MB_OK | MB_ICONINFORMATION));
    const std::vector<std::string> tailTexts(watcher.texts.end() - 8, watcher.texts.end());
    CHECK(tailTexts == std::vector<std::string>{
                           "アンセットアップ情報を更新しています．しばらくお待ちください．．．",
                           "アンセットアップ情報(削除フォルダ)を更新しています．しばらくお待ちください．．．",
                           "アンセットアップ情報(削除ファイル)を更新しています．しばらくお待ちください．．．",
                           "アンセットアップ情報(削除ショートカット)を更新しています．しばらくお待ちください．．．",
                           "アンセットアップ情報(削除レジストリ)を更新しています．しばらくお待ちください．．．",
                           "アンセットアップ情報(追加削除ファイル)を更新しています．しばらくお待ちください．．．",
                           "アンセットアップ情報(復元関連付け)を更新しています．しばらくお待ちください．．．",
                           Completed,
                       });

    // The close: the abort button off, the progress window gone, the run ended.
    CHECK_FALSE(fixture.status.abortButton.Enabled());
    CHECK_FALSE(fixture.status.Visible());
    CHECK(fixture.back.Enabled());
    CHECK(fixture.main.ModalResult() == 1);
    CHECK(fixture.state.rebootNeeded == 0);
}

TEST_CASE("a second install into the same folder keeps the keys and numbers, and an earlier \",/S\"")
{
    const std::string title = UniqueTitle("again");
    ScratchUninstallEntry entry(title);
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[ProgramID]\r\nID=AGAIN\r\n"
                    "[ShortCut]\r\nMake1=(App)A.EXE\r\nName1=(Smn)A\r\n"
                    "[DeleteRegistry]\r\nKey1=(Cuser)Software\\Again\r\n");
    fixture.SkipToActionPhases();
    const std::string app = fixture.app;
    fixture.install.lists.deleteFileList = {app + "A.EXE,/S", app + "B.DLL,/S", fixture.RecordPath()};
    ScriptedDialogs person;
    person.Answer(IDOK).Answer(IDOK);
    fixture.RunToEnd();
    std::vector<std::string> expected = NonBlankLines(ReadTextFile(fixture.RecordPath()));

    // The second run starts its lists from the record, as the preparation
    // does; its script now drops "/S" for A.EXE and has "/R" for B.DLL.
    fixture.install = InstallRun{fixture.state};
    fixture.TakeOptions();
    LoadPreviousRecord(fixture.RecordPath(), fixture.state.unSetupBackupPath, fixture.install.lists, fixture.state.restoreRelateSlots,
                       fixture.install.Changes());
    for (const std::string& file : {app + "A.EXE", app + "B.DLL,/R", fixture.RecordPath()})
        fixture.install.lists.deleteFileList.push_back(file);
    fixture.RunToEnd();

    const auto file2 = std::find(expected.begin(), expected.end(), "File2=" + app + "B.DLL,/S");
    REQUIRE(file2 != expected.end());
    *file2 = "File2=" + app + "B.DLL,/R/S";
    CHECK(NonBlankLines(ReadTextFile(fixture.RecordPath())) == expected);
    CHECK(std::find(expected.begin(), expected.end(), "File1=" + app + "A.EXE,/S") != expected.end());
    CHECK(std::find(expected.begin(), expected.end(), "File1=" + fixture.shell.Path() + "Start Menu\\A.lnk") !=
          expected.end());
    CHECK(person.Boxes().size() == 2);
}

TEST_CASE("the Add/Remove entry tells version, publisher, icon, folder, size and date; a reinstall updates them")
{
    const std::string title = UniqueTitle("product");
    ScratchUninstallEntry entry(title);
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[Product]\r\nVersion=2.1\r\nPublisher=表示ソフト工房\r\n"
                    "URL=https://example.jp/hyouji\r\nIcon=(App)A.EXE,0\r\n");
    fixture.SkipToActionPhases();
    const std::string app = fixture.app;
    // 1,500 bytes and 1 byte installed, a shared entry among them: 2 KB.
    WriteTextFile(app + "A.EXE", std::string(1500, 'a'));
    WriteTextFile(app + "B.DLL", "b");
    fixture.install.lists.deleteFileList = {app + "A.EXE", app + "B.DLL,/S", fixture.RecordPath()};
    ScriptedDialogs person;
    person.Answer(IDOK).Answer(IDOK);
    fixture.RunToEnd();

    const auto dword = [&](const char* name) {
        const std::optional<StoredValue> value = ReadStoredValue(HKEY_LOCAL_MACHINE, entry.Key(), name);
        REQUIRE(value);
        CHECK(value->type == REG_DWORD);
        REQUIRE(value->bytes.size() == 4);
        uint32_t number = 0;
        std::memcpy(&number, value->bytes.data(), 4);
        return number;
    };
    CHECK(entry.Value("DisplayVersion") == "2.1");
    CHECK(entry.Value("Publisher") == "表示ソフト工房");
    CHECK(entry.Value("URLInfoAbout") == "https://example.jp/hyouji");
    CHECK(entry.Value("DisplayIcon") == app + "A.EXE,0");
    CHECK(entry.Value("InstallLocation") + "\\" == app);
    const uint32_t recordKilobytes = static_cast<uint32_t>(ReadTextFile(fixture.RecordPath()).size());
    CHECK(dword("EstimatedSize") == (1500 + 1 + recordKilobytes + 1023) / 1024);
    const std::string date = entry.Value("InstallDate");
    CHECK(date.size() == 8);
    CHECK(date.find_first_not_of("0123456789") == std::string::npos);
    CHECK(dword("NoModify") == 1);
    // The distribution repairs the program: no system tool runs the
    // command, administrators do.
    CHECK(dword("NoRepair") == 0);
    CHECK(entry.Value("RepairString") == "\"" + fixture.state.sourceFolder + "SETUP.EXE\" /REPAIR");

    // The reinstall of a script without the section: the version and the
    // rest are gone, the icon is the uninstaller's, the flags stay.
    fixture.state.script = ParseSetupScript("[Title]\r\nUnSetup=" + title + "\r\n");
    fixture.install = InstallRun{fixture.state};
    fixture.TakeOptions();
    fixture.install.lists.deleteFileList = {app + "A.EXE", fixture.RecordPath()};
    fixture.RunToEnd();
    CHECK(entry.Value("DisplayVersion") == "<none>");
    CHECK(entry.Value("Publisher") == "<none>");
    CHECK(entry.Value("URLInfoAbout") == "<none>");
    CHECK(entry.Value("DisplayIcon") == fixture.windows / "UNOVSET.EXE");
    CHECK(dword("NoRepair") == 0);

    // A distribution in the temporary folder (a one-file package unpacks
    // there and removes it afterwards) leaves nothing to repair from.
    fixture.state.tempFolder = fixture.state.sourceFolder.substr(0, fixture.state.sourceFolder.size() - 1);
    fixture.state.tempFolder.resize(fixture.state.tempFolder.rfind('\\') + 1);
    fixture.install = InstallRun{fixture.state};
    fixture.TakeOptions();
    fixture.install.lists.deleteFileList = {app + "A.EXE", fixture.RecordPath()};
    person.Answer(IDOK);
    fixture.RunToEnd();
    CHECK(dword("NoRepair") == 1);
    CHECK(entry.Value("RepairString") == "<none>");
}

TEST_CASE("UNOVSET.EXE is replaced only by a newer SETUP.EXE; a failed copy is reported")
{
    const std::string title = UniqueTitle("copy");
    ScratchUninstallEntry entry(title);
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n");
    fixture.SkipToActionPhases();
    const std::string setup = fixture.source / "SETUP.EXE";
    const std::string uninstaller = fixture.windows / "UNOVSET.EXE";
    WriteTextFile(setup, "new");
    fixture.install.lists.deleteFileList = {fixture.RecordPath()};
    ScriptedDialogs person;

    SUBCASE("a newer uninstaller stays")
    {
        WriteTextFile(uninstaller, "newer");
        REQUIRE(SetWriteTime(uninstaller, MomentFromNow(3600)));
        person.Answer(IDOK);
        fixture.RunToEnd();
        CHECK(ReadTextFile(uninstaller) == "newer");
        CHECK(person.Boxes().size() == 1);
    }
    SUBCASE("an older uninstaller is replaced")
    {
        WriteTextFile(uninstaller, "older");
        REQUIRE(SetWriteTime(uninstaller, MomentFromNow(-3600)));
        person.Answer(IDOK);
        fixture.RunToEnd();
        CHECK(ReadTextFile(uninstaller) == "new");
    }
    SUBCASE("an older uninstaller that is running is replaced at the restart, unreported")
    {
        WriteTextFile(uninstaller, "older");
        REQUIRE(SetWriteTime(uninstaller, MomentFromNow(-3600)));
        const PendingRenamesRestored restored;
        const size_t pendingBefore = PendingRenames().size();
        person.Answer(IDOK);
        {
            HeldOpen running(uninstaller, FILE_SHARE_READ);
            fixture.RunToEnd();
        }
        CHECK(ReadTextFile(uninstaller) == "older");
        const std::vector<std::string> pending = PendingRenames();
        REQUIRE(pending.size() == pendingBefore + 2);
        const std::string waiting = PendingRenamePath(pending[pendingBefore]);
        CHECK(ReadTextFile(waiting) == "new");
        CHECK(pending[pendingBefore + 1] == "!\\??\\" + uninstaller);
        CHECK(person.Boxes().size() == 1);  // the completion, no failure
        CHECK(fixture.state.rebootNeeded == 1);
        DeleteFileA(waiting.c_str());
    }
    SUBCASE("without SETUP.EXE nothing is copied and nothing reported")
    {
        DeleteFileA(setup.c_str());
        person.Answer(IDOK);
        fixture.RunToEnd();
        CHECK_FALSE(PathExists(uninstaller));
        CHECK(person.Boxes().size() == 1);
    }
    SUBCASE("a copy that fails adds a <SetupFile> block; the details are shown and continued")
    {
        // A folder where the file should be: the copy is refused (5).
        CreateDirectoryA(uninstaller.c_str(), nullptr);
        REQUIRE(SetWriteTime(uninstaller, MomentFromNow(-3600)));
        fixture.install.failures.AddReason(FailureTag::File, "C:\\SRC\\A.EXE", FailureReason::SourceMissing);
        person.Answer(IDYES).Answer(IDOK);
        RunWatcher reader(fixture);
        fixture.RunToEnd();
        const std::string report = "<File> C:\\SRC\\A.EXE\r\nコピー元のファイルが見つかりません．\r\n\r\n"
                                   "<SetupFile> " + uninstaller + "\r\n" + SystemErrorText(5) + "\r\n";
        REQUIRE(person.Boxes().size() == 2);
        CHECK(person.Boxes()[0].text == FailureQuestion);
        CHECK(person.Boxes()[0].caption == "警告");
        CHECK(person.Boxes()[0].flags == 0x34u);
        CHECK(reader.reportShown == report);
        CHECK(reader.frameShown == "作成・コピー処理失敗　詳細表示");
        CHECK(person.Boxes()[1].text == CompletedWithUninstall);
        // The record and the entry are made all the same.
        CHECK(PathExists(fixture.RecordPath()));
        CHECK(entry.Value("UninstallString") == uninstaller + " \"" + fixture.RecordPath() + "\"");
        RemoveDirectoryA(uninstaller.c_str());
    }
    SUBCASE("answering No skips the details")
    {
        fixture.install.failures.AddReason(FailureTag::File, "C:\\SRC\\A.EXE", FailureReason::SourceMissing);
        person.Answer(IDNO).Answer(IDOK);
        RunWatcher watcher(fixture);
        fixture.RunToEnd();
        CHECK(std::find(watcher.texts.begin(), watcher.texts.end(), "セットアップで一部の処理が失敗しました．") !=
              watcher.texts.end());
        CHECK_FALSE(fixture.main.Visible());
        CHECK(person.Boxes().size() == 2);
    }
    CHECK(fixture.main.ModalResult() == 1);
}

TEST_CASE("a record that cannot be written is reported, and no entry points at a missing record")
{
    const std::string title = UniqueTitle("norecord");
    ScratchUninstallEntry entry(title);
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[ProgramID]\r\nID=NOREC\r\n");
    fixture.SkipToActionPhases();
    fixture.install.lists.deleteFileList = {fixture.RecordPath()};
    // A folder where the record should be.
    CreateDirectoryA(fixture.RecordPath().c_str(), nullptr);
    ScriptedDialogs person;
    person.Answer(IDNO).Answer(IDOK);
    fixture.RunToEnd();
    REQUIRE(person.Boxes().size() == 2);
    CHECK(person.Boxes()[0].text == FailureQuestion);
    // The completion does not send the person to Add/Remove Programs, and
    // the report says why the install cannot be removed.
    CHECK(person.Boxes()[1].text == "セットアップが完了しました．");
    CHECK(fixture.install.failures.Count() == 2);
    const std::string recordBlock = "<SetupFile> " + fixture.RecordPath() + "\r\n";
    CHECK(fixture.install.failures.Text().rfind(recordBlock, 0) == 0);
    CHECK(Utf8(fixture.install.failures.Text())
              .ends_with(Utf8(recordBlock + "アンセットアップ情報を書き込めなかったため，このセットアップは自動でアンセットアップ(アンインストール)"
                                            "できません．\r\nコピーしたファイルは " + fixture.app + " に残っています．\r\n\r\n")));
    CHECK(entry.Value("UninstallString") == "<none>");
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry.Key()));
    // The program's folder is still remembered.
    CHECK(ReadProfile("NOREC", "Folder", "", Ovset98(fixture)) == fixture.app);
    RemoveDirectoryA(fixture.RecordPath().c_str());
}

TEST_CASE("\"Setup Only.\" in any letter case: no record, no entry, a one-line message")
{
    const std::string title = "表示ソフト setup ONLY.";
    ScratchUninstallEntry entry(title);
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[ProgramID]\r\nID=ONLY01\r\n");
    fixture.SkipToActionPhases();
    WriteTextFile(fixture.source / "SETUP.EXE", "MZ");
    fixture.install.lists.deleteFileList = {fixture.app + "A.EXE", fixture.RecordPath()};
    const std::string earlier = "[DeleteFile]\r\nFile1=C:\\EARLIER.EXE\r\n";
    WriteTextFile(fixture.RecordPath(), earlier);
    ScriptedDialogs person;
    person.Answer(IDOK);
    RunWatcher watcher(fixture);
    fixture.RunToEnd();

    CHECK(ReadTextFile(fixture.RecordPath()) == earlier);
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry.Key()));
    REQUIRE(person.Boxes().size() == 1);
    CHECK(person.Boxes()[0].text == Completed);
    CHECK(ReadTextFile(fixture.windows / "UNOVSET.EXE") == "MZ");
    CHECK(ReadProfile("ONLY01", "Folder", "", Ovset98(fixture)) == fixture.app);
    CHECK(watcher.texts == std::vector<std::string>{"アンセットアップ情報を更新しています．しばらくお待ちください．．．",
                                                   Completed});
    CHECK(IsSetupOnly("Setup Only."));
    CHECK(IsSetupOnly("x sEtUp oNlY. y"));
    CHECK_FALSE(IsSetupOnly("Setup Only"));
}

TEST_CASE("an empty program ID writes ID= and leaves OVSET98.INI without a section")
{
    const std::string title = UniqueTitle("noid");
    ScratchUninstallEntry entry(title);
    InstallFixture fixture;
    fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\nUnSetupKey=" + title + "\r\nUnSetupDisplay=表示 名\r\n");
    fixture.SkipToActionPhases();
    fixture.install.lists.deleteFileList = {fixture.RecordPath()};
    ScriptedDialogs person;
    person.Answer(IDOK);
    fixture.RunToEnd();
    const std::vector<std::string> lines = NonBlankLines(ReadTextFile(fixture.RecordPath()));
    REQUIRE(lines.size() >= 2);
    CHECK(lines[lines.size() - 2] == "[ProgramID]");
    CHECK(lines.back() == "ID=");
    CHECK(entry.Value("DisplayName") == "表示 名");
    const std::string list = Ovset98(fixture);
    CHECK((!PathExists(list) || ReadTextFile(list).find('[') == std::string::npos));
}

TEST_CASE("after the setup: WINDOWS_REBOOT asks for the restart, anything else is started through the shell")
{
    const std::string title = UniqueTitle("execute");
    ScratchUninstallEntry entry(title);
    RecordingLauncher launcher;

    SUBCASE("WINDOWS_REBOOT: no completion message, the restart flag set")
    {
        InstallFixture fixture;
        fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[ExecuteFile]\r\nFile=WINDOWS_REBOOT\r\n");
        fixture.SkipToActionPhases();
        fixture.install.lists.deleteFileList = {fixture.RecordPath()};
        ScriptedDialogs person;
        RunWatcher watcher(fixture);
        fixture.RunToEnd();
        CHECK(person.Boxes().empty());
        CHECK(fixture.state.rebootNeeded == 1);
        CHECK(launcher.opened.empty());
        CHECK(watcher.texts.back() == "アンセットアップ情報(復元関連付け)を更新しています．しばらくお待ちください．．．");
        CHECK(fixture.main.ModalResult() == 1);
    }
    SUBCASE("another letter case is a program name; its failure gives the warning")
    {
        RecordingLauncher failing(2);
        InstallFixture fixture;
        fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[ExecuteFile]\r\nFile=Windows_Reboot\r\n");
        fixture.SkipToActionPhases();
        fixture.install.lists.deleteFileList = {fixture.RecordPath()};
        ScriptedDialogs person;
        person.Answer(IDOK).Answer(IDOK);
        fixture.RunToEnd();
        CHECK(fixture.state.rebootNeeded == 0);
        REQUIRE(failing.opened.size() == 1);
        CHECK(failing.opened[0] == std::make_pair(std::string("Windows_Reboot"), std::string()));
        REQUIRE(person.Boxes().size() == 2);
        CHECK(person.Boxes()[0].text == CompletedWithUninstall);
        CHECK(person.Boxes()[1].text == "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\r"
                                        "プログラム提供者へご報告ください．");
        CHECK(person.Boxes()[1].caption == "警告");
        CHECK(person.Boxes()[1].flags == (MB_OK | MB_ICONEXCLAMATION));
    }
    SUBCASE("a token and commas: expanded first, everything after the first comma is the parameters")
    {
        InstallFixture fixture;
        fixture.Prepare("[Title]\r\nUnSetup=" + title + "\r\n[ExecuteFile]\r\nFile=(App)VIEW.EXE,(App)README.TXT,-a\r\n");
        fixture.SkipToActionPhases();
        fixture.install.lists.deleteFileList = {fixture.RecordPath()};
        ScriptedDialogs person;
        person.Answer(IDOK);
        fixture.RunToEnd();
        REQUIRE(launcher.opened.size() == 1);
        CHECK(launcher.opened[0].first == fixture.app + "VIEW.EXE");
        CHECK(launcher.opened[0].second == fixture.app + "README.TXT,-a");
        CHECK(person.Boxes().size() == 1);
    }
}
