#include "UninstallFixture.h"

#include "services/SharedComponents.h"
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
    REQUIRE(run.main.btnEvent.Text() == "アンセットアップ開始(&S)");
}

void UninstallFixture::Uninstall()
{
    if (run.main.btnEvent.Text() != "アンセットアップ開始(&S)") Start();
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    run.main.btnEvent.Click();
    SetCurrentDirectoryA(current);
}

void RunWatcher::AfterPump()
{
    const std::string message = run_.status.lblMessage.Text();
    if (run_.status.Visible() && (progressMessages.empty() || progressMessages.back() != message))
        progressMessages.push_back(message);
    TfrmMain& main = run_.main;
    if (!main.Visible() || !main.btnEvent.Enabled() || main.btnEvent.Text() != "続行(&C)") return;
    reportShown = main.txtReadme.Text();
    frameShown = main.fraReadme.Text();
    verticalScrollBar = (GetWindowLongPtrA(main.txtReadme.Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
    main.btnEvent.Click();
}

SharedCountValue::SharedCountValue(std::string path, DWORD count) : path_(std::move(path))
{
    HKEY key = nullptr;
    REQUIRE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS);
    RegSetValueExA(key, path_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    RegCloseKey(key);
}

SharedCountValue::~SharedCountValue()
{
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, path_.c_str());
}

std::optional<DWORD> SharedCountValue::Stored() const
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, SharedDllsKey, path_.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

ScratchExtension::ScratchExtension()
{
    static int counter = 0;
    name_ = "ou" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(++counter);
}

ScratchExtension::~ScratchExtension()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, Key().c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, Key().c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, InstalledType().c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, InstalledType().c_str());
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
