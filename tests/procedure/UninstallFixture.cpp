#include "UninstallFixture.h"

#include "support/Fixtures.h"

#include <doctest/doctest.h>

namespace {

void AppendList(std::string& text, const std::string& section, const std::string& prefix,
                const std::vector<std::string>& values)
{
    if (values.empty()) return;
    text += "[" + section + "]\r\n";
    for (size_t n = 0; n < values.size(); ++n) text += prefix + std::to_string(n + 1) + "=" + values[n] + "\r\n";
}

}  // namespace

std::string HandMadeRecord::Text() const
{
    std::string text = "[Information]\r\nMessage1=Orvane UnSetup(UnInstall) Initialize File\r\n"
                       "[Title]\r\nUnSetup=削除テスト\r\n";
    if (writeSetupFolder) text += "[SetupFolder]\r\nFolder=" + setupFolder + "\r\n";
    if (writeSetupFolder && setupFolderMade) text += "Made=1\r\n";
    AppendList(text, "DeleteFolder", "Folder", folders);
    AppendList(text, "DeleteFile", "File", files);
    AppendList(text, "DeleteShortCut", "File", shortcuts);
    AppendList(text, "DeleteRegistry", "Key", registryKeys);
    AppendList(text, "AddDeleteFile", "File", extraFiles);
    AppendList(text, "RestoreRelate", "Key", associations);
    text += "[UnSetupOption]\r\nCheckBox=" + checkBox + "\r\n";
    text += "[UnSetupRegistryKey]\r\nKey=" + uninstallKey + "\r\n";
    text += "[ProgramID]\r\nID=" + programId + "\r\n";
    return text;
}

UninstallFixture::UninstallFixture()
{
    record.setupFolder = app.Path();
}

void UninstallFixture::Start()
{
    HandMadeRecord written = record;
    if (recordListsItself) written.files.push_back(app / "UNSETUP.INI");
    WriteTextFile(app / "UNSETUP.INI", written.Text());
    run.Start(app / "UNSETUP.INI");
    REQUIRE(run.main.actionButton.Text() == "アンセットアップ開始(&S)");
}

void UninstallFixture::Uninstall()
{
    if (run.main.actionButton.Text() != "アンセットアップ開始(&S)") Start();
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    run.main.actionButton.Click();
    SetCurrentDirectoryA(current);
}

void CheckCompletionBox(const AskedBox& box)
{
    CHECK(box.text == "アンセットアップを完了しました．");
    CHECK(box.caption == "完了");
    CHECK(box.flags == (MB_OK | MB_ICONINFORMATION));
}

void CheckFailureQuestion(const AskedBox& box)
{
    CHECK(box.text == "アンセットアップ(アンインストール)の過程で，一部の処理が失敗しました．\r詳細を表示しますか？");
    CHECK(box.caption == "警告");
    CHECK(box.flags == (MB_YESNO | MB_ICONEXCLAMATION));
}

void PlaceComponent(const std::string& path)
{
    REQUIRE(CopyFixture(ProgramFolder() + "regok.dll", path));
}
