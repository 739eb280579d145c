#include "install/SpaceCheck.h"

#include "engine/RunState.h"
#include "install/CopyFileSection.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/FreeSpace.h"
#include "text/PathParts.h"

std::optional<int64_t> CountedSourceSize(const std::string& source, bool& byteProgress)
{
    const std::optional<int64_t> size = FoundFileSize(source);
    if (!size) return std::nullopt;
    if (*size < 0) {
        byteProgress = false;
        return 0;
    }
    return *size == 0 ? 1 : *size;
}

Flow MeasureNeededSpace(SetupCallback& person, InstallRun& run)
{
    if (ShowStatusAndPoll(person, {Status::Measuring}) == Flow::Stop) return Flow::Stop;
    person.StepDone();
    for (const std::string& value : ReadCopyFileItems(run.State().ScriptPath)) {
        ++run.CopyEntryCount;
        const std::string source = run.State().SourceFolder + MeasuredSourceName(value);
        if (!FileExists(source)) {
            run.ByteProgress = false;
            continue;
        }
        const std::optional<int64_t> size = CountedSourceSize(source, run.ByteProgress);
        if (!size) {
            run.ByteProgress = false;
            continue;
        }
        run.TotalBytes += *size;
    }
    return Flow::GoOn;
}

Flow CheckFreeSpace(SetupCallback& person, InstallRun& run)
{
    // A source that was missing or could not be sized leaves the need
    // unknown: no check, and no pause for it.
    if (!run.ByteProgress) return Flow::GoOn;
    person.ShowStatus({Status::CheckingFreeSpace});
    const std::string drive = DrivePart(run.Choices.setupFolder);
    FreeSpaceResult space = QueryFreeSpaceEx(drive);
    if (!space.succeeded) space = QueryFreeSpace(drive);
    // A failed query gives -1 bytes: never enough. Free space equal to the
    // need is not enough either.
    if (space.freeBytes <= run.TotalBytes) {
        const bool goOn = person.ContinueShortOfSpace(space.succeeded, run.TotalBytes);
        if (!goOn) return AbandonInstall(person, run, StopCause::Declined, RunEnd::NotEnoughSpace);
    }
    person.StepDone();
    return Flow::GoOn;
}
