#include "uninstall/RunUninstall.h"

#include "app/RunState.h"
#include "text/IniFile.h"
#include "text/MessageBox.h"
#include "text/NumberedList.h"
#include "uninstall/RecordedRemovals.h"
#include "uninstall/RegistryRestore.h"
#include "uninstall/SetupFolderList.h"
#include "uninstall/SetupFolderRemoval.h"
#include "uninstall/UninstallCompletion.h"
#include "uninstall/UninstallRun.h"

#include <windows.h>

namespace {

// The option boxes, frozen: the first box is "*.INI" or, in the delete-all
// form (the other three hidden), everything; the second "*.GID"; the last
// two mean nothing to the uninstall.
void TakeOptions(UninstallRun& run, RunWindows& windows)
{
    windows.DisableOptions();
    const OptionSnapshot options = windows.Options();
    if (options.desktop) {
        if (windows.DeleteAllForm())
            run.DeleteAll = true;
        else
            run.Patterns += "*.INI|";
    }
    if (options.startMenu) run.Patterns += "*.GID|";
}

void ShowUninstallProgress(RunWindows& windows)
{
    windows.ShowMain(false);
    windows.ShowProgress(true);
    windows.PrepareCompletionLayout();
    windows.SetStatus("アンセットアップ(アンインストール)を行っています．．．");
}

// What the uninstall needs of the run state besides the record.
void TakeMachineFolders(UninstallRun& run, const RunState& state)
{
    run.Record = state.ScriptPath;
    run.AppFolder = state.AppFolder;
    run.Components = {state.WindowsFolder, state.SystemFolder};
    run.ShortcutHomes = {state.ProgramsFolder,       state.DesktopFolder,       state.StartupFolder,
                         state.SendToFolder,         state.CommonProgramsFolder, state.CommonDesktopFolder,
                         state.CommonStartupFolder};
    run.Protected = ProtectedFolders::OfThisMachine(state);
    run.Scope = DeletionScope(run.AppFolder, ReadNumberedList("DeleteFolder", "Folder", run.Record), run.Protected);
}

// A setup folder that is empty, or no absolute path (a record without one
// reaches here as "\", the root of whatever drive is current), names no
// folder of the install: nothing may be removed on its account.
bool RefuseUnknownSetupFolder(const std::string& folder)
{
    if (IsAbsoluteFolder(folder)) return false;
    ShowMessageBox("アンセットアップ(アンインストール)フォルダが不明です．\r\nアンセットアップ(アンインストール)は続行できません．",
                   "致命的エラー", MB_OK | MB_ICONHAND);
    return true;
}

}  // namespace

void RunUninstall(RunWindows& windows)
{
    UninstallRun run;
    TakeOptions(run, windows);
    ShowUninstallProgress(windows);

    TheRun.AppFolder = windows.FolderText();
    if (RefuseUnknownSetupFolder(TheRun.AppFolder)) {
        // Nothing else can be done, and the progress window cannot be
        // closed: the run ends as a finished one does.
        windows.EndRun();
        return;
    }
    TakeMachineFolders(run, TheRun);

    TheRun.ProgramId = ReadProfile("ProgramID", "ID", "", run.Record);
    ForgetProgram(TheRun.WindowsFolder, TheRun.ProgramId);
    // The setup folder must not be held open as this process's current one.
    SetCurrentDirectoryA(TheRun.TempFolder.c_str());

    RemoveRecordedFiles(run, windows);
    RemoveRecordedShortcuts(run);
    RemoveRecordedFolders(run);
    RemoveRecordedRegistryKeys(run.Record);
    RestoreAssociations(run.Record);
    RemoveUninstallEntry(run.Record);
    RemoveSetupFolder(run);

    OfferFailureReport(run.Failures, windows);
    CompleteUninstall(windows);
}
