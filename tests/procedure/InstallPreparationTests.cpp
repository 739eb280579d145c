// The install from the start button to the end of its preparation: the
// steps' texts and pauses, the free-space check with both of its questions,
// the setup folder asked for and created (or not), and an earlier uninstall
// record taken over. Real files under Wine, the person scripted.
#include <doctest/doctest.h>

#include "InstallFixture.h"
#include "script/PathParts.h"
#include "services/FileOps.h"
#include "services/FreeSpace.h"
#include "support/FileShapes.h"
#include "text/IniFile.h"

#include <windows.h>

namespace {

const std::string ShortSpaceQuestion =
    "ディスクの空き容量が不足しているため，エラーになる可能性があります．\rこのままセットアップを続行しますか？";

std::string UnmeasuredSpaceQuestion(const std::string& neededBytes)
{
    return "ディスクの空き容量取得関数が失敗しました．\rセットアップに必要なディスク容量は " + neededBytes +
           " Byteです．\r空き容量があるようであれば，セットアップを続行してください．\r\rセットアップを続行しますか？";
}

int64_t FreeBytesOf(const std::string& folder)
{
    return QueryFreeSpaceEx(DrivePart(folder)).freeBytes;
}

}  // namespace

TEST_CASE("the start button runs the phases in order with their texts and pauses, and the completion ends the run")
{
    InstallFixture fixture;
    fixture.AddSource("A.EXE", "abc");
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\A.EXE\r\n");
    fixture.state.rebootNeeded = 1;
    MainWindow& main = fixture.main;
    main.Show();
    fixture.person.Answer(IDOK);

    main.actionButton.Click();

    CheckTranscript(fixture.person.Lines(),
                    {StatusLine(StartText), StatusLine(InformationText), StatusLine(MeasuringText),
                     StatusLine(FreeSpaceText), StatusLine(FolderCheckText),
                     StatusLine(CopyingText(fixture.app + "A.EXE")), LabelLine("100%(1/1)"),
                     StatusLine("アンセットアップ情報を更新しています．しばらくお待ちください．．．"),
                     StatusLine("アンセットアップ情報(削除フォルダ)を更新しています．しばらくお待ちください．．．"),
                     StatusLine("アンセットアップ情報(削除ファイル)を更新しています．しばらくお待ちください．．．"),
                     StatusLine("アンセットアップ情報(削除ショートカット)を更新しています．しばらくお待ちください．．．"),
                     StatusLine("アンセットアップ情報(削除レジストリ)を更新しています．しばらくお待ちください．．．"),
                     StatusLine("アンセットアップ情報(追加削除ファイル)を更新しています．しばらくお待ちください．．．"),
                     StatusLine("アンセットアップ情報(復元関連付け)を更新しています．しばらくお待ちください．．．"),
                     StatusLine("セットアップが完了しました．"),
                     BoxLine("完了", MB_OK | MB_ICONINFORMATION,
                             "セットアップが完了しました．\r\rプログラムのアンセットアップ(アンインストール)は，\r"
                             "「アプリケーションの追加と削除」から行ってください．")});
    // 500 before the progress window, 1000 after the first text, then
    // SetupSpeed after the association table, the measuring, the free-space
    // check and the file; the phases after the copy pause only after a
    // shortcut.
    CHECK(fixture.clock.pauses == std::vector<unsigned long>{500, 1000, 7, 7, 7, 7});
    CHECK(ReadTextFile(fixture.app + "A.EXE") == "abc");

    CHECK(fixture.state.rebootNeeded == 0);
    CHECK(fixture.state.appFolder == fixture.app);
    CHECK(fixture.state.setupRoot == fixture.app.substr(0, 2) + "\\");
    CHECK(fixture.state.unSetupPath == fixture.app + "UNSETUP.INI");
    CHECK(fixture.state.unSetupBackupPath == fixture.WorkFolder(1) + "UNSETUPB.INI");

    // The end of the run: the record written, the progress window closed,
    // the main window's modal run told to end.
    CHECK_FALSE(main.Visible());
    CHECK_FALSE(fixture.status.Visible());
    CHECK_FALSE(main.quitButton.Visible());
    CHECK(main.actionButton.Left() == (main.ClientWidth() - main.actionButton.Width()) / 2);
    CHECK_FALSE(fixture.status.abortButton.Enabled());
    CHECK_FALSE(fixture.status.progressFrame.Visible());
    CHECK(main.ModalResult() == 1);
    CHECK(fixture.back.Enabled());
    CHECK(ReadProfile("DeleteFile", "File1", "", fixture.app + "UNSETUP.INI") == fixture.app + "A.EXE");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane");
}

TEST_CASE("free space equal to the need warns, and No abandons; one byte less passes")
{
    // The need is made to match the free space of the setup folder's drive,
    // which is a whole number of 4 KiB blocks: a sparse BIG.DAT, set when
    // measuring starts to the free space less one block (a length that Wine
    // grows without taking a block), and SMALL.DAT, written beforehand, of
    // one block (need = free space) or one byte less. Other programs write to
    // the same disk, so the free space is read again when the check's text
    // shows and once the check has decided; an attempt during which it moved
    // proves nothing and is repeated.
    constexpr int64_t Block = 4096;
    const auto attempt = [](int64_t small, bool& steady) {
        InstallFixture fixture;
        fixture.AddSource("BIG.DAT", "x");
        fixture.AddSource("SMALL.DAT", std::string(static_cast<size_t>(small), 's'));
        fixture.Prepare("[CopyFile]\r\nFile1=(App)\\BIG.DAT\r\nFile2=(App)\\SMALL.DAT\r\n");
        const std::string big = fixture.source / "BIG.DAT";
        int64_t atMeasuring = 0;
        int64_t atCheck = 0;
        int64_t afterCheck = 0;
        fixture.person.At(MeasuringText, [&] {
            atMeasuring = FreeBytesOf(fixture.app);
            REQUIRE(SetFileLength(big, atMeasuring - Block));
        });
        fixture.person.At(FreeSpaceText, [&] { atCheck = FreeBytesOf(fixture.app); });
        // Past the check, before any copy: the file shrinks back to one byte.
        fixture.person.At(FolderCheckText, [&] {
            afterCheck = FreeBytesOf(fixture.app);
            REQUIRE(SetFileLength(big, 1));
        });
        // The question, should it come, is answered No; then OK to the end.
        fixture.person
            .Answer([&] {
                afterCheck = FreeBytesOf(fixture.app);
                return IDNO;
            })
            .Answer(IDOK);
        const Flow flow = fixture.Install();
        steady = atMeasuring == atCheck && atCheck == afterCheck;
        fixture.status.Hide();
        if (!steady) return;

        const bool equal = small == Block;
        CHECK(fixture.install.totalBytes == atMeasuring - Block + small);
        CHECK(fixture.install.byteProgress);
        if (equal) {
            CheckTranscript(fixture.person.LinesAfter(FreeSpaceText),
                            {BoxLine("空き容量不足", MB_YESNO | MB_ICONQUESTION, ShortSpaceQuestion),
                             AbandonBox("セットアップ中止")});
            CHECK(flow == Flow::Stop);
            CHECK(fixture.main.ModalResult() == 1);
            CHECK(fixture.back.Enabled());
            // Nothing after the check: no pause for it, no setup folder step.
            CHECK(fixture.StepPauses() == std::vector<unsigned long>{7, 7});
            CHECK(fixture.state.setupRoot.empty());
        } else {
            CHECK(flow == Flow::GoOn);
            const std::vector<std::string> after = fixture.person.LinesAfter(FreeSpaceText);
            REQUIRE_FALSE(after.empty());
            CHECK(after.front() == StatusLine(FolderCheckText));
            CHECK(FileExists(fixture.app + "SMALL.DAT"));
            CHECK(fixture.person.UnusedAnswers() == 2);
        }
    };
    for (const int64_t small : {Block, Block - 1}) {
        CAPTURE(small);
        bool steady = false;
        for (int tries = 0; tries < 8 && !steady; ++tries) attempt(small, steady);
        CHECK_MESSAGE(steady, "the free space never stood still for the length of one check");
    }
}

TEST_CASE("free space that cannot be measured: the question names the need beyond 4 GiB; Yes goes on")
{
    const std::string drive = MissingDrive();
    REQUIRE_FALSE(drive.empty());
    InstallFixture fixture;
    fixture.AddSource("BIG.DAT", "x");
    REQUIRE(SetFileLength(fixture.source / "BIG.DAT", (int64_t{1} << 32) + 1));
    fixture.AddSource("EMPTY.DAT", "");
    fixture.WriteScript("[DefaultFolder]\r\nFolder=" + drive + "\\Tool\r\n[Extend]\r\nSetupSpeed=7\r\n"
                        "[CopyFile]\r\nFile1=(App)\\BIG.DAT\r\nFile2=(App)\\EMPTY.DAT\r\n");
    fixture.Start();
    // Yes to the space question; Yes to creating the folder, which fails.
    fixture.person.Answer(IDYES).Answer(IDYES).Answer(IDOK).Answer(IDOK);

    CHECK(fixture.Install() == Flow::Stop);

    // 4 GiB + 1, and the empty file counted as 1 byte.
    CHECK(fixture.install.totalBytes == 4294967298);
    CheckTranscript(
        fixture.person.LinesAfter(FreeSpaceText),
        {BoxLine("空き容量不足", MB_YESNO | MB_ICONQUESTION, UnmeasuredSpaceQuestion("4294967298")),
         StatusLine(FolderCheckText), FolderQuestionBox(drive + "\\Tool\\"),
         BoxLine("致命的エラー", MB_OK | MB_ICONHAND,
                 "セットアップフォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．"),
         AbandonBox("セットアップ中止")});
    CHECK(fixture.StepPauses() == std::vector<unsigned long>{7, 7, 7});
    CHECK(fixture.main.ModalResult() == 1);
    CHECK_FALSE(fixture.status.abortButton.Enabled());
    fixture.status.Hide();
}

TEST_CASE("a missing setup folder is asked for: Yes creates every level, No leaves no trace")
{
    InstallFixture fixture("Maker\\表\\Tool\\", false);
    fixture.AddSource("A.TXT", "a");
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\A.TXT\r\n");
    SUBCASE("Yes")
    {
        fixture.person.Answer(IDYES);
        CHECK(fixture.Install() == Flow::GoOn);
        CHECK(FolderExists(fixture.app));
        CHECK(ReadTextFile(fixture.app + "A.TXT") == "a");
        CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                        {FolderQuestionBox(fixture.app), StatusLine(CopyingText(fixture.app + "A.TXT")),
                         LabelLine("100%(1/1)")});
        CHECK(fixture.status.abortButton.Enabled());
    }
    SUBCASE("No")
    {
        fixture.person.Answer(IDNO).Answer(IDOK);
        CHECK(fixture.Install() == Flow::Stop);
        CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                        {FolderQuestionBox(fixture.app), AbandonBox("セットアップ中止")});
        CHECK_FALSE(PathExists(fixture.target / "Maker"));
        CHECK_FALSE(PathExists(fixture.WorkFolder(1) + "UNSETUPB.INI"));
        CHECK(fixture.state.setupRoot.empty());
        CHECK(fixture.state.unSetupPath.empty());
        CHECK_FALSE(fixture.status.abortButton.Enabled());
        CHECK(fixture.main.ModalResult() == 1);
        CHECK(fixture.back.Enabled());
    }
    fixture.status.Hide();
}

TEST_CASE("a second install into the same folder starts from the earlier record's lists and slots")
{
    InstallFixture fixture;
    const std::string record = "[DeleteFolder]\r\nFolder1=C:\\Old\\DATA\\\r\n"
                               "[DeleteFile]\r\nFile1=C:\\Old\\表.DLL,/S/R\r\nFile2=C:\\Old\\UNSETUP.INI\r\nFile4=C:\\Gap\r\n"
                               "[DeleteShortCut]\r\nFile1=C:\\Links\\Old.lnk\r\n"
                               "[DeleteRegistry]\r\nKey1=(Cuser)Software\\Old\r\n"
                               "[AddDeleteFile]\r\nFile1=C:\\Old\\*.LOG\r\n"
                               "[RestoreRelate]\r\nKey1=abc,OldType\r\nKey2=abc,OldType\r\nKey5=xyz,\r\n";
    WriteTextFile(fixture.app + "UNSETUP.INI", record);
    fixture.AddSource("NEW.TXT", "new");
    fixture.Prepare("[Relate]\r\nName3=abc\r\nFile3=open,(App)\\V.EXE,%1,0\r\nName5=def\r\n"
                    "[MakeFolder]\r\nFolder1=(App)DATA\r\n[CopyFile]\r\nFile1=(App)\\NEW.TXT\r\n");

    // Declined, the association leaves the slots as the record left them.
    fixture.person.Answer(IDNO);
    CHECK(fixture.Install() == Flow::GoOn);

    CHECK(ReadTextFile(fixture.state.unSetupBackupPath) == record);
    const UninstallLists& lists = fixture.install.lists;
    CHECK(lists.deleteFolderList == std::vector<std::string>{"C:\\Old\\DATA\\", fixture.app + "DATA\\"});
    CHECK(lists.deleteFileList == std::vector<std::string>{"C:\\Old\\表.DLL,/S/R", "C:\\Old\\UNSETUP.INI",
                                                           fixture.app + "NEW.TXT", fixture.app + "UNSETUP.INI"});
    CHECK(lists.deleteShortCutList == std::vector<std::string>{"C:\\Links\\Old.lnk"});
    CHECK(lists.deleteRegistryList == std::vector<std::string>{"(Cuser)Software\\Old"});
    CHECK(lists.addDeleteFileList == std::vector<std::string>{"C:\\Old\\*.LOG"});
    CHECK(fixture.state.restoreRelateSlots[0] == "abc,OldType");
    CHECK(fixture.state.restoreRelateSlots[1] == "xyz,");
    CHECK(fixture.state.restoreRelateSlots[2].empty());

    // Only pairs with both sides count, numbered without gaps.
    REQUIRE(fixture.install.relateTable.size() == 1);
    CHECK(fixture.install.relateTable[0].name == "abc");
    CHECK(fixture.install.relateTable[0].file == "open,(App)\\V.EXE,%1,0");
    fixture.status.Hide();
}
