// Process entry of SETUP.EXE (and of its copy UNOVSET.EXE): the command
// line, the log, one running copy at a time, then the interactive run (the
// four windows and the message loop in which it happens, and the restart
// offer at the very end) or the unattended one. The exit code tells how it
// went.
#include "app/CommandLine.h"
#include "app/ExitCodes.h"
#include "app/LogOpening.h"
#include "app/RestartOffer.h"
#include "app/RunStart.h"
#include "app/SetupForms.h"
#include "app/SystemFolders.h"
#include "app/UnattendedRun.h"
#include "app/Usage.h"
#include "services/SystemLibraries.h"
#include "services/Win32Com.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>

namespace {

// The code of an interactive run: how its procedure ended, or, when none
// ran, the fatal screen (failed) or the person's quit (cancelled). A
// needed restart the person accepted has started.
int RunInteractive(RunState& state, const RunOptions& options)
{
    std::optional<RunOutcome> outcome;
    bool fatal = false;
    {
        SetupForms forms(state);
        forms.mainWindow.UseOptions(options);
        forms.Run();
        outcome = forms.mainWindow.Outcome();
        fatal = forms.mainWindow.Screen() == MainScreen::Fatal;
    }
    // /NORESTART: no offer; the code tells that a restart is needed.
    const bool restarted =
        !options.noRestart && OfferRestartIfNeeded(state, SetupMode(state) ? RunKind::Install : RunKind::Uninstall);
    if (!outcome) return fatal ? ExitCode::Failed : ExitCode::Cancelled;
    const int code = ExitCodeOf(*outcome);
    return code == ExitCode::RestartNeeded && restarted ? ExitCode::RestartStarted : code;
}

int Run(RunState& state, const RunOptions& options)
{
    if (!options.fault.empty()) {
        state.log.Line("Error: the command line is not understood at " + options.fault);
        state.log.Line(UsageText());
        if (!options.Unattended()) ShowUsage(UsageOutput::Box);
        return ExitCode::BadCommandLine;
    }
    // Another copy holds the mutex: end at once, without a window. Made in
    // one step, so that two copies started together cannot both miss the
    // other; one that another user made and this one may not open is taken
    // as running too.
    KernelHandle instance(CreateMutexW(nullptr, FALSE, WideFromShiftJis(InstanceMutexName).c_str()));
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
        state.log.Line("Error: another copy of the setup is running");
        return ExitCode::AlreadyRunning;
    }
    // A failure to create it otherwise is not checked. A run that is alive
    // without the mutex (a copy that did not take it) still owns its
    // journal: nothing may touch it.
    if (const std::optional<unsigned long> process = LiveJournalRun(SystemWindowsFolder())) {
        state.log.Line("Error: the journal " + SystemWindowsFolder() + JournalFileName +
                       " belongs to a run that is still going on (process " + std::to_string(*process) + ")");
        return ExitCode::AlreadyRunning;
    }
    ComApartment com;
    return options.Unattended() ? RunUnattended(state, options) : RunInteractive(state, options);
}

}  // namespace

// The wide entry (linked with -municode): the runtime reads the command line
// as UTF-16, never in the system's code page.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // Before anything loads a DLL: the download folder SETUP.EXE may run
    // from is no place to take system DLLs from.
    RestrictDllSearchToSystemFolder();
    const std::wstring wideCommandLine = GetCommandLineW();
    const RunOptions options = ParseCommandLine(wideCommandLine);
    // For the log only.
    const std::string commandLine = ShiftJisFromWideForDisplay(wideCommandLine);
    if (options.help) {
        ShowUsage(UsageOutput::ConsoleOrBox);
        return ExitCode::Completed;
    }
    // The run's state, for this run alone: the windows and the procedures
    // they start are handed it.
    RunState state;
    OpenRunLog(state, options, commandLine);
    const int code = Run(state, options);
    state.log.Line("Exit code: " + std::to_string(code));
    return code;
}
