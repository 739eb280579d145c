#include "install/SpaceCheck.h"

#include "app/RunState.h"
#include "install/CopyFileSection.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/FreeSpace.h"
#include "text/MessageBox.h"
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

Flow MeasureNeededSpace(RunWindows& windows, InstallRun& run)
{
    if (ShowStatusAndPoll(windows, "セットアップに必要な容量を調べています．．．") == Flow::Stop) return Flow::Stop;
    PauseForSetupSpeed();
    for (const std::string& value : ReadCopyFileItems(TheRun.ScriptPath)) {
        ++run.CopyEntryCount;
        const std::string source = TheRun.SourceFolder + MeasuredSourceName(value);
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

namespace {

std::string ShortSpaceQuestion(bool measured, int64_t neededBytes)
{
    if (measured) {
        return "ディスクの空き容量が不足しているため，エラーになる可能性があります．\r"
               "このままセットアップを続行しますか？";
    }
    return "ディスクの空き容量取得関数が失敗しました．\rセットアップに必要なディスク容量は " + std::to_string(neededBytes) +
           " Byteです．" + "\r" + "空き容量があるようであれば，セットアップを続行してください．" + "\r\r" +
           "セットアップを続行しますか？";
}

}  // namespace

Flow CheckFreeSpace(RunWindows& windows, InstallRun& run)
{
    // A source that was missing or could not be sized leaves the need
    // unknown: no check, and no pause for it.
    if (!run.ByteProgress) return Flow::GoOn;
    windows.SetStatus("ディスクの空き容量をチェックしています．．．");
    const std::string drive = DrivePart(windows.FolderText());
    FreeSpaceResult space = QueryFreeSpaceEx(drive);
    if (!space.succeeded) space = QueryFreeSpace(drive);
    // A failed query gives -1 bytes: never enough. Free space equal to the
    // need is not enough either.
    if (space.freeBytes <= run.TotalBytes) {
        const int answer =
            ShowMessageBox(ShortSpaceQuestion(space.succeeded, run.TotalBytes), "空き容量不足", MB_YESNO | MB_ICONQUESTION);
        if (answer == IDNO) return AbandonInstall(windows, SetupStoppedCaption);
    }
    PauseForSetupSpeed();
    return Flow::GoOn;
}
