// An install on the real windows: the run fixture's distribution, temporary
// and Windows folders, a setup folder of the test's own, a script pointing at
// it, an instant clock, and the transcript of everything the person sees.
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

    // SETUP.INI: [DefaultFolder] naming the setup folder, [Extend] SetupSpeed=7,
    // then `sections`; the start-up runs on it.
    void Prepare(const std::string& sections);
    // A file of the distribution folder.
    void AddSource(const std::string& name, const std::string& bytes) const;

    // The phases of RunInstall on `install`, which the test can look at.
    Flow Install();

    // The pauses after the fixed ones at the start.
    std::vector<unsigned long> StepPauses() const;

    ScratchFolder target{"target"};
    std::string app;  // the setup folder
    InstantClock clock;
    InstallTranscript person{status};
    InstallRun install;
};

// The system's text for an error code, as the failure report holds it.
std::string FailureBlock(const std::string& tag, const std::string& path, unsigned long code);
