// The install's phases after the file copy, on the real windows, files,
// shell links and registry: shortcuts under the four check boxes, registry
// values of every type, INI entries, the uninstall-only entries,
// associations, the abort and a registry key that cannot be written.
#include <doctest/doctest.h>

#include "InstallFixture.h"
#include "install/ActionPhases.h"
#include "script/PathParts.h"
#include "services/ShellFolders.h"
#include "services/Win32Files.h"
#include "support/ScratchRegistry.h"
#include "support/ShellLinks.h"
#include "support/Utf8.h"
#include "text/IniFile.h"
#include "text/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

std::string Bytes(const char* data, size_t size)
{
    return std::string(data, size);
}

std::string DefaultString(HKEY root, const std::string& path)
{
    return StoredText(root, path, "");
}

const std::string ShortcutScript =
    "[ShortCut]\r\n"
    "Make1=(App)VIEW.EXE,-x 表\r\nName1=(Dsk)表示ソフト\r\n"
    "Make2=(App)VIEW.EXE\r\nName2=Default\r\n"
    "Make3=(App)VIEW.EXE\r\nName3=(Sup)表示ソフト\r\n"
    "Make4=(App)VIEW.EXE\r\nName4=(Sen)表示ソフト\r\n"
    "Make5=(App)VIEW.EXE\r\nName5=(Smn)ツール\\表示ソフト,(App)DATA\r\n"
    "Make6=User Not Selected.\r\nName6=(Smn)Never\r\n";

}  // namespace

TEST_CASE("shortcuts go where their names say, each kind governed by its check box")
{
    InstallFixture fixture;
    fixture.Prepare(ShortcutScript);
    fixture.SkipToActionPhases();
    MainWindow& main = fixture.main;
    const std::string app = fixture.app;
    CreateDirectoryA((app + "DATA").c_str(), nullptr);
    const std::string shell = fixture.shell.Path();
    const std::string desktop = shell + "Desktop\\表示ソフト.lnk";
    const std::string programs = shell + "Start Menu\\Programs\\VIEW.EXE.lnk";
    const std::string startup = shell + "Start Menu\\Programs\\Startup\\表示ソフト.lnk";
    const std::string sendTo = shell + "SendTo\\表示ソフト.lnk";
    const std::string always = shell + "Start Menu\\ツール\\表示ソフト.lnk";
    std::vector<std::string> expected = {desktop, programs, startup, sendTo, always};

    SUBCASE("every box checked: all five")
    {
    }
    SUBCASE("desktop cleared")
    {
        main.desktopBox.SetChecked(false);
        expected.erase(expected.begin());
    }
    SUBCASE("start menu cleared: the \"Default\" one goes too")
    {
        main.startMenuBox.SetChecked(false);
        expected.erase(expected.begin() + 1);
    }
    SUBCASE("startup cleared")
    {
        main.startUpBox.SetChecked(false);
        expected.erase(expected.begin() + 2);
    }
    SUBCASE("send to cleared")
    {
        main.sendToBox.SetChecked(false);
        expected.erase(expected.begin() + 3);
    }
    fixture.TakeOptions();
    RunWatcher watcher(fixture);
    REQUIRE(MakeShortcuts(fixture.run, fixture.install) == Flow::GoOn);

    CHECK(fixture.install.lists.deleteShortCutList == expected);
    for (const std::string& link : {desktop, programs, startup, sendTo, always}) {
        const bool wanted = std::find(expected.begin(), expected.end(), link) != expected.end();
        CHECK_MESSAGE(PathExists(link) == wanted, Utf8(link));
    }
    // One status text and one pause per shortcut made, none for the others.
    CHECK(watcher.texts.size() == expected.size());
    CHECK(fixture.clock.pauses == std::vector<unsigned long>(expected.size(), 7));

    const LinkFields unconditional = ReadLink(always);
    CHECK(unconditional.path == app + "VIEW.EXE");
    CHECK(unconditional.workingFolder == app + "DATA\\");
    CHECK(unconditional.arguments.empty());
    if (PathExists(desktop)) {
        const LinkFields fields = ReadLink(desktop);
        CHECK(fields.path == app + "VIEW.EXE");
        CHECK(fields.workingFolder == app);
        CHECK(fields.arguments == "-x 表");
        CHECK(watcher.texts.front() == "ショートカットを作成しています．．．\rCreateTarget -> " + app +
                                          "VIEW.EXE\rCreating -> " + shell + "Desktop\\表示ソフト");
    }
    if (PathExists(programs)) CHECK(ReadLink(programs).path == app + "VIEW.EXE");
    if (PathExists(startup)) CHECK(ReadLink(startup).path == app + "VIEW.EXE");
    if (PathExists(sendTo)) CHECK(ReadLink(sendTo).path == app + "VIEW.EXE");
}

TEST_CASE("a shell folder whose name Shift-JIS cannot hold refuses what would be made from it; the rest is made")
{
    ScratchKey user(HKEY_CURRENT_USER, "unheld");
    const std::string tool = user / "Tool";
    InstallFixture fixture;
    fixture.Prepare("[ShortCut]\r\n"
                    "Make1=(App)VIEW.EXE\r\nName1=(Dsk)表示ソフト\r\n"
                    "Make2=(App)VIEW.EXE\r\nName2=(Sen)表示ソフト\r\n"
                    "Make3=(Dsk)VIEW.EXE\r\nName3=(Smn)ツール\\表示ソフト\r\n"
                    "[Registry]\r\n"
                    "Key1=(Cuser)" + tool + "\r\nName1=Desk\r\nValue1=(Str)(Dsk)DATA\r\n"
                    "Key2=(Cuser)" + tool + "\r\nName2=App\r\nValue2=(Str)(App)DATA\r\n");
    fixture.SkipToActionPhases();
    // The desktop of a user named "Zoë", as the shell names it.
    const std::string shell = fixture.shell.Path();
    const std::wstring zoe = WideFromShiftJis(shell) + L"Zo\u00EB";
    fixture.state.desktopFolder = WithTrailingBackslash(ShellFolderText(zoe + L"\\Desktop"));
    REQUIRE(MakeShortcuts(fixture.run, fixture.install) == Flow::GoOn);
    REQUIRE(WriteRegistryValues(fixture.run, fixture.install) == Flow::GoOn);

    const std::string sendTo = shell + "SendTo\\表示ソフト.lnk";
    CHECK(fixture.install.lists.deleteShortCutList == std::vector<std::string>{sendTo});
    CHECK(ReadLink(sendTo).path == fixture.app + "VIEW.EXE");
    CHECK_FALSE(PathExists(shell + "Start Menu\\ツール\\表示ソフト.lnk"));
    CHECK(StoredText(HKEY_CURRENT_USER, tool, "App") == fixture.app + "DATA");
    CHECK_FALSE(ReadStoredValue(HKEY_CURRENT_USER, tool, "Desk"));
    // Nothing was made below the folder, under its own name or a "?" one.
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileW((WideFromShiftJis(shell) + L"Zo*").c_str(), &found));
    CHECK_FALSE(search.Valid());

    const std::string reason = "フォルダ名にシフトJISで表せない文字が含まれているため，処理をスキップしました．\r\n\r\n";
    CHECK(Utf8(fixture.install.failures.Text()) ==
          Utf8("<ShortCut> " + shell + "Zo?\\Desktop\\表示ソフト\r\n" + reason +
               "<ShortCut> " + shell + "Start Menu\\ツール\\表示ソフト\r\n" + reason +
               "<Registry> (Cuser)" + tool + " Desk\r\n" + reason));
    CHECK(fixture.install.failures.Count() == 3);
}

TEST_CASE("registry values of every type are stored as the system reads them back")
{
    ScratchKey user(HKEY_CURRENT_USER, "phase");
    ScratchKey machine(HKEY_LOCAL_MACHINE, "phase");
    const std::string tool = user / "Tool";
    InstallFixture fixture;
    fixture.Prepare("[Registry]\r\n"
                    "Key1=(Cuser)\\" + tool + "\\\r\nName1=Str\r\nValue1=(Str)表示ソフト\r\n"
                    "Key2=(Cuser)" + tool + "\r\nName2=Path\r\nValue2=(Pdd)(Str)(App)\r\n"
                    "Key3=(Cuser)" + tool + "\r\nName3=Int\r\nValue3=(Int)-5\r\n"
                    "Key4=(Cuser)" + tool + "\r\nName4=Dwd\r\nValue4=(Dwd)12x\r\n"
                    "Key5=(Cuser)" + tool + "\r\nName5=Bin\r\nValue5=(Bin)10\r\n"
                    "Key6=(Cuser)" + tool + "\r\nName6=BadBin\r\nValue6=(Bin)zz\r\n"
                    "Key7=(Cuser)" + tool + "\r\nName7=Exp\r\nValue7=(Exp)%SystemRoot%\\表\r\n"
                    "Key8=(Cuser)" + tool + "\r\nName8=Other\r\nValue8=(Xyz)abc\r\n"
                    "Key9=" + user / "NoToken" + "\r\nName9=\r\nValue9=(Str)default\r\n"
                    "Key10=(Local)" + machine / "Machine" + "\r\nName10=Dwd\r\nValue10=(Dwd)$10\r\n"
                    "Key11=(Cuser)" + user / "Empty" + "\r\nName11=Nothing\r\nValue11=\r\n");
    fixture.SkipToActionPhases();
    RunWatcher watcher(fixture);
    REQUIRE(WriteRegistryValues(fixture.run, fixture.install) == Flow::GoOn);

    const auto stored = [&](const std::string& path, const std::string& name) {
        const auto value = ReadStoredValue(HKEY_CURRENT_USER, path, name);
        REQUIRE_MESSAGE(value, name);
        return *value;
    };
    CHECK(stored(tool, "Str").type == REG_SZ);
    CHECK(stored(tool, "Str").bytes == Bytes("表示ソフト", 11));
    // A path value loses the backslash that folder tokens end with.
    const std::string app = fixture.app;
    CHECK(stored(tool, "Path").bytes == app.substr(0, app.size() - 1) + '\0');
    CHECK(stored(tool, "Int").type == REG_DWORD);
    CHECK(stored(tool, "Int").bytes == Bytes("\xFB\xFF\xFF\xFF", 4));
    CHECK(stored(tool, "Dwd").bytes == Bytes("\0\0\0\0", 4));
    CHECK(stored(tool, "Bin").type == REG_BINARY);
    CHECK(stored(tool, "Bin").bytes == Bytes("\x10\0\0\0", 4));
    CHECK_FALSE(ReadStoredValue(HKEY_CURRENT_USER, tool, "BadBin"));
    CHECK(stored(tool, "Exp").type == REG_EXPAND_SZ);
    CHECK(stored(tool, "Exp").bytes == Bytes("%SystemRoot%\\表", 16));
    CHECK(stored(tool, "Other").type == REG_SZ);
    CHECK(stored(tool, "Other").bytes == Bytes("(Xyz)abc", 9));
    CHECK(DefaultString(HKEY_CURRENT_USER, user / "NoToken") == "default");
    const auto machineValue = ReadStoredValue(HKEY_LOCAL_MACHINE, machine / "Machine", "Dwd");
    REQUIRE(machineValue);
    CHECK(machineValue->bytes == Bytes("\x10\0\0\0", 4));
    // An empty value makes the key and writes nothing.
    CHECK(KeyExists(HKEY_CURRENT_USER, user / "Empty"));
    CHECK_FALSE(ReadStoredValue(HKEY_CURRENT_USER, user / "Empty", "Nothing"));

    CHECK(watcher.texts == std::vector<std::string>(11, "レジストリを設定しています．．．"));
    CHECK(fixture.clock.pauses.empty());
}

TEST_CASE("INI entries are written; the uninstall-only entries follow the earlier record's")
{
    InstallFixture fixture;
    fixture.Prepare("[IniFile]\r\nData1=Opt,Path,(App),(App)TOOL.INI\r\n"
                    "Data2=表示,Key,a,(App)表,ソフト.INI\r\n"
                    "[DeleteRegistry]\r\nKey1=(Cuser)Software\\Sample\r\nKey2=Software\\(App)NoToken\r\n"
                    "[AddDeleteFile]\r\nFile1=(App)*.LOG\r\nFile2=(Win)SAMPLE.CFG,/F\r\n");
    fixture.SkipToActionPhases();
    fixture.install.lists.deleteRegistryList = {"(Local)SOFTWARE\\Earlier"};
    fixture.install.lists.addDeleteFileList = {"C:\\EARLIER.LOG"};
    RunWatcher watcher(fixture);
    REQUIRE(WriteIniEntries(fixture.run, fixture.install) == Flow::GoOn);
    CollectUninstallOnlyEntries(fixture.run, fixture.install);

    const std::string app = fixture.app;
    CHECK(ReadProfile("Opt", "Path", "", app + "TOOL.INI") == app);
    // Only the file path may hold commas.
    CHECK(ReadProfile("表示", "Key", "", app + "表,ソフト.INI") == "a");
    CHECK(watcher.texts == std::vector<std::string>(2, "Iniファイルを設定しています．．．"));

    // Registry keys verbatim, tokens and all; extra files expanded.
    CHECK(fixture.install.lists.deleteRegistryList ==
          std::vector<std::string>{"(Local)SOFTWARE\\Earlier", "(Cuser)Software\\Sample", "Software\\(App)NoToken"});
    CHECK(fixture.install.lists.addDeleteFileList ==
          std::vector<std::string>{"C:\\EARLIER.LOG", app + "*.LOG", fixture.state.windowsFolder + "SAMPLE.CFG,/F"});
    CHECK(fixture.install.lists.deleteShortCutList.empty());
}

TEST_CASE("associations: a confirmed one writes four keys and remembers the earlier type once")
{
    ScratchExtension typed;
    ScratchExtension fresh;
    ScratchExtension declined;
    REQUIRE(MakeKey(HKEY_CLASSES_ROOT, typed.Key()));
    REQUIRE(StoreValue(HKEY_CLASSES_ROOT, typed.Key(), "", REG_SZ, std::string("Earlier.type\0", 13)));
    InstallFixture fixture;
    fixture.Prepare("[Relate]\r\n"
                    "Name2=" + typed.Name() + ",表示ソフトの文書\r\nFile2=open,(App)My Tools\\VIEW.EXE,%1,,/p,0\r\n"
                    "Name5=" + fresh.Name() + "\r\nFile5=edit,(App)EDIT.EXE,1\r\n"
                    "Name7=" + declined.Name() + "\r\nFile7=open,(App)VIEW.EXE,%1,0\r\n");
    fixture.SkipToActionPhases();
    // What an earlier record of the folder remembered for the first extension
    // stays: the uninstall restores the type from before the first install.
    fixture.state.restoreRelateSlots[0] = typed.Name() + ",Before.First";
    fixture.install.relateTable = fixture.state.script.relate;
    REQUIRE(fixture.install.relateTable.size() == 3);

    ScriptedDialogs person;
    person.Answer(IDYES).Answer(IDYES).Answer(IDNO);
    RunWatcher watcher(fixture);
    REQUIRE(MakeAssociations(fixture.run, fixture.install) == Flow::GoOn);

    const std::string app = fixture.app;
    REQUIRE(person.Boxes().size() == 3);
    CHECK(person.Boxes()[0].text == "拡張子 *." + typed.Name() + " を\r" + app + "My Tools\\VIEW.EXE\r" +
                                        "に関連付けします．よろしいですか？");
    CHECK(person.Boxes()[0].caption == "関連付けの確認");
    CHECK(person.Boxes()[0].flags == (MB_YESNO | MB_ICONQUESTION));
    CHECK(watcher.texts == std::vector<std::string>(3, "関連付けを設定しています．．．"));

    CHECK(DefaultString(HKEY_CLASSES_ROOT, typed.Key()) == typed.FileType());
    CHECK(DefaultString(HKEY_CLASSES_ROOT, typed.FileType()) == "表示ソフトの文書");
    CHECK(DefaultString(HKEY_CLASSES_ROOT, typed.FileType() + "\\DefaultIcon") == app + "My Tools\\VIEW.EXE,0");
    CHECK(DefaultString(HKEY_CLASSES_ROOT, typed.FileType() + "\\shell\\open\\command") ==
          "\"" + app + "My Tools\\VIEW.EXE\" %1 /p");
    CHECK(DefaultString(HKEY_CLASSES_ROOT, fresh.Key()) == fresh.FileType());
    CHECK(DefaultString(HKEY_CLASSES_ROOT, fresh.FileType()) == fresh.Name() + " File");
    CHECK(DefaultString(HKEY_CLASSES_ROOT, fresh.FileType() + "\\DefaultIcon") == app + "EDIT.EXE,1");
    const std::string editor = app + "EDIT.EXE";
    CHECK(DefaultString(HKEY_CLASSES_ROOT, fresh.FileType() + "\\shell\\edit\\command") ==
          (editor.find(' ') == std::string::npos ? editor : "\"" + editor + "\""));

    // Declined: HKEY_CLASSES_ROOT untouched, nothing remembered.
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, declined.Key()));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, declined.FileType()));
    RestoreSlots expected{};
    expected[0] = typed.Name() + ",Before.First";
    expected[1] = fresh.Name() + ",";
    CHECK(fixture.state.restoreRelateSlots == expected);
}

TEST_CASE("with twenty slots taken, an association is made but not remembered")
{
    ScratchExtension extension;
    InstallFixture fixture;
    fixture.Prepare("[Relate]\r\nName1=" + extension.Name() + "\r\nFile1=open,(App)VIEW.EXE,%1,0\r\n");
    fixture.SkipToActionPhases();
    // Other extensions, one per slot.
    for (int i = 0; i < RestoreSlotCount; ++i) {
        char slot[16];
        std::snprintf(slot, sizeof slot, "x%d,", i);
        fixture.state.restoreRelateSlots[static_cast<size_t>(i)] = slot;
    }
    const RestoreSlots before = fixture.state.restoreRelateSlots;
    fixture.install.relateTable = fixture.state.script.relate;
    ScriptedDialogs person;
    person.Answer(IDYES);
    REQUIRE(MakeAssociations(fixture.run, fixture.install) == Flow::GoOn);
    CHECK(DefaultString(HKEY_CLASSES_ROOT, extension.Key()) == extension.FileType());
    CHECK(fixture.state.restoreRelateSlots == before);
}

TEST_CASE("an abort stops the phases at the next poll")
{
    ScratchKey user(HKEY_CURRENT_USER, "abort");
    const std::string script = "[ShortCut]\r\nMake1=(App)A.EXE\r\nName1=(Smn)A\r\nMake2=(App)B.EXE\r\nName2=(Smn)B\r\n"
                               "[Registry]\r\nKey1=(Cuser)" + user / "One" + "\r\nName1=\r\nValue1=(Str)1\r\n"
                               "Key2=(Cuser)" + user / "Two" + "\r\nName2=\r\nValue2=(Str)2\r\n"
                               "[IniFile]\r\nData1=S,K,V,(App)ABORT.INI\r\n"
                               "[DeleteRegistry]\r\nKey1=(Cuser)Software\\Gone\r\n";
    InstallFixture fixture;
    fixture.Prepare(script);
    fixture.SkipToActionPhases();
    RunWatcher watcher(fixture);
    std::string stoppedAt;

    SUBCASE("in the shortcut phase, before the second link")
    {
        stoppedAt = "ショートカットを作成しています．．．\rCreateTarget -> " + fixture.app + "B.EXE\rCreating -> " +
                    fixture.shell.Path() + "Start Menu\\B";
    }
    SUBCASE("in the registry phase, before the first key")
    {
        stoppedAt = "レジストリを設定しています．．．";
    }
    watcher.At(stoppedAt, [&] { fixture.forms.signals.abortRequested = true; });
    CHECK(RunActionPhases(fixture.run, fixture.install) == Flow::Stop);
    CHECK(PathExists(fixture.shell / "Start Menu\\A.lnk"));
    const bool secondMade = PathExists(fixture.shell / "Start Menu\\B.lnk");
    CHECK(secondMade == (stoppedAt == "レジストリを設定しています．．．"));
    CHECK(fixture.install.lists.deleteShortCutList.size() == (secondMade ? 2u : 1u));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, user / "One"));
    CHECK_FALSE(PathExists(fixture.app + "ABORT.INI"));
    CHECK(fixture.install.lists.deleteRegistryList.empty());
    CHECK(watcher.texts.back() == stoppedAt);
}

TEST_CASE("a registry key that cannot be written ends the install at once with the layer's message and no record")
{
    ScratchKey user(HKEY_CURRENT_USER, "refused");
    REQUIRE(MakeKey(HKEY_CURRENT_USER, user.Path()));
    REQUIRE(MakeVolatileKey(HKEY_CURRENT_USER, user / "Volatile"));
    const std::string refused = user / "Volatile\\表示";
    InstallFixture fixture;
    fixture.Prepare("[Registry]\r\nKey1=(Cuser)" + user / "Before" + "\r\nName1=\r\nValue1=(Str)1\r\n"
                    "Key2=(Cuser)" + refused + "\r\nName2=\r\nValue2=(Str)2\r\n"
                    "Key3=(Cuser)" + user / "After" + "\r\nName3=\r\nValue3=(Str)3\r\n"
                    "[IniFile]\r\nData1=S,K,V,(App)NEVER.INI\r\n");
    fixture.SkipToActionPhases();
    fixture.install.lists.deleteFileList = {fixture.RecordPath()};
    ScriptedDialogs person;
    person.Answer(IDOK).Answer(IDOK);
    fixture.RunToEnd();

    REQUIRE(person.Boxes().size() == 2);
    CHECK(person.Boxes()[0].text == "ｷｰ " + refused + " の作成に失敗しました");
    CHECK(person.Boxes()[0].caption == "Orvane Standard");
    CHECK(person.Boxes()[0].flags == (MB_OK | MB_ICONHAND));
    CHECK(KeyExists(HKEY_CURRENT_USER, user / "Before"));
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, user / "After"));
    CHECK_FALSE(PathExists(fixture.app + "NEVER.INI"));
    CHECK_FALSE(PathExists(fixture.RecordPath()));
    // Then the run ends as at a fatal stop: nothing waits for the abort
    // button.
    CHECK(person.Boxes()[1].text == "セットアップを続行できませんでした．");
    CHECK(person.Boxes()[1].caption == "致命的エラー");
    CHECK_FALSE(fixture.status.Visible());
    CHECK_FALSE(fixture.main.Visible());
    CHECK(fixture.main.ModalResult() == 1);
    CHECK(fixture.back.Enabled());
}
