// An install started from the start button runs on its worker thread: the
// questions still wait for their answers on the window thread, the person
// still sees each file's text before its question, and an abort is still
// taken between two files. Beneath it, the worker's calls and the thread
// itself.
#include <doctest/doctest.h>

#include "InstallFixture.h"
#include "support/FileShapes.h"
#include "support/Fixtures.h"
#include "windows/MessagePump.h"
#include "windows/RunSignals.h"
#include "windows/WindowThreadCalls.h"
#include "windows/WorkerThread.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <stdexcept>

namespace {

bool StartsWith(const std::string& line, const std::string& start)
{
    return line.compare(0, start.size(), start) == 0;
}

}  // namespace

TEST_CASE("from the start button, a question waits for its answer and an abort is taken between two files")
{
    InstallFixture fixture;
    const std::string app = fixture.app;
    for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"}) fixture.AddSource(name, "new");
    WriteTextFile(app + "A.TXT", "old");
    // A pause a person can see: each file's text is on the screen for it.
    fixture.Prepare("[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\nFile3=(App)\\C.TXT\r\n"
                    "File4=(App)\\D.TXT\r\n[Extend]\r\nSetupSpeed=100\r\n");
    fixture.main.overwriteBox.SetChecked(false);
    fixture.main.Show();
    fixture.person.Answer(IDNO)
        .At(CopyingText(app + "C.TXT"), [&] { fixture.status.abortButton.Click(); })
        .Answer(IDYES)
        .Answer(IDOK);

    fixture.main.actionButton.Click();

    const std::vector<std::string> lines = fixture.person.LinesAfter(FolderCheckText);
    REQUIRE(lines.size() >= 8);
    CheckTranscript({lines.begin(), lines.begin() + 6},
                    {StatusLine(CopyingText(app + "A.TXT")),
                     BoxLine("上書き確認", MB_YESNO | MB_ICONQUESTION,
                             app + "A.TXT\r\rこのファイルは既に存在します．\r上書きしてもよろしいですか？"),
                     LabelLine("25%(1/4)"), StatusLine(CopyingText(app + "B.TXT")), LabelLine("50%(2/4)"),
                     StatusLine(CopyingText(app + "C.TXT"))});
    // The abort question comes while C.TXT's text shows; its box and the
    // one after it are the last boxes of the run.
    CHECK(StartsWith(lines[6], "box [中断の確認]"));
    CHECK(StartsWith(lines[7], "box [中断]"));
    CHECK(std::none_of(lines.begin() + 8, lines.end(), [](const std::string& line) { return StartsWith(line, "box "); }));
    CHECK(fixture.person.UnusedAnswers() == 0);

    // No answered the question: the file stays as it was.
    CHECK(ReadTextFile(app + "A.TXT") == "old");
    CHECK(ReadTextFile(app + "B.TXT") == "new");
    // C.TXT may or may not have been copied when the abort came; nothing
    // after it was.
    CHECK_FALSE(PathExists(app + "D.TXT"));
    REQUIRE(fixture.main.Outcome().has_value());
    CHECK(fixture.main.Outcome()->end == RunEnd::Cancelled);
    CHECK(fixture.main.ModalResult() == 1);
    CHECK(fixture.back.Enabled());
    CHECK_FALSE(fixture.status.Visible());
}

namespace {

// Ends the hold after the window thread has pumped a few times with the
// worker waiting at its call, noting whether the call ran meanwhile.
class HoldEnder final : public PumpObserver {
public:
    HoldEnder(ProcedureHold& hold, const std::atomic<bool>& workerWaiting, const std::atomic<bool>& callRan)
        : hold_(std::in_place, hold), workerWaiting_(workerWaiting), callRan_(callRan)
    {
        InstallPumpObserver(this);
    }
    ~HoldEnder() override { InstallPumpObserver(nullptr); }

    void AfterPump() override
    {
        if (!hold_ || !workerWaiting_) return;
        ranWhileHeld = ranWhileHeld || callRan_;
        if (++pumpsWhileWaiting_ == 5) hold_.reset();
    }

    bool ranWhileHeld = false;

private:
    std::optional<ProcedureHold::Scope> hold_;
    const std::atomic<bool>& workerWaiting_;
    const std::atomic<bool>& callRan_;
    int pumpsWhileWaiting_ = 0;
};

}  // namespace

TEST_CASE("a worker's call runs on the window thread, waits out the hold, and brings back what it threw")
{
    RunSignals signals;
    WindowThreadCalls calls(signals.hold);
    DWORD ranOn = 0;
    std::string thrownBack;

    RunOnWorkerThread([&] {
        calls.Run([&] { ranOn = GetCurrentThreadId(); });
        try {
            calls.Run([] { throw std::runtime_error("refused"); });
        } catch (const std::runtime_error& error) {
            thrownBack = error.what();
        }
    });
    CHECK(ranOn == GetCurrentThreadId());
    CHECK(thrownBack == "refused");

    // Held by the window side (the abort question), the call waits however
    // often the window thread pumps meanwhile, and runs once the hold ends.
    std::atomic<bool> workerWaiting = false;
    std::atomic<bool> callRan = false;
    HoldEnder ender(signals.hold, workerWaiting, callRan);
    RunOnWorkerThread([&] {
        workerWaiting = true;
        calls.Run([&] { callRan = true; });
    });
    CHECK_FALSE(ender.ranWhileHeld);
    CHECK(callRan);
    CHECK_FALSE(signals.hold.Held());
}

TEST_CASE("what the worker throws comes back to the window thread once it has ended")
{
    bool ended = false;
    CHECK_THROWS_WITH_AS(RunOnWorkerThread([&] {
                             Sleep(50);
                             ended = true;
                             throw std::runtime_error("worker failed");
                         }),
                         "worker failed", std::runtime_error);
    CHECK(ended);
}
