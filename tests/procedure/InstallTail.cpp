#include "InstallTail.h"

#include "app/RunState.h"
#include "install/ActionPhases.h"
#include "uninstall/InstallCompletion.h"
#include "windows/ErrorGuard.h"

InstallTail::InstallTail(const std::string& script)
{
    fixture.WriteScript(script);
    fixture.Start();
    TheRun.AppFolder = app.Path();
    TheRun.SetupRoot = app.Path().substr(0, 2) + "\\";
    TheRun.UnSetupPath = app / "UNSETUP.INI";
    TheRun.UnSetupBackupPath = TheRun.WorkFolder + "UNSETUPB.INI";
    for (std::string* folder : {&TheRun.StartMenuFolder, &TheRun.CommonStartMenuFolder})
        *folder = shell / "Start Menu\\";
    for (std::string* folder : {&TheRun.ProgramsFolder, &TheRun.CommonProgramsFolder})
        *folder = shell / "Start Menu\\Programs\\";
    for (std::string* folder : {&TheRun.DesktopFolder, &TheRun.CommonDesktopFolder}) *folder = shell / "Desktop\\";
    for (std::string* folder : {&TheRun.StartupFolder, &TheRun.CommonStartupFolder})
        *folder = shell / "Start Menu\\Programs\\Startup\\";
    TheRun.SendToFolder = shell / "SendTo\\";
    TakeOptions();

    RunWindows& windows = fixture.run;
    windows.ShowMain(false);
    windows.PrepareCompletionLayout();
    windows.ShowProgress(true);
    windows.EnableAbort(true);
}

void InstallTail::TakeOptions()
{
    run.Options = fixture.run.Options();
}

void InstallTail::RunToEnd()
{
    RunGuarded([&] {
        if (RunActionPhases(run, fixture.run)) CompleteInstall(run, fixture.run);
        return LRESULT{0};
    });
}

StatusRecorder::StatusRecorder(TfrmStatus& status) : status_(status)
{
    InstallPumpObserver(this);
}

StatusRecorder::~StatusRecorder()
{
    InstallPumpObserver(nullptr);
}

void StatusRecorder::AfterPump()
{
    texts.push_back(status_.lblMessage.Text());
    if (action_ && texts.back() == atText_) {
        auto action = std::move(action_);
        action_ = nullptr;
        action();
    }
}

void StatusRecorder::At(const std::string& text, std::function<void()> action)
{
    atText_ = text;
    action_ = std::move(action);
}

ContinueDetails::ContinueDetails(TfrmMain& main) : main_(main)
{
    InstallPumpObserver(this);
}

ContinueDetails::~ContinueDetails()
{
    InstallPumpObserver(nullptr);
}

void ContinueDetails::AfterPump()
{
    if (!main_.Visible() || !main_.btnEvent.Enabled()) return;
    shownReport = main_.txtReadme.Text();
    shownFrame = main_.fraReadme.Text();
    main_.btnEvent.Click();
}

std::vector<std::string> NonBlankLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
