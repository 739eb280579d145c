#include "install/InstallCompletion.h"

#include "app/RunState.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/LocationTokens.h"
#include "services/ProgramLauncher.h"
#include "services/RegistryAccess.h"
#include "services/SetupError.h"
#include "text/IniFile.h"
#include "text/MessageBox.h"
#include "text/StrOp.h"
#include "text/ValueFields.h"
#include "uninstall/SetupFolderList.h"
#include "uninstall/UninstallRecord.h"

#include <windows.h>


namespace {

constexpr const char* SetupFileTag = "<SetupFile> ";

std::string UninstallerPath()
{
    return TheRun.WindowsFolder + "UNOVSET.EXE";
}

// The uninstaller is this program: the distribution's SETUP.EXE, whatever
// the running copy is called. It is shared by every program installed with
// it, so an older SETUP.EXE never replaces a newer uninstaller.
void CopyUninstaller(InstallRun& run)
{
    const std::string uninstaller = UninstallerPath();
    const std::string setup = TheRun.SourceFolder + "SETUP.EXE";
    if (!IsNewer(setup, uninstaller)) return;
    const unsigned long error = CopyFileTo(setup, uninstaller);
    if (error != 0) run.Failures.AddSystemError(SetupFileTag, uninstaller, error);
}

UninstallRecordInput RecordInput()
{
    return {TheRun.UnSetupPath, TheRun.WorkFolder, TheRun.ScriptPath, TheRun.UnSetupTitle, TheRun.AppFolder};
}

// Creates the key and its two values; the registry layer raises when the
// system refuses.
void WriteUninstallEntry(const std::string& keyPath, const std::string& displayName, const std::string& command)
{
    RegistryAccess registry(HKEY_LOCAL_MACHINE);
    registry.CreateKey(keyPath);
    registry.OpenKey(keyPath, true);
    registry.WriteString("DisplayName", displayName);
    registry.WriteString("UninstallString", command);
}

// The Add/Remove Programs entry starts the uninstaller on the record; its key
// path goes into the record before the entry is made.
void RegisterUninstallEntry(InstallRun& run)
{
    const std::string command = UninstallerPath() + " \"" + TheRun.UnSetupPath + "\"";
    const std::string keyName = ReadProfile("Title", "UnSetupKey", TheRun.UnSetupTitle, TheRun.ScriptPath);
    const std::string displayName = ReadProfile("Title", "UnSetupDisplay", keyName, TheRun.ScriptPath);
    const std::string keyPath = UninstallListKey + keyName;
    WriteUnSetupRegistryKey(TheRun.UnSetupPath, keyPath);
    // Nothing after this step depends on the entry: an entry that the
    // registry refuses is reported with the rest, and the install completes.
    try {
        WriteUninstallEntry(keyPath, displayName, command);
    } catch (const SetupError& error) {
        run.Failures.AddReason(SetupFileTag, "HKEY_LOCAL_MACHINE\\" + keyPath, error.Message());
    }
}

void WriteRecordAndEntry(InstallRun& run, RunWindows& windows)
{
    const unsigned long error =
        WriteUninstallRecord(RecordInput(), run.Lists, TheRun.RestoreRelateSlots,
                             [&](const std::string& text) { windows.SetStatus(text); });
    run.RecordWritten = error == 0;
    if (error != 0) {
        run.Failures.AddSystemError(SetupFileTag, TheRun.UnSetupPath, error);
        // Without its record this install can never be removed by the
        // uninstaller: the person must know, and know what stays.
        run.Failures.AddReason(SetupFileTag, TheRun.UnSetupPath,
                               "アンセットアップ情報を書き込めなかったため，このセットアップは自動でアンセットアップ(アンインストール)できません．"
                               "\r\nコピーしたファイルは " + TheRun.AppFolder + " に残っています．");
    }
    // A record that could not be written leaves the earlier one in place; with
    // none, no stub record and no entry pointing at nothing are made.
    if (!FileExists(TheRun.UnSetupPath)) return;
    RegisterUninstallEntry(run);
    WriteProgramId(TheRun.UnSetupPath, TheRun.ProgramId);
}

void OfferFailureReport(const InstallRun& run, RunWindows& windows)
{
    if (run.Failures.Empty()) return;
    windows.SetStatus("セットアップで一部の処理が失敗しました．");
    const int answer = ShowMessageBox("フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？",
                                      "警告", MB_YESNO | MB_ICONEXCLAMATION);
    // The readme box keeps the scroll bars that the readme gave it.
    if (answer == IDYES) windows.ShowFailureDetails(run.Failures.Text(), "作成・コピー処理失敗　詳細表示", false);
}

void ReportCompletion(const InstallRun& run, RunWindows& windows)
{
    windows.SetStatus("セットアップが完了しました．");
    std::string message = "セットアップが完了しました．";
    if (!IsSetupOnly(TheRun.UnSetupTitle) && run.RecordWritten)
        message += "\r\rプログラムのアンセットアップ(アンインストール)は，\r「アプリケーションの追加と削除」から行ってください．";
    ShowMessageBox(message, "完了", MB_OK | MB_ICONINFORMATION);
}

// Tokens are expanded in the whole entry first; everything after its first
// comma is the parameters.
void StartProgramAfterSetup(const std::string& entry)
{
    const SplitText parts = SplitAtFirst(ExpandLocationTokens(entry), ",");
    if (OpenWithShell(parts.Before, parts.After) <= 32)
        ShowMessageBox("終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\r"
                       "プログラム提供者へご報告ください．",
                       "警告", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool IsSetupOnly(const std::string& unSetupTitle)
{
    return Contains(unSetupTitle, "Setup Only.");
}

void RegisterUninstaller(InstallRun& run, RunWindows& windows)
{
    windows.SetStatus("アンセットアップ情報を更新しています．しばらくお待ちください．．．");
    windows.EnableAbort(false);
    CopyUninstaller(run);
    RememberSetupFolder(TheRun.WindowsFolder, TheRun.ProgramId, TheRun.AppFolder);
    if (!IsSetupOnly(TheRun.UnSetupTitle)) WriteRecordAndEntry(run, windows);
}

void FinishInstall(InstallRun& run, RunWindows& windows)
{
    OfferFailureReport(run, windows);
    // Exact, letter case included: any other spelling names a program.
    const std::string execute = ReadProfile("ExecuteFile", "File", "", TheRun.ScriptPath);
    if (execute == RebootRequest) {
        // The restart offer at the end of the process takes the place of the
        // completion message.
        TheRun.RebootNeeded = 1;
    } else {
        ReportCompletion(run, windows);
        if (!execute.empty()) StartProgramAfterSetup(execute);
    }
    windows.EnableBackground();
    windows.CloseProgress();
    windows.EndRun();
}

void CompleteInstall(InstallRun& run, RunWindows& windows)
{
    RegisterUninstaller(run, windows);
    FinishInstall(run, windows);
}
