#include "install/InstallFlow.h"

#include "app/RunState.h"
#include "services/Clock.h"
#include "text/MessageBox.h"

Flow RunPhases(std::span<const InstallPhase> phases, RunWindows& windows, InstallRun& run)
{
    for (const InstallPhase phase : phases) {
        if (phase(windows, run) == Flow::Stop) return Flow::Stop;
    }
    return Flow::GoOn;
}

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
