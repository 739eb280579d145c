// An install that has copied its files and goes on with the shortcut phase:
// the start-up run on the fixture's folders, the setup folder taken as the
// install's preparation takes it, the shell folders moved into a scratch
// folder of the test (so no test leaves links in the prefix's own), the
// main window hidden and the progress window showing with its abort button
// enabled, as the copy phase leaves them.
#pragma once

#include "RunFixture.h"
#include "install/InstallRun.h"
#include "support/Scripted.h"
#include "windows/MessagePump.h"

#include <string>
#include <vector>

class InstallTail {
public:
    // Writes `script` as the distribution's SETUP.INI and runs the start-up.
    explicit InstallTail(const std::string& script);

    // Takes the option boxes as the install's start does; call after changing
    // them.
    void TakeOptions();

    // The shortcut phase to the close, as RunInstall runs them, inside the
    // top-level error handler as every click handler is.
    void RunToEnd();

    std::string App() const { return app.Path(); }
    std::string RecordPath() const { return app / "UNSETUP.INI"; }

    InstantClock clock;
    RunFixture fixture;
    ScratchFolder app{"app"};
    ScratchFolder shell{"shell"};
    InstallRun run;
};

// Every text the progress window's message showed at a message pump, in order.
class StatusRecorder final : public PumpObserver {
public:
    explicit StatusRecorder(TfrmStatus& status);
    ~StatusRecorder() override;
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;
    void AfterPump() override;

    // Acts once when the status text first equals `text`.
    void At(const std::string& text, std::function<void()> action);

    std::vector<std::string> texts;

private:
    TfrmStatus& status_;
    std::string atText_;
    std::function<void()> action_;
};

// Presses "続行(&C)" once the failure details are up, as a person would.
class ContinueDetails final : public PumpObserver {
public:
    explicit ContinueDetails(TfrmMain& main);
    ~ContinueDetails() override;
    ContinueDetails(const ContinueDetails&) = delete;
    ContinueDetails& operator=(const ContinueDetails&) = delete;
    void AfterPump() override;

    std::string shownReport;  // txtReadme when the details were up
    std::string shownFrame;   // fraReadme's caption then

private:
    TfrmMain& main_;
};

// The lines of a profile file without its blank lines.
std::vector<std::string> NonBlankLines(const std::string& text);
