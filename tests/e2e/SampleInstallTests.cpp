// A full install of the sample distribution (samples/viewer, laid out by
// orvauthor into the build tree) by SETUP.EXE as its own process, driven as a
// person would: readme, settings, the folder question, the disk change, the
// association question, the failure details, the restart offer declined and
// its warning. Then the files, the registry, the record, UNOVSET.EXE, the
// Add/Remove entry and OVSET98.INI are checked, and everything the install
// made in the shared Wine prefix is removed again.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "ScreenExpectations.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

TEST_CASE("the sample distribution installs from the first screen to the restart offer")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    SampleRemoved removed;
    const SampleInstallation& sample = removed.sample;
    const std::string& app = sample.app;
    // The drive the disks go into, and the run's own temporary folder.
    ScratchFolder drive("drive");
    ScratchFolder temp("sampletmp");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());

    SetupProcess setup(drive / "SETUP.EXE", "", temp.Path());
    REQUIRE(setup.Started());
    HWND main = ExpectMainScreen(setup, "セットアップ続行(&C)");
    CHECK(TextOf(main) == "Orvane サンプルビューア");
    CHECK(TextOf(ControlOf(main, MainIds::readmeFrame)) == "お読みください");
    Press(ControlOf(main, MainIds::actionButton));

    main = ExpectMainScreen(setup, "セットアップ開始(&S)");
    CHECK(TextOf(ControlOf(main, MainIds::folderBox)) == app);
    for (int box : {MainIds::desktopBox, MainIds::startMenuBox, MainIds::startUpBox, MainIds::sendToBox}) {
        CHECK(IsWindowEnabled(ControlOf(main, box)));
        CHECK(IsChecked(ControlOf(main, box)));
    }
    Press(ControlOf(main, MainIds::actionButton));

    CHECK(AnswerAndWait(ExpectBox(setup, sample.FolderQuestion()), IDYES));
    // Disk 2 goes in, with one of its files missing: a damaged disk.
    HWND disk = ExpectBox(setup, sample.DiskChange());
    CHECK(CopyDisk(SampleDisk(2), drive.Path(), {"SETUP.EXE", "SAMPLE2.DAT"}).empty());
    CHECK(AnswerAndWait(disk, IDOK));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.AssociationQuestion()), IDYES));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.FailureQuestion()), IDYES));

    main = ExpectMainScreen(setup, "続行(&C)");
    CHECK(TextOf(ControlOf(main, MainIds::readmeFrame)) == "作成・コピー処理失敗　詳細表示");
    CHECK(TextOf(ControlOf(main, MainIds::readmeBox)) ==
          "<File> " + drive.Path() + "SAMPLE2.DAT\r\nコピー元のファイルが見つかりません．\r\n\r\n");
    Press(ControlOf(main, MainIds::actionButton));

    // WINDOWS_REBOOT: no completion message; the restart offer, declined.
    HWND offer = WaitForAnyBox(setup.Id(), 30000);
    REQUIRE(offer != nullptr);
    CHECK(FindWindowOf(setup.Id(), "TfrmMain") == nullptr);
    CHECK(TextOf(offer) != "完了");
    CHECK(AnswerAndWait(offer, IDNO));
    Answer(ExpectBox(setup, sample.RestartWarning()), IDOK);
    REQUIRE(setup.WaitForExit());
    // The failure report was not empty: failed, for a deployment tool.
    CHECK(setup.ExitCode() == 1603);

    // The files.
    CHECK(PathExists(app + "SAMPLEVW.EXE"));
    CHECK(ReadTextFile(app + "MANUAL.TXT") == ReadTextFile(ProgramFolder() + "..\\sample\\source\\MANUAL.TXT"));
    CHECK(PathExists(app + "DATA\\SAMPLE.DAT"));
    CHECK(PathExists(app + "DATA\\表示\\見本.TXT"));
    CHECK_FALSE(PathExists(app + "DATA\\SAMPLE2.DAT"));
    CHECK(PathExists(sample.component));
    for (const std::string& link : sample.links) CHECK_MESSAGE(PathExists(link), Utf8(link));
    CHECK(ReadTextFile(sample.uninstaller) == ReadTextFile(drive / "SETUP.EXE"));
    char text[MAX_PATH] = {};
    GetPrivateProfileStringA("Viewer", "DataFolder", "", text, MAX_PATH, (app + "DATA\\SETTINGS.INI").c_str());
    CHECK(std::string(text) == app + "DATA");
    GetPrivateProfileStringA("Orvane", "SampleViewer", "", text, MAX_PATH, sample.iniFile.c_str());
    CHECK(std::string(text) == app + "SAMPLEVW.EXE");

    // The registry.
    CHECK(StringValue(HKEY_CURRENT_USER, sample.viewerKey, "InstallFolder") == app.substr(0, app.size() - 1));
    const auto version = ReadStoredValue(HKEY_CURRENT_USER, sample.viewerKey, "Version");
    REQUIRE(version);
    CHECK(version->type == REG_DWORD);
    CHECK(version->bytes == std::string("\x64\0\0\0", 4));
    const auto flags = ReadStoredValue(HKEY_CURRENT_USER, sample.viewerKey, "Flags");
    REQUIRE(flags);
    CHECK(flags->type == REG_BINARY);
    CHECK(flags->bytes == std::string("\x0B\x0A\0\0", 4));
    CHECK(ReadStoredValue(HKEY_CURRENT_USER, sample.viewerKey, "Settings")->type == REG_EXPAND_SZ);
    CHECK(StringValue(HKEY_CURRENT_USER, sample.viewerKey + "\\表示", "") == "標準");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.viewerKey, "Path") == app.substr(0, app.size() - 1));
    CHECK(StringValue(HKEY_CURRENT_USER, sample.controlKey, "Path") == sample.component);
    const auto count = ReadStoredValue(HKEY_LOCAL_MACHINE, sample.sharedDlls, sample.component);
    REQUIRE(count);
    CHECK(count->bytes == std::string("\x01\0\0\0", 4));
    CHECK(StringValue(HKEY_CLASSES_ROOT, ".osv", "") == "osv_auto_file");
    CHECK(StringValue(HKEY_CLASSES_ROOT, "osv_auto_file", "") == "Orvane サンプル文書");
    CHECK(StringValue(HKEY_CLASSES_ROOT, "osv_auto_file\\DefaultIcon", "") == app + "SAMPLEVW.EXE,0");
    const std::string viewer = app + "SAMPLEVW.EXE";
    CHECK(StringValue(HKEY_CLASSES_ROOT, "osv_auto_file\\shell\\open\\command", "") == "\"" + viewer + "\" %1");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "DisplayName") == "Orvane サンプルビューア");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "UninstallString") == sample.uninstaller + " \"" + app + "UNSETUP.INI\"");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "DisplayVersion") == "1.0");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "Publisher") == "Orvane サンプル工房");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "URLInfoAbout") == "https://example.jp/orvane-sample");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "DisplayIcon") == app + "SAMPLEVW.EXE,0");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "InstallLocation") + "\\" == app);
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "InstallDate").size() == 8);
    for (const auto& [flag, set] : {std::pair{"NoModify", true}, std::pair{"NoRepair", false}}) {
        const auto value = ReadStoredValue(HKEY_LOCAL_MACHINE, sample.entryKey, flag);
        REQUIRE(value);
        CHECK(value->type == REG_DWORD);
        CHECK(value->bytes == std::string(set ? "\x01\0\0\0" : "\0\0\0\0", 4));
    }
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "RepairString").ends_with("SETUP.EXE\" /REPAIR"));
    // The viewer (535,164 bytes), the manual, the component, two data files
    // and the record, in kilobytes rounded up: more than 600, less than 700.
    const auto size = ReadStoredValue(HKEY_LOCAL_MACHINE, sample.entryKey, "EstimatedSize");
    REQUIRE(size);
    CHECK(size->type == REG_DWORD);
    REQUIRE(size->bytes.size() == 4);
    const uint32_t kilobytes = static_cast<unsigned char>(size->bytes[0]) | static_cast<unsigned char>(size->bytes[1]) << 8;
    CHECK(kilobytes > 600);
    CHECK(kilobytes < 700);
    GetPrivateProfileStringA("ORVSAMPLE", "Folder", "", text, MAX_PATH, sample.setupFolderList.c_str());
    CHECK(std::string(text) == app);

    // The record, line by line.
    const std::string record = ReadTextFile(app + "UNSETUP.INI");
    MESSAGE("UNSETUP.INI after the sample install:\n" << Utf8(record));
    const std::vector<std::string> expected = {
        "[Information]",
        "Message1=Orvane UnSetup(UnInstall) Initialize File",
        "Message2=！！！　警告　！！！",
        "Message3=このファイルをエディタなどで書き換えたり，削除しないでください．",
        "Message4=書き換えた場合，アンセットアップ動作の保証はできません．",
        "[Title]",
        "UnSetup=Orvane サンプルビューアの削除",
        "[SetupFolder]",
        "Folder=" + app,
        "Made=1",  // the install made it: a delete-all may take all below it
        "[DeleteFolder]",
        "Folder1=" + app + "DATA\\",
        "Folder2=" + app + "DATA\\表示\\",
        "[DeleteFile]",
        "File1=" + app + "SAMPLEVW.EXE",
        "File2=" + app + "MANUAL.TXT",
        "File3=" + sample.component + ",/S/R",
        "File4=" + app + "DATA\\SAMPLE.DAT,/W",
        "File5=" + app + "DATA\\表示\\見本.TXT",
        "File6=" + app + "UNSETUP.INI",
        "[DeleteShortCut]",
        "File1=" + sample.links[0],
        "File2=" + sample.links[1],
        "File3=" + sample.links[2],
        "File4=" + sample.links[3],
        "File5=" + sample.links[4],
        "[DeleteRegistry]",
        "Key1=(Cuser)Software\\Orvane\\SampleViewer",
        "Key2=(Local)SOFTWARE\\Orvane\\SampleViewer",
        "[AddDeleteFile]",
        "File1=" + app + "DATA\\*.LOG",
        "File2=" + sample.iniFile,
        "[RestoreRelate]",
        "Key1=osv,",
        "[UnSetupOption]",
        "CheckBox=1,0,0,0",
        "[UnSetupRegistryKey]",
        "Key=" + sample.entryKey,
        "[ProgramID]",
        "ID=ORVSAMPLE",
    };
    CHECK(NonBlankLines(record) == expected);
}
