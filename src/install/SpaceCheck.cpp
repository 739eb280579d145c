#include "install/SpaceCheck.h"

#include "engine/RunState.h"
#include "script/CopyFileSection.h"
#include "script/PathParts.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/FreeSpace.h"

int64_t CountedSourceSize(int64_t size, bool& byteProgress)
{
    if (size < 0) {
        byteProgress = false;
        return 0;
    }
    return size == 0 ? 1 : size;
}

Flow MeasureNeededSpace(SetupCallback& person, InstallRun& run)
{
    if (ShowStatusAndPoll(person, {Status::Measuring}) == Flow::Stop) return Flow::Stop;
    person.StepDone();
    for (const std::string& value : run.Script().copyFiles) {
        ++run.copyEntryCount;
        // One look-up tells both whether the source is there and its size.
        const std::optional<FoundFile> source = FindFile(run.State().sourceFolder + MeasuredSourceName(value));
        if (!source || source->IsFolder()) {
            run.byteProgress = false;
            continue;
        }
        run.totalBytes += CountedSourceSize(source->size, run.byteProgress);
    }
    return Flow::GoOn;
}

Flow CheckFreeSpace(SetupCallback& person, InstallRun& run)
{
    // A source that was missing or could not be sized leaves the need
    // unknown: no check, and no pause for it.
    if (!run.byteProgress) return Flow::GoOn;
    person.ShowStatus({Status::CheckingFreeSpace});
    const std::string drive = DrivePart(run.choices.setupFolder);
    FreeSpaceResult space = QueryFreeSpaceEx(drive);
    if (!space.succeeded) space = QueryFreeSpace(drive);
    // A failed query gives -1 bytes: never enough. Free space equal to the
    // need is not enough either.
    if (space.freeBytes <= run.totalBytes) {
        const bool goOn = person.ContinueShortOfSpace(space.succeeded, run.totalBytes);
        if (!goOn) return AbandonInstall(person, run, StopCause::Declined, RunEnd::NotEnoughSpace);
    }
    person.StepDone();
    return Flow::GoOn;
}
