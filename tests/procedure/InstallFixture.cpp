#include "InstallFixture.h"

#include "install/ActionPhases.h"
#include "install/InstallCompletion.h"
#include "services/SystemErrorText.h"
#include "windows/ErrorGuard.h"

#include <windows.h>

const std::string StartText = "セットアップを開始します．．．";
const std::string InformationText = "セットアップの情報を作成しています．．．";
const std::string MeasuringText = "セットアップに必要な容量を調べています．．．";
const std::string FreeSpaceText = "ディスクの空き容量をチェックしています．．．";
const std::string FolderCheckText = "セットアップフォルダをチェックしています．．．";

std::string CreatingText(const std::string& folder)
{
    return "フォルダを作成しています．．．\rCreating -> " + folder;
}

std::string CopyingText(const std::string& file)
{
    return "ファイルをコピーしています．．．\rCopying -> " + file;
}

std::string SkippingText(const std::string& file)
{
    return "ファイルが存在しないためコピーをスキップしています．．．\rSkipping -> " + file;
}

std::string AbandonBox(const std::string& caption)
{
    return BoxLine(caption, MB_OK | MB_ICONHAND, "セットアップを続行できませんでした．");
}

std::string FolderQuestionBox(const std::string& folder)
{
    return BoxLine("フォルダ作成", MB_YESNO | MB_ICONQUESTION,
                   folder + "\r\r" + "このフォルダは存在しません．作成してもよろしいですか？");
}

InstallFixture::InstallFixture(const std::string& appName, bool createApp) : app(target / appName)
{
    if (createApp) CreateDirectoryA(app.c_str(), nullptr);
}

namespace {

void MoveShellFolders(RunState& state, const ScratchFolder& shell)
{
    for (std::string* folder : {&state.startMenuFolder, &state.commonStartMenuFolder})
        *folder = shell / "Start Menu\\";
    for (std::string* folder : {&state.programsFolder, &state.commonProgramsFolder})
        *folder = shell / "Start Menu\\Programs\\";
    for (std::string* folder : {&state.desktopFolder, &state.commonDesktopFolder}) *folder = shell / "Desktop\\";
    for (std::string* folder : {&state.startupFolder, &state.commonStartupFolder})
        *folder = shell / "Start Menu\\Programs\\Startup\\";
    state.sendToFolder = shell / "SendTo\\";
}

}  // namespace

void InstallFixture::Prepare(const std::string& sections)
{
    // [Title] last: the script's own, if any, is the first and counts.
    WriteScript("[DefaultFolder]\r\nFolder=" + app + "\r\n" + sections + "[Extend]\r\nSetupSpeed=7\r\n[Title]\r\n");
    Start();
    MoveShellFolders(state, shell);
}

void InstallFixture::AddSource(const std::string& name, const std::string& bytes) const
{
    WriteTextFile(source / name, bytes);
}

Flow InstallFixture::Install()
{
    return RunInstallPhases(run, install);
}

std::vector<unsigned long> InstallFixture::StepPauses() const
{
    if (clock.pauses.size() < 2) return {};
    return {clock.pauses.begin() + 2, clock.pauses.end()};
}

void InstallFixture::SkipToActionPhases()
{
    state.appFolder = app;
    state.setupRoot = app.substr(0, 2) + "\\";
    state.unSetupPath = RecordPath();
    state.unSetupBackupPath = state.workFolder + "UNSETUPB.INI";
    TakeOptions();
    run.ShowMain(false);
    run.PrepareCompletionLayout();
    run.ShowProgress(true);
    run.EnableAbort(true);
}

void InstallFixture::TakeOptions()
{
    install.choices = run.TakeInstallChoices();
}

void InstallFixture::RunToEnd()
{
    RunGuarded([&] {
        RunStoppingAtError(run, install, [&] {
            if (RunActionPhases(run, install) == Flow::GoOn) CompleteInstall(install, run);
        });
        return LRESULT{0};
    });
}

std::string FailureBlock(const std::string& tag, const std::string& path, unsigned long code)
{
    return tag + path + "\r\n" + SystemErrorText(code) + "\r\n";
}
