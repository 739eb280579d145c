#include "install/InstallPreparation.h"

#include "app/RunState.h"
#include "install/RelateSection.h"
#include "services/Clock.h"
#include "services/FileOps.h"
#include "text/MessageBox.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "uninstall/PreviousRecord.h"

Flow StartInstall(RunWindows& windows, InstallRun& run)
{
    TheRun.RebootNeeded = 0;
    run.Options = windows.Options();
    windows.ShowMain(false);
    Wait(500);
    windows.ShowProgress(true);
    windows.PrepareCompletionLayout();
    windows.SetStatus("セットアップを開始します．．．");
    Wait(1000);
    return Flow::GoOn;
}

Flow ReadAssociationTable(RunWindows& windows, InstallRun& run)
{
    windows.SetStatus("セットアップの情報を作成しています．．．");
    run.RelateTable = ReadRelateTable(TheRun.ScriptPath);
    PauseForSetupSpeed();
    return Flow::GoOn;
}

namespace {

// Asks before creating a setup folder that does not exist; declining, or a
// folder that cannot be created, ends the install before anything is made.
Flow CreateMissingSetupFolder(RunWindows& windows)
{
    const int answer = ShowMessageBox(TheRun.AppFolder + "\r\r" + "このフォルダは存在しません．作成してもよろしいですか？",
                                      "フォルダ作成", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) {
        if (CreateFolderPath(TheRun.AppFolder)) return Flow::GoOn;
        ShowMessageBox("セットアップフォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．", FatalErrorCaption,
                       MB_OK | MB_ICONHAND);
    }
    return AbandonInstall(windows, SetupStoppedCaption);
}

}  // namespace

bool RefuseUnusableSetupFolder(const std::string& folder)
{
    if (FaultOfPath(AddDelimiter(folder, "B")) == PathFault::None) return false;
    ShowMessageBox(folder + "\r\r" + "このフォルダにはセットアップできません．\r" +
                       "ドライブ名（C:\\など）から始まるフォルダを指定してください．",
                   "フォルダ指定エラー", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

Flow CheckSetupFolder(RunWindows& windows, InstallRun& run)
{
    if (ShowStatusAndPoll(windows, "セットアップフォルダをチェックしています．．．") == Flow::Stop) return Flow::Stop;
    // From here on "(App)" stands for the setup folder and "(Set)" for its drive.
    TheRun.AppFolder = AddDelimiter(windows.FolderText(), "B");
    if (RefuseUnusableSetupFolder(TheRun.AppFolder)) return AbandonInstall(windows, SetupStoppedCaption);
    if (!FolderExists(TheRun.AppFolder) && CreateMissingSetupFolder(windows) == Flow::Stop) return Flow::Stop;
    TheRun.SetupRoot = LeftStr(TheRun.AppFolder, 2) + "\\";
    TheRun.UnSetupPath = TheRun.AppFolder + "UNSETUP.INI";
    TheRun.UnSetupBackupPath = TheRun.WorkFolder + "UNSETUPB.INI";
    LoadPreviousRecord(TheRun.UnSetupPath, TheRun.UnSetupBackupPath, run.Lists, TheRun.RestoreRelateSlots);
    windows.EnableAbort(true);
    return Flow::GoOn;
}
