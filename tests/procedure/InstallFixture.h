// An install on the real windows: the run fixture's distribution, temporary
// and Windows folders, a setup folder of the test's own, a script pointing at
// it, the shell's folders moved into a scratch folder (so that no test leaves
// links in the prefix's own), an instant clock, and the transcript of
// everything the person sees.
#pragma once

#include "InstallTranscript.h"
#include "RunFixture.h"
#include "install/RunInstall.h"
#include "support/Scripted.h"

#include <string>

// The status texts of the install's steps.
extern const std::string StartText;
extern const std::string InformationText;
extern const std::string MeasuringText;
extern const std::string FreeSpaceText;
extern const std::string FolderCheckText;
std::string CreatingText(const std::string& folder);
std::string CopyingText(const std::string& file);
std::string SkippingText(const std::string& file);

// The boxes every install may show.
std::string AbandonBox(const std::string& caption);
std::string FolderQuestionBox(const std::string& folder);

class InstallFixture : public RunFixture {
public:
    // `appName`: the setup folder below the test's target folder, with a
    // trailing backslash. It is created unless `createApp` is false.
    explicit InstallFixture(const std::string& appName = "Tool\\", bool createApp = true);

    // SETUP.INI: [DefaultFolder] naming the setup folder, then `sections`,
    // then [Extend] SetupSpeed=7 (a section of the same name in `sections`
    // comes first and hides it); the start-up runs on it.
    void Prepare(const std::string& sections);
    // A file of the distribution folder.
    void AddSource(const std::string& name, const std::string& bytes) const;

    // The phases of RunInstall on `install`, which the test can look at.
    Flow Install();

    // The pauses after the fixed ones at the start.
    std::vector<unsigned long> StepPauses() const;

    // The run as the preparation and the copy leave it for the later phases:
    // the setup folder and the paths made from it set, the option boxes
    // taken, the main window hidden and the progress window showing with
    // its abort button enabled.
    void SkipToActionPhases();
    // Takes the option boxes as the install's start does; again after a
    // test changed them.
    void TakeOptions();
    // The phases after the copy and the completion, as RunInstall runs them,
    // inside the top-level error handler as every click handler runs.
    void RunToEnd();
    std::string RecordPath() const { return app + "UNSETUP.INI"; }

    ScratchFolder target{"target"};
    ScratchFolder shell{"shell"};
    std::string app;  // the setup folder
    InstantClock clock;
    // Answers and records every box. A test that checks its boxes through a
    // ScriptedDialogs of its own makes that after the fixture, so that it
    // takes over for its lifetime; a RunWatcher takes over the pump alike.
    InstallTranscript person{status};
    InstallRun install{state};
};

// The system's text for an error code, as the failure report holds it.
std::string FailureBlock(const std::string& tag, const std::string& path, unsigned long code);
