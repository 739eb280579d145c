// The uninstall's files: each row of the per-file decision (shared counts,
// switches, the two boxes and the four-button dialog), the dialog's answer
// memory across both file sections, and the failures that are reported.
#include <doctest/doctest.h>

#include "UninstallFixture.h"
#include "script/PathParts.h"
#include "services/SystemErrorText.h"
#include "support/Fixtures.h"
#include "support/PendingRenames.h"
#include "support/ScratchRegistry.h"
#include "support/Utf8.h"

#include <windows.h>

#include <algorithm>

namespace {

const std::string Caption = "ファイル削除の確認";

std::string CautionText(const std::string& path)
{
    return path + "\r\rこのファイルを削除してもよろしいですか？\r\r<<　注意　>>\r"
                  "DLL/OCXなどは他のプログラムでも使用される可能性があります．\r"
                  "確実に使用されないことがわかっている場合のみ削除してください．";
}

std::string UnsharedText(const std::string& path)
{
    return path + "\r\rこのDLL/OCXファイルは，共有登録されていませんが，\r"
                  "今後，他のプログラムで使われる可能性があります．\rこのファイルを削除してもよろしいですか？";
}

std::string SharedText(const std::string& path)
{
    return path + "\r\rこの共有ファイルは，現在，他のどのプログラムからも使われていません．\r"
                  "しかし，今後，他のプログラムで使われる可能性があります．\rこのファイルを削除してもよろしいですか？";
}

// Presses one button of the four-button dialog and notes the message shown.
struct DialogPresses {
    std::vector<std::string> messages;

    void Queue(ScriptedDialogs& person, Button SharedFileDialog::*button)
    {
        person.AnswerConfirm([this, button](ModalWindow& window) {
            auto& dialog = static_cast<SharedFileDialog&>(window);
            messages.push_back(dialog.messageLabel.Text());
            (dialog.*button).Click();
        });
    }
};

void CheckQuestion(const AskedBox& box, const std::string& text)
{
    CHECK(Utf8(box.text) == Utf8(text));
    CHECK(box.caption == Caption);
    CHECK(box.flags == (MB_YESNO | MB_ICONQUESTION));
}

}  // namespace

TEST_CASE("a file no program counts: the switches and the folder decide, first match wins")
{
    UninstallFixture fixture;
    ScratchFolder system("sys");
    const std::string file = fixture.elsewhere / "本体.DAT";
    WriteTextFile(file, "x");
    ScriptedDialogs person;

    SUBCASE("/C asks with the caution; Yes deletes")
    {
        fixture.record.files = {file + ",/C/L"};
        person.Answer(IDYES).Answer(IDOK);
        fixture.Uninstall();
        REQUIRE(person.Boxes().size() == 2);
        CheckQuestion(person.Boxes()[0], CautionText(file));
        CHECK_FALSE(PathExists(file));
    }
    SUBCASE("/C asks with the caution; No keeps")
    {
        fixture.record.files = {file + ",/c"};
        person.Answer(IDNO).Answer(IDOK);
        fixture.Uninstall();
        REQUIRE(person.Boxes().size() == 2);
        CheckQuestion(person.Boxes()[0], CautionText(file));
        CHECK(PathExists(file));
    }
    SUBCASE("/L keeps without a question, before /F")
    {
        fixture.record.files = {file + ",/L/F"};
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK(person.Boxes().size() == 1);
        CHECK(PathExists(file));
    }
    SUBCASE("no switch: deleted without a question")
    {
        fixture.record.files = {file};
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK(person.Boxes().size() == 1);
        CHECK_FALSE(PathExists(file));
    }
    SUBCASE("a DLL in the Windows or the system folder is asked about; /F deletes it without a question")
    {
        const std::string inWindows = fixture.run.windows / "UNSHARED.DLL";
        const std::string inSystem = system / "UNSHARED.OCX";
        const std::string forced = fixture.run.windows / "FORCED.DLL";
        const std::string inSetupFolder = fixture.app / "UNSHARED.DLL";
        for (const std::string& path : {inWindows, inSystem, forced, inSetupFolder}) PlaceComponent(path);
        fixture.record.files = {inWindows, inSystem, forced + ",/F", inSetupFolder};
        fixture.Start();
        fixture.run.state.systemFolder = system.Path();
        person.Answer(IDNO).Answer(IDYES).Answer(IDOK);
        fixture.Uninstall();
        REQUIRE(person.Boxes().size() == 3);
        CheckQuestion(person.Boxes()[0], UnsharedText(inWindows));
        CheckQuestion(person.Boxes()[1], UnsharedText(inSystem));
        CHECK(PathExists(inWindows));
        CHECK_FALSE(PathExists(inSystem));
        CHECK_FALSE(PathExists(forced));
        CHECK_FALSE(PathExists(inSetupFolder));
    }
    CheckCompletionBox(person.Boxes().back());
    CHECK(person.ConfirmDialogs() == 0);
}

TEST_CASE("a counted file: only a shared one is uncounted, and only the last user is asked")
{
    UninstallFixture fixture;
    const std::string file = fixture.elsewhere / "共有.DAT";
    WriteTextFile(file, "x");
    ScriptedDialogs person;
    DialogPresses dialog;
    ScratchSharedCounts counts;

    SUBCASE("without /S the count stays and so does the file")
    {
        counts.Set(file, 2);
        fixture.record.files = {file + ",/R/W"};
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK(ScratchSharedCounts::Stored(file) == 2u);
        CHECK(PathExists(file));
    }
    SUBCASE("/S with other users left: one fewer, no question")
    {
        counts.Set(file, 3);
        fixture.record.files = {file + ",/S"};
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK(ScratchSharedCounts::Stored(file) == 2u);
        CHECK(PathExists(file));
    }
    SUBCASE("/S and the last user: the count goes, the dialog asks; Yes deletes")
    {
        counts.Set(file, 1);
        fixture.record.files = {file + ",/s"};
        dialog.Queue(person, &SharedFileDialog::yesButton);
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK_FALSE(ScratchSharedCounts::Stored(file).has_value());
        REQUIRE(dialog.messages.size() == 1);
        CHECK(Utf8(dialog.messages[0]) == Utf8(SharedText(file)));
        CHECK_FALSE(PathExists(file));
    }
    SUBCASE("/S and the last user: No keeps the file, without its count")
    {
        counts.Set(file, 1);
        fixture.record.files = {file + ",/S"};
        dialog.Queue(person, &SharedFileDialog::noButton);
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK_FALSE(ScratchSharedCounts::Stored(file).has_value());
        CHECK(dialog.messages.size() == 1);
        CHECK(PathExists(file));
    }
    SUBCASE("/R/S/C: only the comma and four characters count, so /C is never seen")
    {
        counts.Set(file, 1);
        const std::string uncounted = fixture.elsewhere / "NOCOUNT.DAT";
        WriteTextFile(uncounted, "x");
        fixture.record.files = {uncounted + ",/R/S/C", file + ",/R/S/C"};
        dialog.Queue(person, &SharedFileDialog::yesButton);
        person.Answer(IDOK);
        fixture.Uninstall();
        CHECK_FALSE(PathExists(uncounted));  // deleted without the caution box
        CHECK(dialog.messages.size() == 1);  // the shared file's dialog, by its /S
        CHECK_FALSE(PathExists(file));
    }
    CHECK(person.Boxes().size() == 1);
    CheckCompletionBox(person.Boxes().back());
    CHECK(person.Unused() == 0);
}

TEST_CASE("すべて削除 and すべて保存 answer for every later shared file, into the extra files too")
{
    UninstallFixture fixture;
    std::vector<std::string> files;
    ScratchSharedCounts counts;
    for (const char* name : {"A.DAT", "B.DAT", "C.DAT", "D.DAT"}) {
        files.push_back(fixture.elsewhere / name);
        WriteTextFile(files.back(), name);
        counts.Set(files.back(), 1);
    }
    fixture.record.files = {files[0] + ",/S", files[1] + ",/S"};
    fixture.record.extraFiles = {files[2] + ",/S", files[3] + ",/S"};
    ScriptedDialogs person;
    DialogPresses dialog;
    person.Answer(IDOK);

    SUBCASE("Yes for one file only, then すべて削除 for the rest")
    {
        dialog.Queue(person, &SharedFileDialog::yesButton);
        dialog.Queue(person, &SharedFileDialog::deleteAllButton);
        fixture.Uninstall();
        REQUIRE(dialog.messages.size() == 2);
        CHECK(Utf8(dialog.messages[1]) == Utf8(SharedText(files[1])));
        for (const std::string& file : files) CHECK_FALSE(PathExists(file));
    }
    SUBCASE("No for one file only, then すべて保存 for the rest")
    {
        dialog.Queue(person, &SharedFileDialog::noButton);
        dialog.Queue(person, &SharedFileDialog::keepAllButton);
        fixture.Uninstall();
        CHECK(dialog.messages.size() == 2);
        for (const std::string& file : files) CHECK(PathExists(file));
    }
    for (const std::string& file : files) CHECK_FALSE(ScratchSharedCounts::Stored(file).has_value());
    CHECK(person.Unused() == 0);
}

TEST_CASE("a recorded file that is gone is reported with the system's text for 2; extra files only when refused")
{
    UninstallFixture fixture;
    const std::string gone = fixture.app / "消えた.EXE";
    const std::string held = fixture.elsewhere / "HELD.DAT";
    WriteTextFile(held, "x");
    fixture.record.files = {gone};
    fixture.record.extraFiles = {fixture.app / "NEVER.LOG", held, fixture.elsewhere / "*.TMP"};
    ScriptedDialogs person;
    RunWatcher watcher(fixture.run);
    const PendingRenamesRestored restored;  // the held file goes at restart
    person.Answer(IDYES).Answer(IDOK);
    {
        // A file held open without sharing cannot be deleted even by root.
        HeldOpen open(held);
        fixture.Uninstall();
    }

    REQUIRE(person.Boxes().size() == 2);
    CheckFailureQuestion(person.Boxes()[0]);
    CheckCompletionBox(person.Boxes()[1]);
    // A pattern outside the install is refused, and that is said.
    const std::string report = "<File> " + gone + "\r\n" + SystemErrorText(2) + "\r\n" + "<File> " +
                               fixture.elsewhere / "*.TMP" + "\r\n" +
                               "セットアップフォルダの外のワイルドカード指定のため，削除しませんでした．\r\n\r\n";
    CHECK(Utf8(watcher.reportShown) == Utf8(report));
    CHECK(watcher.frameShown == "削除処理失敗　詳細表示");
    CHECK(watcher.verticalScrollBar);
    CHECK_FALSE(PathExists(fixture.app.Path()));
    CHECK(PathExists(held));
    // Not reported, as no extra file's failure is; held open, it is deleted
    // at the next restart all the same.
    const std::vector<std::string> pending = PendingRenames();
    CHECK(std::find(pending.begin(), pending.end(), "\\??\\" + held) != pending.end());
}

TEST_CASE("files another program holds go at the next restart, the setup folder after them; a restart is asked for")
{
    ScratchFolder logs("log");  // outlives the fixture, which closes the log
    UninstallFixture fixture;
    const PendingRenamesRestored restored;
    const std::string held = fixture.elsewhere / "HELD.DAT";
    const std::string heldLog = fixture.app / "A.LOG";
    const std::string freeLog = fixture.app / "B.LOG";
    for (const std::string& file : {held, heldLog, freeLog}) WriteTextFile(file, "in use");
    fixture.record.files = {held};
    fixture.record.extraFiles = {fixture.app / "*.LOG"};
    ScriptedDialogs person;
    person.Answer(IDOK);  // the completion, and no failure question before it
    fixture.Start();
    REQUIRE(fixture.run.state.log.Open(logs / "setup.log") == 0);
    const size_t pendingBefore = PendingRenames().size();
    {
        HeldOpen open(held);
        HeldOpen openLog(heldLog);
        fixture.Uninstall();
    }
    fixture.run.state.log = RunLog();

    REQUIRE(person.Boxes().size() == 1);
    CheckCompletionBox(person.Boxes()[0]);
    CHECK(PathExists(held));
    CHECK(PathExists(heldLog));
    CHECK_FALSE(PathExists(freeLog));  // the pattern's other file goes now
    // A deletion is a rename to nothing; the folder comes after its file.
    const std::vector<std::string> pending = PendingRenames();
    REQUIRE(pending.size() == pendingBefore + 6);
    CHECK(pending[pendingBefore] == "\\??\\" + held);
    CHECK(pending[pendingBefore + 1].empty());
    CHECK(pending[pendingBefore + 2] == "\\??\\" + heldLog);
    CHECK(pending[pendingBefore + 4] == "\\??\\" + WithoutTrailingBackslash(fixture.app.Path()));
    CHECK(pending[pendingBefore + 5].empty());
    REQUIRE(fixture.run.main.Outcome());
    CHECK(fixture.run.main.Outcome()->end == RunEnd::Completed);
    CHECK(fixture.run.main.Outcome()->restartNeeded);
    CHECK(fixture.run.state.rebootNeeded == 1);
    const std::string log = ReadTextFile(logs / "setup.log");
    CHECK(log.find("In use, removed at restart: " + held + " (held by ") != std::string::npos);
    CHECK(log.find("In use, removed at restart: " + heldLog + " (held by ") != std::string::npos);
    CHECK(log.find("Folder removed at restart: " + fixture.app.Path()) != std::string::npos);
    CHECK(log.find("Not removed: " + held) == std::string::npos);
}

TEST_CASE("a component is unregistered before it goes; one that cannot be loaded is said so, and goes all the same")
{
    UninstallFixture fixture;
    ClearRegistrationTraces();
    const std::string component = fixture.app / "OLD.DLL";
    PlaceComponent(component);
    const std::string noLibrary = fixture.app / "TEXT.DLL";
    for (const std::string& path : {noLibrary, fixture.app / "A.DLL", fixture.app / "B.DLL"})
        WriteTextFile(path, "no library");
    fixture.record.files = {component, noLibrary};
    // A pattern is loaded as it stands, and fails so.
    fixture.record.extraFiles = {fixture.app / "*.DLL"};
    ScriptedDialogs person;
    person.Answer(IDOK).Answer(IDOK).Answer(IDOK);
    fixture.Uninstall();

    CHECK(RegistrationTrace(component) == "unregistered");
    for (const std::string& path : {component, noLibrary, fixture.app / "A.DLL", fixture.app / "B.DLL"})
        CHECK_FALSE(PathExists(path));
    REQUIRE(person.Boxes().size() == 3);
    CHECK(person.Boxes()[0].text == noLibrary + "の読み込みに失敗しました．");
    CHECK(person.Boxes()[1].text == fixture.app / "*.DLLの読み込みに失敗しました．");
    for (int n : {0, 1}) {
        CHECK(person.Boxes()[n].caption == "OCX/DLL登録エラー");
        CHECK(person.Boxes()[n].flags == (MB_OK | MB_ICONEXCLAMATION));
    }
    CheckCompletionBox(person.Boxes()[2]);
    ClearRegistrationTraces();
}
