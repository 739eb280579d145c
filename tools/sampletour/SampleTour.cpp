// The README's walk-through of the sample distribution (samples/viewer),
// run by tools/run.sh on a virtual display. SETUP.EXE installs the sample
// from a drive into which its two disks go in turn (disk 2 without
// SAMPLE2.DAT, as a damaged disk, so that the failure report shows), the
// walk-through lists what the install put into the machine, the Add/Remove
// entry's command uninstalls it, and the machine is put back as it was
// found. Before each screen it prints "SHOT <name>" and waits for a line on
// its input while the caller takes the picture; every other line it prints
// (UTF-8) is for the reader.
#include "DialogHold.h"
#include "InstalledListing.h"
#include "PrefixRestore.h"
#include "app/RunStart.h"
#include "e2e/SampleDistribution.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "text/Unicode.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Say(const std::string& shiftJis)
{
    std::printf("%s\n", Utf8(shiftJis).c_str());
    std::fflush(stdout);
}

// A text of several lines (CR, LF or both) as one line for the reader.
std::string OneLine(std::string text)
{
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (!line.empty() && line.back() != ' ') line += " / ";
            while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) ++i;
        } else {
            line += text[i];
        }
    }
    while (line.size() >= 3 && line.compare(line.size() - 3, 3, " / ") == 0) line.resize(line.size() - 3);
    return line;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

// The text a window holds, read without a message to its thread, which
// may be held.
std::string HeldText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class Walkthrough {
public:
    Walkthrough();
    int Run();

private:
    bool Install();
    bool Uninstall();
    bool FinishUninstall(SetupProcess& uninstall);
    void ReportInstalled();
    bool PutPrefixBack();
    std::string RemovalAdvice() const;

    void Shot(const std::string& name);
    void ShotOfScreen(const SetupProcess& process, const std::string& name);
    // Waits for a message box, says what it asks and takes its picture.
    HWND ShotOfBox(const SetupProcess& process, const std::string& caption, const std::string& name);
    bool Fail(const SetupProcess& process, const std::string& what);

    SampleInstallation sample_;
    std::string drive_ = FullPath(ProgramFolder() + "..\\sample\\drive") + "\\";
    std::string temp_ = FullPath(ProgramFolder() + "..\\sample\\tmp") + "\\";
    MachineState before_;
    SavedFiles saved_;
    bool foundBefore_ = false;  // the prefix held some of the sample's own before the install
    int shots_ = 0;
};

Walkthrough::Walkthrough()
{
    saved_.Keep(sample_.uninstaller);
    saved_.Keep(sample_.setupFolderList);
}

void Walkthrough::Shot(const std::string& name)
{
    char number[8] = {};
    std::snprintf(number, sizeof number, "%02d", ++shots_);
    std::printf("SHOT %s-%s\n", number, name.c_str());
    std::fflush(stdout);
    char line[16];
    if (std::fgets(line, sizeof line, stdin) == nullptr) ExitProcess(1);
}

void Walkthrough::ShotOfScreen(const SetupProcess& process, const std::string& name)
{
    struct Visit {
        DWORD id;
        std::vector<HWND> windows;
    } visit{process.Id(), {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& visit = *reinterpret_cast<Visit*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == visit.id && IsWindowVisible(window)) visit.windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visit));
    // Bottom first, so that the window on top is painted last.
    for (auto window = visit.windows.rbegin(); window != visit.windows.rend(); ++window) PaintNow(*window);
    Shot(name);
}

HWND Walkthrough::ShotOfBox(const SetupProcess& process, const std::string& caption, const std::string& name)
{
    HWND box = WaitForMessageBox(process.Id(), caption, 60000);
    if (box == nullptr) return nullptr;
    Say("  " + caption + ": " + OneLine(MessageBoxText(box)));
    ShotOfScreen(process, name);
    return box;
}

bool Walkthrough::Fail(const SetupProcess& process, const std::string& what)
{
    Say("The walk-through stopped: " + what + " did not come. Showing:");
    Say(VisibleWindows(process.Id()));
    return false;
}

bool Walkthrough::Install()
{
    Say("Install: " + drive_ + "SETUP.EXE, disk 1 in the drive " + drive_);
    SetupProcess setup(drive_ + "SETUP.EXE", "", temp_);
    if (!setup.Started()) return Fail(setup, "SETUP.EXE");
    HWND main = WaitForMainScreen(setup.Id(), "セットアップ続行(&C)");
    if (main == nullptr) return Fail(setup, "the readme screen");
    DialogHold hold(main);
    if (!hold.Ready()) Say("(the hold hook is missing: no picture of the progress window)");
    Say("  Readme screen: " + TextOf(ControlOf(main, MainIds::readmeFrame)));
    ShotOfScreen(setup, "readme");
    Press(ControlOf(main, MainIds::actionButton));

    main = WaitForMainScreen(setup.Id(), "セットアップ開始(&S)");
    if (main == nullptr) return Fail(setup, "the settings screen");
    Say("  Settings screen: setup folder " + TextOf(ControlOf(main, MainIds::folderBox)) + ", every option ticked");
    ShotOfScreen(setup, "settings");
    Press(ControlOf(main, MainIds::actionButton));

    HWND box = ShotOfBox(setup, sample_.FolderQuestion().caption, "folder-question");
    if (box == nullptr) return Fail(setup, "the folder question");
    // The progress window never waits: it is taken just before the next
    // dialog (the disk change) shows over it.
    if (hold.Ready()) hold.Ask();
    AnswerAndWait(box, IDYES);
    if (hold.Ready()) {
        if (!hold.WaitHeld(60000)) return Fail(setup, "the progress window");
        HWND status = FindWindowOf(setup.Id(), "TfrmStatus");
        Say("  Progress: " + OneLine(HeldText(ControlOf(status, ProgressIds::messageLabel))) + "  " +
            HeldText(ControlOf(status, ProgressIds::progressLabel)));
        Shot("progress");
        hold.Release();
    }

    box = ShotOfBox(setup, sample_.DiskChange().caption, "disk-change");
    if (box == nullptr) return Fail(setup, "the disk change");
    CopyDisk(SampleDisk(2), drive_, {"SETUP.EXE", "SAMPLE2.DAT"});
    Say("  Disk 2 goes into the drive without SAMPLE2.DAT, as a damaged disk would.");
    AnswerAndWait(box, IDOK);

    box = ShotOfBox(setup, sample_.AssociationQuestion().caption, "association-question");
    if (box == nullptr) return Fail(setup, "the association question");
    AnswerAndWait(box, IDYES);
    box = ShotOfBox(setup, sample_.FailureQuestion().caption, "failure-question");
    if (box == nullptr) return Fail(setup, "the failure report question");
    AnswerAndWait(box, IDYES);

    main = WaitForMainScreen(setup.Id(), "続行(&C)");
    if (main == nullptr) return Fail(setup, "the failure details");
    Say("  " + TextOf(ControlOf(main, MainIds::readmeFrame)) + ": " +
        OneLine(TextOf(ControlOf(main, MainIds::readmeBox))));
    ShotOfScreen(setup, "failure-details");
    Press(ControlOf(main, MainIds::actionButton));

    // The script's WINDOWS_REBOOT: the system's restart offer, declined (Yes
    // would end the Wine session), and the program's warning.
    HWND offer = WaitForAnyBox(setup.Id(), 60000);
    if (offer == nullptr) return Fail(setup, "the restart offer");
    Say("  Restart offer (" + TextOf(offer) + "): " + OneLine(MessageBoxText(offer)) + " -> No");
    ShotOfScreen(setup, "restart-offer");
    AnswerAndWait(offer, IDNO);
    box = ShotOfBox(setup, sample_.RestartWarning().caption, "restart-warning");
    if (box == nullptr) return Fail(setup, "the warning after the declined restart");
    AnswerAndWait(box, IDOK);
    if (!setup.WaitForExit()) return Fail(setup, "the end of SETUP.EXE");
    return true;
}

void Walkthrough::ReportInstalled()
{
    Say("");
    Say("What the install put into the Wine prefix (its C: drive and registry):");
    for (const std::string& line : ListInstalled(before_, SnapshotOfMachine(), sample_.links)) Say("  " + line);
    const std::string record = sample_.app + "UNSETUP.INI";
    Say("  The uninstall record " + record + ":");
    const std::string text = ReadTextFile(record);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) Say("      " + text.substr(start, end - start));
        start = end + 2;
    }
    Say("  The Add/Remove entry HKLM\\" + sample_.entryKey + ":");
    for (const char* name : {"DisplayName", "UninstallString"})
        Say("      " + std::string(name) + " = " + StringValue(HKEY_LOCAL_MACHINE, sample_.entryKey, name));
    Say("");
}

bool Walkthrough::Uninstall()
{
    const std::string command = StringValue(HKEY_LOCAL_MACHINE, sample_.entryKey, "UninstallString");
    Say("Uninstall, with the Add/Remove entry's command: " + command);
    SetupProcess uninstall(ExactCommandLine{command}, temp_);
    if (!uninstall.Started()) return Fail(uninstall, "UNOVSET.EXE");
    HWND main = WaitForMainScreen(uninstall.Id(), "アンセットアップ開始(&S)");
    if (main == nullptr) return Fail(uninstall, "the uninstall screen");
    Say("  Uninstall screen: " + TextOf(main) + ", setup folder " + TextOf(ControlOf(main, MainIds::folderBox)));
    ShotOfScreen(uninstall, "uninstall-settings");
    DialogHold hold(main);
    if (hold.Ready()) hold.Ask();
    Press(ControlOf(main, MainIds::actionButton));
    if (hold.Ready()) {
        // Held before its first dialog: the confirmation for the shared
        // component, or the completion when there is none.
        if (!hold.WaitHeld(60000)) return Fail(uninstall, "the uninstall's progress window");
        HWND status = FindWindowOf(uninstall.Id(), "TfrmStatus");
        Say("  Progress: " + OneLine(HeldText(ControlOf(status, ProgressIds::messageLabel))));
        Shot("uninstall-progress");
        hold.Release();
    }
    return FinishUninstall(uninstall);
}

// The confirmation dialogs, if any, answered Yes (nothing else counts the
// component any more), then the completion or the failure report.
bool Walkthrough::FinishUninstall(SetupProcess& uninstall)
{
    for (;;) {
        HWND dialog = nullptr;
        HWND box = nullptr;
        WaitUntil(
            [&] {
                dialog = FindWindowOf(uninstall.Id(), "TfrmCustomDlg");
                box = FindWindowOf(uninstall.Id(), "#32770");
                return dialog != nullptr || box != nullptr;
            },
            60000);
        if (dialog != nullptr) {
            Say("  " + TextOf(dialog) + ": " + OneLine(TextOf(ControlOf(dialog, SharedFileDialogIds::messageLabel))) +
                " -> " + TextOf(ControlOf(dialog, SharedFileDialogIds::yesButton)));
            ShotOfScreen(uninstall, "uninstall-confirm");
            Press(ControlOf(dialog, SharedFileDialogIds::yesButton));
            WaitUntil([&] { return !IsWindowVisible(dialog); });
            continue;
        }
        if (box == nullptr) return Fail(uninstall, "the end of the uninstall");
        const std::string caption = TextOf(box);
        Say("  " + caption + ": " + OneLine(MessageBoxText(box)));
        ShotOfScreen(uninstall, caption == "完了" ? "uninstall-complete" : "uninstall-failures");
        AnswerAndWait(box, caption == "完了" ? IDOK : IDNO);
        if (caption == "完了") break;
    }
    if (!uninstall.WaitForExit()) return Fail(uninstall, "the end of UNOVSET.EXE");
    return true;
}

bool Walkthrough::PutPrefixBack()
{
    const std::vector<Difference> differences =
        Unexplained(Compare(before_, SnapshotOfMachine()), WineSessionChurn);
    const std::vector<AllowedDifference> kept = sample_.KeptOnPurpose();
    bool onlyKept = true;
    Say("What the uninstall left in the Wine prefix:");
    for (const Difference& difference : differences) {
        std::string reason = "NOT EXPECTED";
        for (const AllowedDifference& entry : kept)
            if (PathMatches(entry.pattern, difference.path)) {
                reason = entry.reason;
                break;
            }
        onlyKept = onlyKept && reason != "NOT EXPECTED";
        // Said before the install. It counts all the same: the walk-through
        // could not show the sample's install on a prefix without it.
        if (difference.kind == Difference::Removed && foundBefore_ && reason == "NOT EXPECTED")
            reason = "NOT EXPECTED: there before the walk-through, overwritten by the install and removed by the uninstall";
        static const char* const kinds[] = {"added", "removed", "changed"};
        Say("  " + std::string(kinds[difference.kind]) + " " + difference.path + "  (" + reason + ")");
    }
    if (differences.empty()) Say("  nothing");
    UndoDifferences(differences, saved_);
    const std::vector<Difference> still = Unexplained(Compare(before_, SnapshotOfMachine()), WineSessionChurn);
    if (still.empty()) {
        Say("The walk-through removed those too: the build's Wine prefix is as the walk-through found it.");
        return onlyKept;
    }
    Say("The build's Wine prefix still differs from what the walk-through found:");
    Say(Describe(still));
    return false;
}

// How to take away an install of the sample found before the walk-through.
std::string Walkthrough::RemovalAdvice() const
{
    const std::string command = StringValue(HKEY_LOCAL_MACHINE, sample_.entryKey, "UninstallString");
    if (command != "<none>") return "uninstall it first with its Add/Remove entry's command, " + command;
    return "it has no Add/Remove entry; remove that folder first";
}

int Walkthrough::Run()
{
    if (!PathExists(SampleDisk(1) + "SETUP.EXE")) {
        Say("The sample is not laid out: build first (tools/build.sh runs tools/layout-sample.sh).");
        return 2;
    }
    if (sample_.Installed()) {
        Say("The sample is already installed in the build's Wine prefix (" + sample_.app +
            "). The walk-through leaves the prefix as it finds it, so it installs only into a prefix without the "
            "sample: " + RemovalAdvice() + ".");
        return 2;
    }
    if (KernelHandle running{OpenMutexA(SYNCHRONIZE, FALSE, InstanceMutexName)}) {
        Say("Another SETUP.EXE is running in the build's Wine prefix; it must end first.");
        return 2;
    }
    // Left, perhaps, by an earlier run that did not clean up: the install
    // would overwrite it and the uninstall take it away. Its files are put
    // back at the end; anything else shows in the last check.
    const std::vector<std::string> present = sample_.AlreadyPresent();
    foundBefore_ = !present.empty();
    if (foundBefore_) {
        Say("The build's Wine prefix already holds what the sample's install would overwrite:");
        for (const std::string& path : present) {
            Say("  " + path);
            const DWORD attributes = GetFileAttributesW(WideFromShiftJis(path).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) saved_.Keep(path);
        }
        Say("Its uninstall will remove them: the walk-through keeps the files among them and puts them back, but "
            "it cannot show the install on a clean prefix and will end with status 1.");
    }
    before_ = SnapshotOfMachine();
    RemoveTree(drive_);
    RemoveTree(temp_);
    CreateDirectoryA(drive_.c_str(), nullptr);
    CreateDirectoryA(temp_.c_str(), nullptr);
    CopyDisk(SampleDisk(1), drive_);

    bool done = Install();
    if (done) {
        ReportInstalled();
        done = Uninstall();
    }
    Say("");
    const bool clean = PutPrefixBack();
    RemoveTree(drive_);
    RemoveTree(temp_);
    return done && clean ? 0 : 1;
}

}  // namespace

int main()
{
    CoInitialize(nullptr);
    const int status = Walkthrough().Run();
    std::printf("END\n");
    std::fflush(stdout);
    CoUninitialize();
    return status;
}
