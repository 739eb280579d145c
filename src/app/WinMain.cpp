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
#include "record/UninstallRecord.h"
#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/Elevation.h"
#include "services/SystemLibraries.h"
#include "services/WaitingChanges.h"
#include "services/Win32Com.h"
#include "services/Win32Files.h"
#include "text/IniFile.h"
#include "text/Unicode.h"
#include "windows/ApplicationWindow.h"
#include "windows/MessageBox.h"
#include "windows/ScopeDialog.h"
#include "windows/UserDialogs.h"

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

bool RunsFromUserOwnFolder()
{
    const std::optional<std::string> executable = ExecutablePath();
    const std::string own = UserOwnFolder();
    return executable && !own.empty() && SameText(WithTrailingBackslash(FolderPart(*executable)), own);
}

// For whom the run may install: the distribution's script says so (it is
// read again, parsed, by the start-up), an uninstall record tells for whom
// its install was made, and the switch chooses where both are allowed.
ScopeDecision DecideRunScope(const RunOptions& options)
{
    const bool elevated = ProcessIsElevated();
    if (FileNamePart(options.record) == "UNSETUP.INI") {
        // A record that is gone (its folder deleted by hand) cannot tell; the
        // uninstaller copy in the user's own folder serves installs for the
        // current user alone, so its orphaned entry is the user's.
        const bool user = AttributesOf(options.record) != INVALID_FILE_ATTRIBUTES
                              ? RecordedScope(options.record) == InstallScope::User
                              : RunsFromUserOwnFolder();
        return DecideScope(user ? ScopeChoice::User : ScopeChoice::Machine, ScopeSwitch::None, elevated, true);
    }
    const std::optional<std::string> executable = ExecutablePath();
    const std::string script = executable ? WithTrailingBackslash(FolderPart(*executable)) + "SETUP.INI" : std::string();
    const ScopeChoice choice = script.empty() ? ScopeChoice::Machine : ReadScopeChoice(ReadProfileText(script));
    return DecideScope(choice, options.scope, elevated, options.Unattended());
}

// A machine install started without administrator rights: this program
// again, elevated, on the same line, and its exit code; declined, the run
// is cancelled. The log is closed while the elevated run writes it and
// goes on after that run's last line.
int RunAgainElevated(RunState& state, const std::wstring& extraSwitch)
{
    const std::optional<std::string> executable = ExecutablePath();
    const std::string logPath = state.log.IsOpen() ? state.log.Path() : std::string();
    const std::wstring parameters = ElevatedParameters(GetCommandLineW(), extraSwitch, WideFromShiftJis(logPath));
    state.log.Line("Administrator rights are needed for an install for all users: the setup starts again elevated");
    state.log.Close();
    const ElevatedRun run = RunElevated(WideFromShiftJis(executable.value_or("")), parameters);
    if (!logPath.empty()) state.log.Open(logPath);
    if (!run.started) {
        state.log.Line(run.error == ERROR_CANCELLED ? std::string("Administrator rights were not given")
                                                    : "Error: the setup could not start again elevated (" +
                                                          std::to_string(run.error) + ")");
        return run.error == ERROR_CANCELLED ? ExitCode::Cancelled : ExitCode::Failed;
    }
    state.log.Line("The elevated setup ended with " + std::to_string(run.exitCode));
    return static_cast<int>(run.exitCode);
}

// A script that allows both scopes, started by a person without a switch:
// the person chooses once, before anything else shows. Nothing when the
// person cancels.
std::optional<InstallScope> AskInstallScope()
{
    ScopeDialog dialog(nullptr, ProcessIsElevated());
    CurrentUserDialogs().RunConfirmDialog(dialog);
    return dialog.Answer();
}

// The run the user's RunOnce key starts at sign-in: the changes that files
// in use held back in an install or uninstall for this user, and nothing
// else. While a setup runs (it may add to the list) the list waits for the
// next sign-in. 3010 while some change still waits.
int FinishPendingChanges(RunState& state)
{
    const std::string ownFolder = UserOwnFolder();
    KernelHandle instance(CreateMutexW(nullptr, FALSE, WideFromShiftJis(InstanceMutexName).c_str()));
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
        state.log.Line("Another copy of the setup is running: the waiting changes wait for the next sign-in");
        RegisterFinishAtSignIn(ownFolder);
        return ExitCode::AlreadyRunning;
    }
    const FinishedChanges finished = FinishWaitingChanges(ownFolder, ExecutablePath().value_or(""));
    for (const std::string& line : finished.lines) state.log.Line(line);
    return finished.waiting == 0 ? ExitCode::Completed : ExitCode::RestartNeeded;
}

int Run(RunState& state, const RunOptions& options)
{
    if (!options.fault.empty()) {
        state.log.Line("Error: the command line is not understood at " + options.fault);
        state.log.Line(UsageText());
        if (!options.Unattended() && !options.finishPending) ShowUsage(UsageOutput::Box);
        return ExitCode::BadCommandLine;
    }
    if (options.finishPending) return FinishPendingChanges(state);
    ScopeDecision scope = DecideRunScope(options);
    if (scope.action == ScopeDecision::Action::Refuse) {
        state.log.Line(std::string("Error: ") + (options.scope == ScopeSwitch::AllUsers ? "/ALLUSERS" : "/CURRENTUSER") +
                       " is not allowed: the setup script's [Product] Scope says " +
                       (scope.scope == InstallScope::User ? "User" : "Machine"));
        return ExitCode::BadCommandLine;
    }
    std::wstring chosenSwitch;
    if (scope.action == ScopeDecision::Action::Ask) {
        const std::optional<InstallScope> chosen = AskInstallScope();
        if (!chosen) {
            state.log.Line("The choice between all users and the current user was cancelled");
            return ExitCode::Cancelled;
        }
        scope = DecisionFor(*chosen, ProcessIsElevated());
        // The elevated run must not ask again.
        chosenSwitch = L"/ALLUSERS";
    }
    if (scope.action == ScopeDecision::Action::RunElevated) return RunAgainElevated(state, chosenSwitch);
    state.scope = scope.scope;
    if (state.scope == InstallScope::User) state.log.Line("Scope: the current user only");
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
    const std::string ownFolder = state.scope == InstallScope::User ? UserOwnFolder() : SystemWindowsFolder();
    if (const std::optional<unsigned long> process = LiveJournalRun(ownFolder)) {
        state.log.Line("Error: the journal " + ownFolder + JournalFileName +
                       " belongs to a run that is still going on (process " + std::to_string(*process) + ")");
        return ExitCode::AlreadyRunning;
    }
    // A person's run starts COM with its windows; an unattended one at its
    // first need, so that a run that only copies files loads no window
    // library for it.
    ComApartment com(options.Unattended() ? ComApartment::Start::AtFirstNeed : ComApartment::Start::Now);
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
