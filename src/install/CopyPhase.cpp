#include "install/CopyPhase.h"

#include "engine/RunState.h"
#include "install/ComponentRegistration.h"
#include "install/ProgressDisplay.h"
#include "install/RefusedPaths.h"
#include "install/SpaceCheck.h"
#include "script/CopyFileSection.h"
#include "script/PathParts.h"
#include "script/ScopeExit.h"
#include "script/TextCase.h"
#include "services/Deletion.h"
#include "services/Expansion.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/PendingReplacement.h"
#include "services/SharedComponents.h"
#include "services/SystemErrorText.h"
#include "services/Win32Files.h"

#include <string>

namespace {

// The folder the current disk's files are read from.
const std::string& DiskFolder(const InstallRun& run)
{
    return run.diskFolder.empty() ? run.State().sourceFolder : run.diskFolder;
}

CopyEntry ParseEntry(const InstallRun& run, const std::string& value)
{
    return ParseCopyEntry(value, DiskFolder(run), LocationsOf(run.State()));
}

// Asks for the entry's disk: each marked entry asks for the next one, at
// least once even when its file is there already, and again until it is.
// The answer may say that the disk lies in another folder: the entry's
// source is then read from there, as every later one is.
Flow AskForDisk(SetupCallback& person, InstallRun& run, const std::string& value, CopyEntry& entry)
{
    if (!entry.diskChange) return Flow::GoOn;
    ++run.diskNumber;
    do {
        std::string folder = DiskFolder(run);
        if (!person.InsertDisk(run.diskNumber, folder))
            return AbandonInstall(person, run, StopCause::Fatal, RunEnd::Cancelled);
        run.diskFolder = folder;
        entry = ParseEntry(run, value);
    } while (!FileExists(entry.source));
    return Flow::GoOn;
}

// A source that is not in the distribution folder: reported, counted as
// processed, and neither recorded nor sized.
Flow SkipMissingSource(SetupCallback& person, InstallRun& run, const CopyEntry& entry)
{
    if (ShowStatusAndPoll(person, {Status::SkippingMissingSource, entry.destination}) == Flow::Stop)
        return Flow::Stop;
    run.failures.AddReason(FailureTag::File, entry.source, FailureReason::SourceMissing);
    run.Log("Skipped (source missing): " + entry.source);
    ++run.copiedCount;
    return Flow::GoOn;
}

// The name as the copy phase keeps it in copiedFiles.
std::string CopiedKey(const std::string& path)
{
    return AsciiUpper(path);
}

// True when the path names its file plainly: no "." or ".." step, no
// forward slash, no trailing dot or blank, so that its folder and name are
// the text before and after the last backslash.
bool PlainPath(const std::string& path)
{
    if (!NamesOneEntry(path) || path.find('/') != std::string::npos) return false;
    if (path.find("\\.") != std::string::npos) return false;
    const char last = path.back();
    return last != '.' && last != ' ';
}

// Whether a file stands at the destination. In a folder this run made only
// the files it copied there can stand, and the folder is not searched: the
// system looks up a name that is not there by reading the whole folder,
// which grows with every file copied into it. Elsewhere the system is asked.
bool DestinationExists(const InstallRun& run, const std::string& path)
{
    if (!PlainPath(path) || !run.Changes().MadeFolder(FolderPart(path))) return FileExists(path);
    return run.copiedFiles.count(CopiedKey(path)) != 0;
}

// The file that is copied and where it goes.
struct CopyRoute {
    std::string from;
    std::string to;
    bool damaged = false;  // a compressed source that does not expand
};

// A compressed source is expanded into the temporary file first; without a
// "|" name its destination takes the name stored in it.
CopyRoute ExpandedRoute(const CopyEntry& entry, const std::string& temporaryFolder)
{
    const ExpandedFile expanded = ExpandToTemp(entry.source, entry.destination, temporaryFolder);
    return {expanded.temporary, expanded.destination, expanded.damaged};
}

// With the overwrite box off the user decides; with it on only a newer
// source replaces the file (equal time stamps do not). A repair puts every
// file back as the distribution has it.
bool ShouldCopy(SetupCallback& person, const InstallRun& run, const CopyRoute& route, bool exists)
{
    if (!exists || run.State().repair) return true;
    if (!run.choices.overwrite) return person.Overwrite(route.to);
    const std::optional<uint32_t> source = DosTimeStamp(route.from);
    // A source without a stamp: the copy is tried, so that its failure is
    // reported instead of the old file passing for the new one.
    if (!source) return true;
    const std::optional<uint32_t> destination = DosTimeStamp(route.to);
    return !destination || *source > *destination;
}

// The source's size, as it lies in the distribution folder, joins the bytes
// done: the size looked up before the copy when the copy read the file
// whole, else looked up again. A size that cannot be read (the source went
// while its text showed) switches the display to entry counts.
void CountDoneBytes(SetupCallback& person, InstallRun& run, const std::string& source,
                    std::optional<int64_t> size = std::nullopt)
{
    if (!run.byteProgress) return;
    if (!size) size = FoundFileSize(source);
    if (!size) {
        run.byteProgress = false;
        person.ProgressByEntries();
        return;
    }
    run.doneBytes += CountedSourceSize(*size, run.byteProgress);
}

void LogCopy(const InstallRun& run, const CopyEntry& entry, const CopyRoute& route, bool copied,
             const CopyOutcome& result)
{
    if (!copied) {
        run.Log("Kept (not newer, or the existing file kept): " + route.to);
    } else if (result.error != 0) {
        run.Log(WithSystemError("Copy failed: " + route.to, result.error));
        if (result.scheduleError != 0)
            run.Log(WithSystemError("Not replaced at restart either: " + route.to, result.scheduleError));
    } else if (!result.atRestart.empty()) {
        run.Log(ReplacedAtRestartLine(route.to, result.atRestart, WaitingChangesOf(run.State())));
    } else if (run.State().log.IsOpen()) {
        // The size is looked up only for a log that is written.
        const std::string size = " (" + std::to_string(FoundFileSize(route.to).value_or(0)) + " bytes)";
        run.Log(entry.compressed ? "Expanded: " + entry.source + " -> " + route.to + size
                                 : "Copied: " + route.to + size);
    }
}

Flow CopyPresentSource(SetupCallback& person, InstallRun& run, const CopyEntry& entry, const FoundFile& source)
{
    const CopyRoute route = entry.compressed ? ExpandedRoute(entry, run.State().tempFolder) : CopyRoute{entry.source, entry.destination};
    // The expanded temporary file goes again however the entry ends.
    ScopeExit removeExpanded([&] { DeleteFiles(route.from); });
    if (!entry.compressed) removeExpanded.Release();
    if (ShowStatusAndPoll(person, {Status::Copying, route.to}) == Flow::Stop) return Flow::Stop;
    if (route.damaged) {
        // Reported for what it is, neither copied nor counted nor recorded.
        run.failures.AddReason(FailureTag::File, entry.source, FailureReason::CompressedSourceBroken);
        run.Log("Not expanded (damaged compressed file): " + entry.source);
        ++run.copiedCount;
        CountDoneBytes(person, run, entry.source);
        return Flow::GoOn;
    }
    // Looked up once, and in a folder the run made not at all.
    const bool existedBefore = DestinationExists(run, route.to);
    bool copy = ShouldCopy(person, run, route, existedBefore);
    // Only while a question waits on the person may the file have changed.
    const bool asked = existedBefore && !run.choices.overwrite && !run.State().repair;
    const bool existsNow = asked ? FileExists(route.to) : existedBefore;
    // The count is raised whether or not the file is copied: the installed
    // program uses the file either way.
    SharedCountRaise count(entry.Shared() ? route.to : std::string(), run.Changes());
    if (entry.AlwaysWrite()) copy = true;
    // An expanded file is a temporary one, whose flags are not the source's.
    const SourceFlags flags = entry.compressed ? SourceFlags::Unknown : SourceFlagsOf(source.attributes);
    const CopyOutcome copied =
        copy ? CopyOrReplaceAtRestart(route.from, route.to, existsNow, run.Changes(),
                                      WaitingChangesOf(run.State()), flags) : CopyOutcome{};
    ++run.copiedCount;
    LogCopy(run, entry, route, copy, copied);
    // The file is installed once Windows restarts: the end of the run offers
    // the restart (an unattended run with /NORESTART ends with 3010).
    if (!copied.atRestart.empty()) run.State().rebootNeeded = 1;
    // A component already in place is registered even when it was not copied.
    if (entry.SelfRegistering() && FileExists(route.to)) {
        run.Changes().ComponentRegistered(route.to, existedBefore);
        if (RegisterComponent(person, route.to)) run.Log("Registered: " + route.to);
    }
    if (copied.error == 0) {
        if (copy && copied.atRestart.empty()) run.copiedFiles.insert(CopiedKey(route.to));
        run.lists.deleteFileList.push_back(route.to + entry.switches);
        count.Keep();
        if (entry.Shared()) run.Log("Shared count raised: " + route.to);
    } else {
        run.failures.AddSystemError(FailureTag::File, route.to, copied.error);
        // An entry that is not recorded is never uninstalled, so nothing
        // would ever lower the count raised for it.
        count.Undo();
    }
    const bool readWhole = copy && copied.error == 0 && !entry.compressed;
    CountDoneBytes(person, run, entry.source, readWhole ? std::optional<int64_t>(source.size) : std::nullopt);
    return Flow::GoOn;
}

Flow InstallEntry(SetupCallback& person, InstallRun& run, const std::string& value, int entryNumber)
{
    CopyEntry entry = ParseEntry(run, value);
    if (AskForDisk(person, run, value, entry) == Flow::Stop) return Flow::Stop;
    Flow copied = Flow::GoOn;
    if (RefusePath(run, FailureTag::File, entry.destination)) {
        ++run.copiedCount;  // processed, like a missing source
    } else {
        // Looked up once: whether it is there, its flags and its size.
        const std::optional<FoundFile> source = FindFile(entry.source);
        if (source && !source->IsFolder())
            copied = CopyPresentSource(person, run, entry, *source);
        else
            copied = SkipMissingSource(person, run, entry);
    }
    if (copied == Flow::Stop) return Flow::Stop;
    ShowCopyProgress(person, run, entryNumber);
    if (PollAbort(person) == Flow::Stop) return Flow::Stop;
    person.StepDone();
    return Flow::GoOn;
}

}  // namespace

Flow CopyFiles(SetupCallback& person, InstallRun& run)
{
    const std::vector<std::string>& values = run.Script().copyFiles;
    for (size_t n = 0; n < values.size(); ++n) {
        if (InstallEntry(person, run, values[n], static_cast<int>(n) + 1) == Flow::Stop) return Flow::Stop;
    }
    person.ShowCopyProgress(false);
    run.lists.deleteFileList.push_back(run.State().unSetupPath);
    return Flow::GoOn;
}
