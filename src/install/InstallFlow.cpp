#include "install/InstallFlow.h"

#include "app/RunState.h"
#include "services/Clock.h"
#include "text/MessageBox.h"

Flow PollAbort(RunWindows& windows)
{
    return windows.AbortRequested() ? Flow::Stop : Flow::GoOn;
}

Flow ShowStatusAndPoll(RunWindows& windows, const std::string& text)
{
    windows.SetStatus(text);
    return PollAbort(windows);
}

void PauseForSetupSpeed()
{
    Wait(static_cast<unsigned long>(TheRun.SetupSpeed));
}

Flow AbandonInstall(RunWindows& windows, const std::string& caption)
{
    ShowMessageBox("セットアップを続行できませんでした．", caption, MB_OK | MB_ICONHAND);
    windows.EndRun();
    return Flow::Stop;
}
