// The one way the install and uninstall procedures reach the person, in the
// procedures' own terms: what the person chose, each status step as a value,
// the copy progress as numbers, the abort poll, and each question as its own
// call with a typed answer. It knows no window, no text and no message-box
// flag: the windows implement it with every caption, message, icon, pause
// and the message pump; tests implement it with scripted answers.
#pragma once

#include "services/FailureReport.h"

#include <cstdint>
#include <string>

// What the person chose on the settings screen before the install.
struct InstallChoices {
    std::string setupFolder;  // as typed or browsed, not yet checked
    bool overwrite = false;   // newer files replace older ones without asking
    bool desktop = false;     // the four kinds of shortcut the person wants
    bool startMenu = false;
    bool startUp = false;
    bool sendTo = false;
    // The program the script names to start once the install is done; an
    // unattended run leaves it, since nobody is there to use it.
    bool startProgram = true;
};

// What the person chose for the uninstall.
struct UninstallChoices {
    std::string setupFolder;
    bool deleteAll = false;    // everything below the setup folder goes
    bool iniFiles = false;     // "*.INI" files go from the setup folder's folders
    bool helpIndexes = false;  // "*.GID" files likewise
};

// The steps the progress display names.
enum class Status {
    InstallStarting,
    ReadingInformation,
    Measuring,
    CheckingFreeSpace,
    CheckingSetupFolder,
    CreatingFolder,         // path: the folder
    SkippingMissingSource,  // path: the destination
    Copying,                // path: the destination
    CreatingShortcut,       // path: the target; link: the shortcut
    WritingRegistry,
    WritingIniFiles,
    Associating,
    UpdatingRecord,
    RecordingFolders,
    RecordingFiles,
    RecordingShortcuts,
    RecordingRegistryKeys,
    RecordingExtraFiles,
    RecordingAssociations,
    InstallPartlyFailed,
    InstallCompleted,
    Uninstalling,
    UninstallPartlyFailed,
    UninstallCompleted,
    UndoingInstall,
};

struct StatusStep {
    Status status;
    std::string path = {};
    std::string link = {};
};

// The copy's progress: the share done (0 to 100) and the entries processed.
struct CopyProgress {
    int percent = 0;
    int copied = 0;
    int entries = 0;
};

enum class RunKind { Install, Uninstall };

// How a procedure ended, for whoever started it (the process entry turns it
// into the program's outcome).
enum class RunEnd {
    Completed,
    CompletedWithFailures,  // the failure report was not empty
    Cancelled,              // the person stopped it: abort, No, Cancel at a disk change
    NotEnoughSpace,         // the person would not go on short of space
    Failed,                 // it could not go on: a fatal stop or an error of the system
    DowngradeRefused,       // a newer version is installed, and the older one was not wanted
};

struct RunOutcome {
    RunEnd end = RunEnd::Completed;
    bool restartNeeded = false;  // the completion asked for a restart of Windows
};

// Why an install is given up: the person declined to go on, or it cannot go
// on (a disk that was not inserted, an error of the system).
enum class StopCause { Declined, Fatal };

// What went wrong when a component was to register itself.
enum class RegistrationFailure { NotLoaded, NoRegisterEntry, RegisterFailed };

// Why a folder cannot be the setup folder: it names no place of its own (no
// drive or share at its start, a token left over, a character no folder may
// hold, longer than the system's limit, a name Shift-JIS cannot hold), it
// is a place of the system or the user (a drive's root, the Windows folder
// and everything inside it, the user's documents, Program Files itself...),
// or another program is installed there.
enum class FolderRefusal { NotAbsolute, TokenLeft, BadCharacter, TooLong, Unrepresentable, SystemPlace, OtherProduct };
struct SetupFolderRefusal {
    FolderRefusal reason = FolderRefusal::NotAbsolute;
    std::string otherProduct;  // for OtherProduct: the name its uninstall record gives it
};

// The answer about a shared file that no program counts any more; the "all"
// answers hold for every later such file of the run.
enum class SharedFileAnswer { Delete, Keep, DeleteAll, KeepAll };

class SetupCallback {
public:
    virtual ~SetupCallback() = default;

    // --- the choices, taken when the procedure starts
    virtual InstallChoices TakeInstallChoices() = 0;
    // The options can no longer be changed once taken.
    virtual UninstallChoices TakeUninstallChoices() = 0;

    // --- the course of the run
    // The settings give way to the progress display.
    virtual void RunStarting(RunKind kind) = 0;
    // Shows the step and handles what the person did meanwhile (an abort).
    virtual void ShowStatus(const StatusStep& step) = 0;
    // True once the person confirmed an abort.
    virtual bool AbortRequested() = 0;
    // The rest after a step or an item, so that its text can be read.
    virtual void StepDone() = 0;
    virtual void AllowAbort(bool allowed) = 0;
    virtual void ShowCopyProgress(bool shown) = 0;
    // Shows the progress and handles what the person did meanwhile.
    virtual void CopyProgressed(const CopyProgress& progress) = 0;

    // --- questions and messages of the install
    // The journal that would undo a failed install cannot be made at
    // `journalPath`: true when the install goes on without it (a person may
    // choose that; an unattended run, whose failure promises that nothing of
    // it stayed, never does).
    virtual bool GoOnWithoutJournal(const std::string& journalPath) = 0;
    virtual bool CreateSetupFolder(const std::string& folder) = 0;
    virtual void SetupFolderNotCreated() = 0;
    // A folder that cannot be the setup folder, and why; nothing is made.
    virtual void SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal) = 0;
    // `freeSpaceKnown` false: the system could not tell the free space.
    virtual bool ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes) = 0;
    // True when the disk is said to be in; false for Cancel. `diskFolder`
    // is where the disk's files are read from; an answer may move it (an
    // unattended run finds disk n in the folder DISKn beside the first).
    virtual bool InsertDisk(int number, std::string& diskFolder) = 0;
    virtual bool Overwrite(const std::string& path) = 0;
    // A source whose size cannot be read: progress goes by entries from now.
    virtual void ProgressByEntries() = 0;
    virtual bool Associate(const std::string& extension, const std::string& program) = 0;
    virtual void RegistrationFailed(const std::string& path, RegistrationFailure failure) = 0;
    virtual void ProgramNotStarted() = 0;

    // --- questions and messages of the uninstall
    virtual void SetupFolderUnknown() = 0;
    // A file whose record asks for a question first ("/C").
    virtual bool DeleteWithCaution(const std::string& path) = 0;
    // A component in the system's folders that no program counts.
    virtual bool DeleteUncountedComponent(const std::string& path) = 0;
    virtual SharedFileAnswer AskSharedFile(const std::string& path) = 0;

    // --- the end
    // Something failed: may the person see the details? The report comes as
    // its entries, for each side to show in its own way.
    virtual bool OfferFailureReport(RunKind kind) = 0;
    virtual void ShowFailureReport(RunKind kind, const FailureReport& report) = 0;
    // `pointToAddRemove`: the install can be removed from Add/Remove Programs.
    virtual void InstallCompleted(bool pointToAddRemove) = 0;
    virtual void UninstallCompleted() = 0;
    // An error of the system (a registry key or value refused): its message.
    virtual void ReportError(const std::string& message) = 0;
    // The install is given up: the person is told, and the run ends.
    virtual void Abandon(StopCause cause) = 0;
    // The run ends: at once (as after an error), or as a completed one, with
    // the progress display closed.
    virtual void EndRun() = 0;
    virtual void FinishRun() = 0;
    // The progress display closes (an install stopped by an error).
    virtual void CloseProgress() = 0;
};
