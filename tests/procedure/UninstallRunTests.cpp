// The uninstall as a whole: the windows it shows and the progress messages
// a person sees, the failure question answered either way, the end of the
// run, and the refusal of a record without a usable setup folder.
#include <doctest/doctest.h>

#include "UninstallFixture.h"
#include "services/SystemErrorText.h"
#include "support/ScratchRegistry.h"
#include "support/Utf8.h"

#include <windows.h>

namespace {

const std::string Working = "アンセットアップ(アンインストール)を行っています．．．";
const std::string SomeFailed = "一部の処理に失敗しました．";
const std::string Done = "アンセットアップを完了しました．";

void CheckRunEnded(RunFixture& run)
{
    CHECK(run.main.ModalResult() == 1);
    CHECK(run.back.Enabled());
    CHECK_FALSE(run.main.Visible());
    CHECK(run.status.Visible());
    run.status.Hide();
}

}  // namespace

TEST_CASE("the uninstall runs on the progress window and ends the run")
{
    UninstallFixture fixture;
    const std::string installed = fixture.app / "APP.EXE";
    WriteTextFile(installed, "installed");
    fixture.record.files = {installed};
    fixture.record.checkBox = "1,1,1,1";
    fixture.Start();
    MainWindow& main = fixture.run.main;
    main.Show();
    ScriptedDialogs person;
    RunWatcher watcher(fixture.run);
    person.Answer(IDOK);
    fixture.Uninstall();

    CHECK(watcher.progressMessages == std::vector<std::string>{Working, Done});
    REQUIRE(person.Boxes().size() == 1);
    CheckCompletionBox(person.Boxes()[0]);
    CHECK(fixture.run.status.messageLabel.Text() == Done);
    CHECK_FALSE(main.quitButton.Visible());
    CHECK(main.actionButton.Left() == (489 - 161) / 2);
    for (CheckBox* box : {&main.desktopBox, &main.startMenuBox, &main.startUpBox, &main.sendToBox})
        CHECK_FALSE(box->Enabled());
    CHECK(fixture.run.state.appFolder == fixture.app.Path());
    CHECK_FALSE(PathExists(fixture.app.Path()));
    CheckRunEnded(fixture.run);
}

TEST_CASE("failures are offered as a question; No skips the details, Yes shows them until 続行(&C)")
{
    UninstallFixture fixture;
    const std::string gone = fixture.app / "GONE.EXE";
    fixture.record.files = {gone};
    ScriptedDialogs person;
    RunWatcher watcher(fixture.run);
    SUBCASE("No")
    {
        person.Answer(IDNO).Answer(IDOK);
        fixture.Uninstall();
        CHECK(watcher.reportShown.empty());
    }
    SUBCASE("Yes")
    {
        person.Answer(IDYES).Answer(IDOK);
        fixture.Uninstall();
        CHECK(Utf8(watcher.reportShown) == Utf8("<File> " + gone + "\r\n" + SystemErrorText(2) + "\r\n"));
        CHECK_FALSE(fixture.run.main.actionButton.Enabled());
        // The press ends the wait, no timer: the one pause is before the
        // progress window returns.
        CHECK(fixture.clock.pauses == std::vector<unsigned long>{500});
    }
    CHECK(watcher.progressMessages == std::vector<std::string>{Working, SomeFailed, Done});
    REQUIRE(person.Boxes().size() == 2);
    CheckFailureQuestion(person.Boxes()[0]);
    CheckCompletionBox(person.Boxes()[1]);
    CheckRunEnded(fixture.run);
}

TEST_CASE("a record without a usable setup folder is refused before anything is removed, and the run ends")
{
    UninstallFixture fixture;
    const std::string installed = fixture.elsewhere / "APP.EXE";
    WriteTextFile(installed, "installed");
    ScratchKey entry(HKEY_LOCAL_MACHINE, "uninst-refused");
    REQUIRE(MakeKey(HKEY_LOCAL_MACHINE, entry.Path()));
    const std::string list = fixture.run.windows / "OVSET98.INI";
    WriteTextFile(list, "[ID1]\r\nFolder=C:\\X\\\r\n");
    fixture.record.files = {installed};
    fixture.record.uninstallKey = entry.Path();
    fixture.record.programId = "ID1";
    fixture.record.checkBox = "DeleteAll";
    SUBCASE("no SetupFolder section: the folder box shows \"\\\"")
    {
        fixture.record.writeSetupFolder = false;
        fixture.Start();
        CHECK(fixture.run.main.folderBox.Text() == "\\");
    }
    SUBCASE("an empty folder box")
    {
        fixture.Start();
        fixture.run.main.folderBox.SetText("");
    }
    SUBCASE("a relative folder")
    {
        fixture.record.setupFolder = "APP\\";
    }
    SUBCASE("a drive-relative folder")
    {
        fixture.record.setupFolder = "\\Windows\\";
    }
    ScriptedDialogs person;
    person.Answer(IDOK);
    fixture.Uninstall();
    REQUIRE(person.Boxes().size() == 1);
    CHECK(person.Boxes()[0].text == "アンセットアップ(アンインストール)フォルダが不明です．\r\n"
                                    "アンセットアップ(アンインストール)は続行できません．");
    CHECK(person.Boxes()[0].caption == "致命的エラー");
    CHECK(person.Boxes()[0].flags == (MB_OK | MB_ICONHAND));
    CHECK(PathExists(installed));
    CHECK(PathExists(fixture.app / "UNSETUP.INI"));
    CHECK(KeyExists(HKEY_LOCAL_MACHINE, entry.Path()));
    CHECK(ReadTextFile(list) == "[ID1]\r\nFolder=C:\\X\\\r\n");
    CheckRunEnded(fixture.run);
}
