// The folder and copy phases of the install on real files under Wine: disk
// changes, compressed entries from an independent compressor, the overwrite
// decision, the three switches, failures in the report, the progress label
// in both modes, and the abort.
#include <doctest/doctest.h>

#include "InstallFixture.h"
#include "script/PathParts.h"
#include "services/FileOps.h"
#include "services/SharedComponents.h"
#include "services/SystemErrorText.h"
#include "support/FileShapes.h"
#include "support/Fixtures.h"
#include "support/LzFixtures.h"
#include "support/PendingRenames.h"
#include "support/ScratchRegistry.h"

#include <windows.h>

namespace {

const std::string AbortQuestion =
    "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
    "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
    "本当にセットアップを中断しますか？";

std::string DiskBox(int disk)
{
    return BoxLine("ディスク交換", MB_OKCANCEL | MB_ICONINFORMATION,
                   std::to_string(disk) + "枚目のディスクに交換してください．");
}

std::string OverwriteBox(const std::string& file)
{
    return BoxLine("上書き確認", MB_YESNO | MB_ICONQUESTION,
                   file + "\r\r" + "このファイルは既に存在します．" + "\r" + "上書きしてもよろしいですか？");
}

std::string MissingSourceBlock(const std::string& source)
{
    return "<File> " + source + "\r\nコピー元のファイルが見つかりません．\r\n\r\n";
}

}  // namespace

TEST_CASE("the folder phase records made and existing folders; a child before its parent fails and is reported")
{
    InstallFixture fixture;
    CreateDirectoryA((fixture.app + "DATA").c_str(), nullptr);
    fixture.Prepare("[MakeFolder]\r\nFolder1=(App)DATA\r\nFolder2=(App)\\SUB\\CHILD\r\nFolder3=(App)\\SUB\\\r\n"
                    "Folder4=(App)\\SUB\\CHILD\r\n");

    CHECK(fixture.Install() == Flow::GoOn);

    const std::string data = fixture.app + "DATA\\";
    const std::string sub = fixture.app + "SUB\\";
    const std::string child = fixture.app + "SUB\\CHILD\\";
    CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                    {StatusLine(CreatingText(data)), StatusLine(CreatingText(child)), StatusLine(CreatingText(sub)),
                     StatusLine(CreatingText(child))});
    CHECK(FolderExists(child));
    CHECK(fixture.install.lists.deleteFolderList == std::vector<std::string>{data, sub, child});
    CHECK(fixture.install.failures.Text() == FailureBlock("<Folder> ", child, ERROR_PATH_NOT_FOUND));
    CHECK(fixture.install.failures.Count() == 1);
    // A pause after each folder; no copy entries, so the record alone is listed.
    CHECK(fixture.StepPauses() == std::vector<unsigned long>{7, 7, 7, 7, 7, 7, 7});
    CHECK(fixture.install.lists.deleteFileList == std::vector<std::string>{fixture.state.unSetupPath});
    CHECK_FALSE(fixture.status.progressFrame.Visible());
    fixture.status.Hide();
}

TEST_CASE("each (Dch) entry asks for the next disk until its file is there; Cancel is fatal")
{
    InstallFixture fixture;
    fixture.AddSource("ONE.TXT", "1");
    fixture.AddSource("THREE.TXT", "3");
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\ONE.TXT\r\nFile2=(Dch)(App)\\TWO.TXT\r\n"
                    "File3=(Dch)(App)\\THREE.TXT\r\nFile4=(Dch)(App)\\FOUR.TXT\r\nFile5=(App)\\ONE.TXT\r\n");
    fixture.person.Answer(IDOK)  // disk 2 is not in yet
        .Answer([&] {
            fixture.AddSource("TWO.TXT", "2");
            return IDOK;
        })
        .Answer(IDOK)  // disk 3: its file was there all along
        .Answer(IDCANCEL)
        .Answer(IDOK);

    CHECK(fixture.Install() == Flow::Stop);

    // The later disks' files were missing while measuring: no free-space check,
    // and the progress counts entries.
    const std::string app = fixture.app;
    CheckTranscript(fixture.person.Lines(),
                    {StatusLine(StartText), StatusLine(InformationText), StatusLine(MeasuringText),
                     StatusLine(FolderCheckText), StatusLine(CopyingText(app + "ONE.TXT")), LabelLine("20%(1/5)"),
                     DiskBox(2), DiskBox(2), StatusLine(CopyingText(app + "TWO.TXT")), LabelLine("40%(2/5)"),
                     DiskBox(3), StatusLine(CopyingText(app + "THREE.TXT")), LabelLine("60%(3/5)"), DiskBox(4),
                     AbandonBox("致命的エラー")});
    CHECK(ReadTextFile(app + "TWO.TXT") == "2");
    CHECK(ReadTextFile(app + "THREE.TXT") == "3");
    CHECK_FALSE(PathExists(app + "FOUR.TXT"));
    CHECK(fixture.install.lists.deleteFileList ==
          std::vector<std::string>{app + "ONE.TXT", app + "TWO.TXT", app + "THREE.TXT"});
    CHECK(fixture.main.ModalResult() == 1);
    CHECK(fixture.back.Enabled());
    fixture.status.Hide();
}

TEST_CASE("compressed entries expand under the stored name or the \"|\" name; a damaged one is reported, not installed")
{
    InstallFixture fixture;
    ScratchSharedCounts counts;
    fixture.AddSource("README.TX_", ClassicLzForm(LzFixture("README.TXT_"), 'T'));
    fixture.AddSource("SAMPLE.DAT_", LzFixture("SAMPLE.DAT_"));
    const std::string compressed = ClassicLzForm(LzFixture("SAMPLE.DAT_"), 'T');
    fixture.AddSource("BROKEN.DA_", compressed.substr(0, compressed.size() / 2));
    fixture.Prepare("[MakeFolder]\r\nFolder1=(App)DATA\r\n[CopyFile]\r\nFile1=(App)\\README.TX_\r\n"
                    "File2=(App)\\SAMPLE.DAT_|DATA\\表.DAT\r\nFile3=(App)\\BROKEN.DA_,/S\r\n");
    const std::string app = fixture.app;
    counts.Watch(app + "BROKEN.DAT");

    CHECK(fixture.Install() == Flow::GoOn);

    CHECK(ReadTextFile(app + "README.TXT") == LzFixture("README.TXT"));
    CHECK(ReadTextFile(app + "DATA\\表.DAT") == LzFixture("SAMPLE.DAT"));
    CHECK_FALSE(PathExists(app + "BROKEN.DAT"));
    CHECK_FALSE(PathExists(app + "AUTO.EXT"));
    CHECK_FALSE(PathExists(fixture.temp / "EXPAND.OVX"));
    // The bar counts the compressed sizes, as the sources lie.
    const int64_t readme = static_cast<int64_t>(ReadTextFile(fixture.source / "README.TX_").size());
    const int64_t sample = static_cast<int64_t>(ReadTextFile(fixture.source / "SAMPLE.DAT_").size());
    const int64_t total = readme + sample + static_cast<int64_t>(ReadTextFile(fixture.source / "BROKEN.DA_").size());
    CHECK(fixture.install.totalBytes == total);
    const auto percent = [&](int64_t done) { return std::to_string(done * 100 / total) + "%"; };
    CheckTranscript(fixture.person.LinesAfter(CreatingText(app + "DATA\\")),
                    {StatusLine(CopyingText(app + "README.TXT")), LabelLine(percent(readme) + "(1/3)"),
                     StatusLine(CopyingText(app + "DATA\\表.DAT")), LabelLine(percent(readme + sample) + "(2/3)"),
                     StatusLine(CopyingText(app + "BROKEN.DAT")), LabelLine("100%(3/3)")});
    // The damaged file did not expand: it is reported as damaged, nothing is
    // recorded, and no shared count is raised for it.
    CHECK(fixture.install.failures.Text() == "<File> " + fixture.source / "BROKEN.DA_" + "\r\n" +
                                                 "圧縮ファイルが壊れているため，展開できませんでした．\r\n\r\n");
    CHECK(fixture.install.lists.deleteFileList ==
          std::vector<std::string>{app + "README.TXT", app + "DATA\\表.DAT", fixture.state.unSetupPath});
    CHECK_FALSE(ScratchSharedCounts::Stored(app + "BROKEN.DAT"));
    fixture.status.Hide();
}

TEST_CASE("overwrite on: only a newer source replaces the file; /R registers, /s counts, even when not copied")
{
    NoJournal unjournaled;
    InstallFixture fixture;
    ScratchSharedCounts counts;
    ClearRegistrationTraces();
    const std::string app = fixture.app;
    const std::string component = ReadTextFile(ProgramFolder() + "regok.dll");
    REQUIRE_FALSE(component.empty());
    const FILETIME early = LocalMoment(2003, 5, 1, 9, 0, 0);
    const FILETIME late = LocalMoment(2003, 5, 1, 9, 0, 10);
    const struct {
        const char* name;
        std::string source;
        FILETIME sourceTime;
        std::string installed;
        FILETIME installedTime;
    } files[] = {
        {"OLDER.DAT", "new", late, "old", early},
        // The installed component carries trailing bytes, so that a copy would show.
        {"EQUAL.DLL", component, late, component + "installed", late},
        {"NEWER.DAT", "new", early, "kept", late},
        // A stamp of 2044 or later sets the top bit of the packed date.
        {"FUTURE.DAT", "new", LocalMoment(2050, 1, 1, 0, 0, 0), "old", late},
    };
    for (const auto& file : files) {
        fixture.AddSource(file.name, file.source);
        REQUIRE(SetWriteTime(fixture.source / file.name, file.sourceTime));
        WriteTextFile(app + file.name, file.installed);
        REQUIRE(SetWriteTime(app + file.name, file.installedTime));
    }
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\OLDER.DAT\r\nFile2=(App)\\EQUAL.DLL,/R\r\nFile3=(App)\\NEWER.DAT,/s\r\n"
                    "File4=(App)\\FUTURE.DAT\r\n");
    counts.Watch(app + "NEWER.DAT");

    CHECK(fixture.Install() == Flow::GoOn);

    CHECK(ReadTextFile(app + "OLDER.DAT") == "new");
    CHECK(ReadTextFile(app + "EQUAL.DLL") == component + "installed");
    CHECK(ReadTextFile(app + "NEWER.DAT") == "kept");
    CHECK(ReadTextFile(app + "FUTURE.DAT") == "new");
    CHECK(RegistrationTrace(app + "EQUAL.DLL") == "registered");
    // A file on disk that nobody counted yet is taken to have one user already.
    CHECK(GetSharedCount(app + "NEWER.DAT", unjournaled) == 2);
    CHECK(fixture.install.lists.deleteFileList ==
          std::vector<std::string>{app + "OLDER.DAT", app + "EQUAL.DLL,/R", app + "NEWER.DAT,/s", app + "FUTURE.DAT",
                                   fixture.state.unSetupPath});
    CHECK(fixture.install.failures.Empty());
    // No question with the box on.
    for (const std::string& line : fixture.person.Lines()) CHECK(line.rfind("box", 0) != 0);
    ClearRegistrationTraces();
    fixture.status.Hide();
}

TEST_CASE("overwrite off: the question, answered No, keeps the file unless the entry has /W")
{
    InstallFixture fixture;
    const std::string app = fixture.app;
    for (const char* name : {"KEEP.TXT", "ALWAYS.TXT"}) {
        fixture.AddSource(name, "new");
        WriteTextFile(app + name, "old");
    }
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\KEEP.TXT\r\nFile2=(App)\\ALWAYS.TXT,/W\r\n");
    fixture.main.overwriteBox.SetChecked(false);
    fixture.person.Answer(IDNO).Answer(IDNO);

    CHECK(fixture.Install() == Flow::GoOn);

    CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                    {StatusLine(CopyingText(app + "KEEP.TXT")), OverwriteBox(app + "KEEP.TXT"), LabelLine("50%(1/2)"),
                     StatusLine(CopyingText(app + "ALWAYS.TXT")), OverwriteBox(app + "ALWAYS.TXT"),
                     LabelLine("100%(2/2)")});
    CHECK(ReadTextFile(app + "KEEP.TXT") == "old");
    CHECK(ReadTextFile(app + "ALWAYS.TXT") == "new");
    CHECK(fixture.install.lists.deleteFileList ==
          std::vector<std::string>{app + "KEEP.TXT", app + "ALWAYS.TXT,/W", fixture.state.unSetupPath});
    fixture.status.Hide();
}

TEST_CASE("a new file carries only the archive flag, whatever flags its source has")
{
    InstallFixture fixture;
    const std::string app = fixture.app;
    fixture.AddSource("PLAIN.TXT", "plain");
    fixture.AddSource("RO.TXT", "read-only");
    SetFileAttributesA((fixture.source / "RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\PLAIN.TXT\r\nFile2=(App)\\RO.TXT\r\n");

    CHECK(fixture.Install() == Flow::GoOn);

    CHECK(ReadTextFile(app + "PLAIN.TXT") == "plain");
    CHECK(GetFileAttributesA((app + "PLAIN.TXT").c_str()) == FILE_ATTRIBUTE_ARCHIVE);
    // The system's copy carried the source's flags; they are cleared.
    CHECK(ReadTextFile(app + "RO.TXT") == "read-only");
    CHECK(GetFileAttributesA((app + "RO.TXT").c_str()) == FILE_ATTRIBUTE_ARCHIVE);
}

TEST_CASE("a read-only destination is replaced; a folder in the file's place is access denied, and its count restored")
{
    NoJournal unjournaled;
    InstallFixture fixture;
    ScratchSharedCounts counts;
    const std::string app = fixture.app;
    fixture.AddSource("RO.TXT", "new");
    SetFileAttributesA((fixture.source / "RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTextFile(app + "RO.TXT", "old");
    REQUIRE(SetWriteTime(app + "RO.TXT", LocalMoment(1999, 1, 1, 0, 0, 0)));
    SetFileAttributesA((app + "RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    fixture.AddSource("BLOCKED.DLL", "dll");
    CreateDirectoryA((app + "BLOCKED.DLL").c_str(), nullptr);
    fixture.AddSource("UNCOUNTED.DLL", "dll");
    CreateDirectoryA((app + "UNCOUNTED.DLL").c_str(), nullptr);
    counts.Set(app + "BLOCKED.DLL", 3);
    counts.Watch(app + "UNCOUNTED.DLL");
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\RO.TXT\r\nFile2=(App)\\BLOCKED.DLL,/S/R\r\nFile3=(App)\\UNCOUNTED.DLL,/S\r\n");

    CHECK(fixture.Install() == Flow::GoOn);

    CHECK(ReadTextFile(app + "RO.TXT") == "new");
    CHECK(GetFileAttributesA((app + "RO.TXT").c_str()) == FILE_ATTRIBUTE_ARCHIVE);
    const std::string denied = SystemErrorText(ERROR_ACCESS_DENIED);
    CHECK(denied == "アクセスが拒否されました。\r\n");
    CHECK(fixture.install.failures.Text() == "<File> " + app + "BLOCKED.DLL\r\n" + denied + "\r\n" + "<File> " + app +
                                                 "UNCOUNTED.DLL\r\n" + denied + "\r\n");
    CHECK(fixture.install.failures.Count() == 2);
    CHECK(fixture.install.lists.deleteFileList == std::vector<std::string>{app + "RO.TXT", fixture.state.unSetupPath});
    CHECK(GetSharedCount(app + "BLOCKED.DLL", unjournaled) == 3);
    CHECK_FALSE(ScratchSharedCounts::Stored(app + "UNCOUNTED.DLL"));
    // No registration box: no file stands at the destination.
    for (const std::string& line : fixture.person.Lines()) CHECK(line.rfind("box", 0) != 0);
    fixture.status.Hide();
}

TEST_CASE("a destination another program holds is replaced at the next restart: recorded, counted, a restart needed")
{
    NoJournal unjournaled;
    ScratchFolder logs("log");  // outlives the fixture, which closes the log
    InstallFixture fixture;
    ScratchSharedCounts counts;
    const PendingRenamesRestored restored;
    const std::string app = fixture.app;
    const std::string held = app + "HELD.DLL";
    fixture.AddSource("HELD.DLL", "new");
    WriteTextFile(held, "old");
    REQUIRE(SetWriteTime(held, LocalMoment(1999, 1, 1, 0, 0, 0)));
    counts.Watch(held);
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\HELD.DLL,/S\r\n");
    REQUIRE(fixture.state.log.Open(logs / "setup.log") == 0);
    const size_t pendingBefore = PendingRenames().size();

    {
        // Held without sharing, as a running program holds its files.
        HeldOpen open(held);
        CHECK(fixture.Install() == Flow::GoOn);
    }
    fixture.state.log = RunLog();

    CHECK(fixture.install.failures.Empty());
    CHECK(fixture.install.lists.deleteFileList == std::vector<std::string>{held + ",/S", fixture.state.unSetupPath});
    // Raised as for a good copy: the file that was there counts as one user.
    CHECK(GetSharedCount(held, unjournaled) == 2);
    CHECK(fixture.state.rebootNeeded == 1);
    // The old file stays until the restart; the new one waits beside it, and
    // the system's list moves it over the old one.
    CHECK(ReadTextFile(held) == "old");
    const std::vector<std::string> pending = PendingRenames();
    REQUIRE(pending.size() == pendingBefore + 2);
    const std::string waiting = PendingRenamePath(pending[pendingBefore]);
    CHECK(pending[pendingBefore] == "\\??\\" + waiting);
    CHECK(pending[pendingBefore + 1] == "!\\??\\" + held);
    CHECK(FolderPart(waiting) == app);
    CHECK(ReadTextFile(waiting) == "new");
    const std::string log = ReadTextFile(logs / "setup.log");
    CHECK(log.find("In use, replaced at restart: " + held + " (held by ") != std::string::npos);
    CHECK(log.find("; the new file waits as " + waiting + ")") != std::string::npos);
    fixture.status.Hide();
}

TEST_CASE("the progress label: by bytes while every size is known, else by entries")
{
    InstallFixture fixture;
    const std::string app = fixture.app;
    SUBCASE("by bytes; an empty file counts as one byte")
    {
        fixture.AddSource("A.TXT", "a");
        fixture.AddSource("B.TXT", "");
        fixture.AddSource("C.TXT", "cc");
        fixture.Prepare("[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\nFile3=(App)\\C.TXT\r\n");
        CHECK(fixture.Install() == Flow::GoOn);
        CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                        {StatusLine(CopyingText(app + "A.TXT")), LabelLine("25%(1/3)"),
                         StatusLine(CopyingText(app + "B.TXT")), LabelLine("50%(2/3)"),
                         StatusLine(CopyingText(app + "C.TXT")), LabelLine("100%(3/3)")});
        CHECK(fixture.status.progressBar.Position() == 100);
        CHECK(fixture.install.totalBytes == 4);
        CHECK(fixture.install.doneBytes == 4);
    }
    SUBCASE("by entries: a source missing from the first entry on")
    {
        for (const char* name : {"B.TXT", "C.TXT", "D.TXT"}) fixture.AddSource(name, "x");
        fixture.Prepare("[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\nFile3=(App)\\C.TXT\r\n"
                        "File4=(App)\\D.TXT\r\n");
        CHECK(fixture.Install() == Flow::GoOn);
        CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                        {StatusLine(SkippingText(app + "A.TXT")), LabelLine("25%(1/4)"),
                         StatusLine(CopyingText(app + "B.TXT")), LabelLine("50%(2/4)"),
                         StatusLine(CopyingText(app + "C.TXT")), LabelLine("75%(3/4)"),
                         StatusLine(CopyingText(app + "D.TXT")), LabelLine("100%(4/4)")});
        CHECK(fixture.install.failures.Text() == MissingSourceBlock(fixture.source / "A.TXT"));
        CHECK(fixture.install.lists.deleteFileList ==
              std::vector<std::string>{app + "B.TXT", app + "C.TXT", app + "D.TXT", fixture.state.unSetupPath});
        // Skipped or not, every entry has its pause.
        CHECK(fixture.StepPauses() == std::vector<unsigned long>{7, 7, 7, 7, 7, 7});
    }
    SUBCASE("a source gone during the copy switches to entries, with one box")
    {
        for (const char* name : {"A.TXT", "B.TXT"}) fixture.AddSource(name, "xx");
        fixture.AddSource("C.TXT", "xxxx");
        fixture.Prepare("[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\nFile3=(App)\\C.TXT\r\n");
        fixture.person.At(CopyingText(app + "B.TXT"), [&] { DeleteFileA((fixture.source / "B.TXT").c_str()); });
        fixture.person.Answer(IDOK);
        CHECK(fixture.Install() == Flow::GoOn);
        CheckTranscript(fixture.person.LinesAfter(FolderCheckText),
                        {StatusLine(CopyingText(app + "A.TXT")), LabelLine("25%(1/3)"),
                         StatusLine(CopyingText(app + "B.TXT")),
                         BoxLine("内部エラー", MB_OK | MB_ICONEXCLAMATION,
                                 "ファイルサイズの取得に失敗したため，進行状況の表示方法を変更します．"),
                         LabelLine("66%(2/3)"), StatusLine(CopyingText(app + "C.TXT")), LabelLine("100%(3/3)")});
        CHECK(fixture.install.failures.Text() == FailureBlock("<File> ", app + "B.TXT", ERROR_FILE_NOT_FOUND));
    }
    fixture.status.Hide();
}

TEST_CASE("the abort pressed at a status text stops before the item, with no further box")
{
    InstallFixture fixture;
    const std::string app = fixture.app;
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) fixture.AddSource(name, "x");
    fixture.Prepare("[MakeFolder]\r\nFolder1=(App)\\F1\r\nFolder2=(App)\\F2\r\n"
                    "[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\nFile3=(App)\\C.TXT\r\n");
    const auto pressAbort = [&] { fixture.status.abortButton.Click(); };
    const std::vector<std::string> abortBoxes = {
        BoxLine("中断の確認", MB_YESNO | MB_ICONQUESTION, AbortQuestion),
        BoxLine("中断", MB_OK | MB_ICONEXCLAMATION, "セットアップを中断しました．")};

    SUBCASE("while a file's text shows")
    {
        fixture.person.At(CopyingText(app + "B.TXT"), pressAbort).Answer(IDYES).Answer(IDOK);
        CHECK(fixture.Install() == Flow::Stop);
        std::vector<std::string> expected = {StatusLine(CopyingText(app + "A.TXT")), LabelLine("33%(1/3)"),
                                             StatusLine(CopyingText(app + "B.TXT"))};
        expected.insert(expected.end(), abortBoxes.begin(), abortBoxes.end());
        CheckTranscript(fixture.person.LinesAfter(CreatingText(app + "F2\\")), expected);
        CHECK(PathExists(app + "A.TXT"));
        CHECK_FALSE(PathExists(app + "B.TXT"));
        CHECK_FALSE(PathExists(app + "C.TXT"));
        CHECK(fixture.install.lists.deleteFileList == std::vector<std::string>{app + "A.TXT"});
        // No pause after the abort: the last one followed A.TXT.
        CHECK(fixture.StepPauses() == std::vector<unsigned long>{7, 7, 7, 7, 7, 7});
        CHECK(fixture.main.ModalResult() == 1);
        CHECK(fixture.back.Enabled());
        CHECK_FALSE(fixture.status.Visible());
    }
    SUBCASE("while a folder's text shows")
    {
        fixture.person.At(CreatingText(app + "F2\\"), pressAbort).Answer(IDYES).Answer(IDOK);
        CHECK(fixture.Install() == Flow::Stop);
        CheckTranscript(fixture.person.LinesAfter(CreatingText(app + "F2\\")), abortBoxes);
        CHECK(FolderExists(app + "F1"));
        CHECK_FALSE(PathExists(app + "F2"));
        CHECK_FALSE(PathExists(app + "A.TXT"));
    }
    SUBCASE("answered No, the install goes on where it was")
    {
        fixture.person.At(CopyingText(app + "B.TXT"), pressAbort).Answer(IDNO);
        CHECK(fixture.Install() == Flow::GoOn);
        CHECK(PathExists(app + "C.TXT"));
        CHECK(fixture.main.ModalResult() == 0);
        CHECK(fixture.install.lists.deleteFileList.size() == 4);
    }
    fixture.status.Hide();
}

TEST_CASE("a distribution of 1,000 small files with SetupSpeed 1 installs without a failure")
{
    InstallFixture fixture;
    std::string copyFile = "[CopyFile]\r\n";
    for (int n = 1; n <= 1000; ++n) {
        const std::string number = std::to_string(n);
        const std::string name = std::string("F").append(number).append(".TXT");
        fixture.AddSource(name, std::string("file ").append(number));
        copyFile.append("File").append(number).append("=(App)\\").append(name).append("\r\n");
    }
    fixture.WriteScript("[DefaultFolder]\r\nFolder=" + fixture.app + "\r\n[Extend]\r\nSetupSpeed=1\r\n" + copyFile);
    fixture.Start();

    CHECK(fixture.Install() == Flow::GoOn);

    CHECK(fixture.install.failures.Empty());
    CHECK(fixture.install.copyEntryCount == 1000);
    CHECK(fixture.install.copiedCount == 1000);
    REQUIRE(fixture.install.lists.deleteFileList.size() == 1001);
    CHECK(fixture.install.lists.deleteFileList[999] == fixture.app + "F1000.TXT");
    CHECK(fixture.install.lists.deleteFileList.back() == fixture.state.unSetupPath);
    CHECK(ReadTextFile(fixture.app + "F777.TXT") == "file 777");
    CHECK(fixture.status.progressLabel.Text() == "100%(1000/1000)");
    const std::vector<unsigned long> pauses = fixture.StepPauses();
    CHECK(pauses.size() == 1003);
    CHECK(std::all_of(pauses.begin(), pauses.end(), [](unsigned long pause) { return pause == 1; }));
    fixture.status.Hide();
}
