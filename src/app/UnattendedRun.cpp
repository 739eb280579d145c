#include "app/UnattendedRun.h"

#include "app/ExitCodes.h"
#include "app/RestartOffer.h"
#include "app/RunStart.h"
#include "app/SystemFolders.h"
#include "app/UnattendedCallback.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "script/ScopeExit.h"
#include "uninstall/RunUninstall.h"
#include "windows/RunSignals.h"

#include <memory>

namespace {

// The code of a completed run that asked for a restart: /NORESTART leaves
// it to the administrator; otherwise the system restarts as after the
// interactive Yes.
int Restart(RunState& state, const RunOptions& options, int code)
{
    if (code != ExitCode::RestartNeeded) return code;
    if (options.noRestart) {
        state.log.Line("Restart needed; not started (/NORESTART)");
        return code;
    }
    return StartRestart(state.log) ? ExitCode::RestartStarted : code;
}

int RunProcedure(RunState& state, const RunOptions& options, ProgressWindow* progress)
{
    const std::string folder = StartingSetupFolder(state, options.setupFolder);
    state.log.Line(std::string(SetupMode(state) ? "Setup folder: " : "Uninstall folder: ") + folder);
    UnattendedCallback person(options, state, folder, progress);
    if (SetupMode(state) && !IsUsableSetupFolder(folder)) {
        person.SetupFolderRefused(folder);
        return ExitCode::Failed;
    }
    const RunOutcome outcome = SetupMode(state) ? RunInstall(person, state) : RunUninstall(person, state);
    // A question nobody could answer failed the run, whatever the
    // procedure made of the answer it got.
    if (person.Unanswered()) return ExitCode::Failed;
    return Restart(state, options, ExitCodeOf(outcome));
}

}  // namespace

int RunUnattended(RunState& state, const RunOptions& options)
{
    state.allOrNothing = true;
    const std::string errors = PrepareRun(state, options.record, LoadSystemFolders(state));
    ScopeExit close([&] { CloseRun(state); });
    state.log.Line("Source folder: " + state.sourceFolder);
    if (!errors.empty()) {
        state.log.Line("Error: " + errors);
        return ExitCode::Failed;
    }
    ReadRunHeader(state);
    // /SILENT: the progress window alone, which nobody can abort.
    RunSignals signals;
    std::unique_ptr<ProgressWindow> progress;
    if (options.presence == Presence::Silent)
        progress = std::make_unique<ProgressWindow>(nullptr, nullptr, nullptr, signals);
    return RunProcedure(state, options, progress.get());
}
