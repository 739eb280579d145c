#include "app/UnattendedRun.h"

#include "app/ExitCodes.h"
#include "app/RestartOffer.h"
#include "app/RunStart.h"
#include "app/SystemFolders.h"
#include "app/UnattendedCallback.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "script/ScopeExit.h"
#include "uninstall/OrphanedEntry.h"
#include "uninstall/RunUninstall.h"
#include "windows/RunSignals.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// An older version over a newer one would mix the files of two versions
// and write the older version into the Add/Remove entry: without
// /ALLOWDOWNGRADE the run ends before anything is changed.
bool RefusesDowngrade(RunState& state, const RunOptions& options, const InstalledComparison& installed)
{
    if (installed.order != VersionOrder::Older || options.allowDowngrade) return false;
    state.log.Line("Error: version " + installed.installed->version + " is installed, which is newer than " +
                   state.script.product.version + "; nothing was changed (/ALLOWDOWNGRADE installs the older one)");
    return true;
}

int RunProcedure(RunState& state, const RunOptions& options, ProgressWindow* progress)
{
    const InstalledComparison installed = LookForInstalledProduct(state);
    if (RefusesDowngrade(state, options, installed)) return ExitCode::DowngradeRefused;
    const std::string folder = StartingSetupFolder(state, options.setupFolder, installed.DefaultFolder());
    state.log.Line(std::string(SetupMode(state) ? "Setup folder: " : "Uninstall folder: ") + folder);
    UnattendedCallback person(options, state, folder, progress);
    if (SetupMode(state)) {
        if (const std::optional<SetupFolderRefusal> refusal = SetupFolderRefusalOf(folder, state)) {
            person.SetupFolderRefused(folder, *refusal);
            return ExitCode::Failed;
        }
    }
    const RunOutcome outcome = SetupMode(state) ? RunInstall(person, state) : RunUninstall(person, state);
    // A question nobody could answer failed the run, whatever the
    // procedure made of the answer it got.
    if (person.Unanswered()) return ExitCode::Failed;
    return Restart(state, options, ExitCodeOf(outcome));
}

// An uninstall whose record is gone: its orphaned Add/Remove entry goes, so
// that the list no longer offers what cannot be uninstalled. Nothing when
// no entry names the record (the run then fails as any without its record).
std::optional<int> RemoveOrphanedEntries(RunState& state, const std::string& record)
{
    if (SetupMode(state)) return std::nullopt;
    const std::vector<std::string> entries = OrphanedEntriesOf(record, state.scope);
    if (entries.empty()) return std::nullopt;
    state.log.Line("The uninstall record " + record + " is missing: the program's folder was deleted or moved");
    if (!RemoveOrphanedEntries(entries, state.scope, state.log)) return ExitCode::Failed;
    state.log.Line("Uninstall completed: only the orphaned entry was left to remove");
    return ExitCode::Completed;
}

}  // namespace

int RunUnattended(RunState& state, const RunOptions& options)
{
    return RunUnattended(state, options, LoadSystemFolders);
}

int RunUnattended(RunState& state, const RunOptions& options, const std::function<std::string(RunState&)>& loadFolders)
{
    state.allOrNothing = true;
    state.repair = options.repair;
    const std::string errors = PrepareRun(state, options.record, loadFolders(state));
    ScopeExit close([&] { CloseRun(state); });
    state.log.Line("Source folder: " + state.sourceFolder);
    if (!errors.empty()) {
        if (const std::optional<int> code = RemoveOrphanedEntries(state, options.record)) return *code;
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
