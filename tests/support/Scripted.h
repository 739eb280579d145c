// Stand-ins for the person and the clock: every box is recorded with its
// text, caption and flags and answered from a script; a box that the test did
// not expect fails the test with its text instead of waiting for ever.
#pragma once

#include "services/Clock.h"
#include "services/ProgramLauncher.h"
#include "windows/UserDialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct AskedBox {
    std::string text;
    std::string caption;
    unsigned flags = 0;
    HWND owner = nullptr;
};

class ScriptedDialogs final : public UserDialogs {
public:
    // Installs itself for its lifetime and then puts back what was installed
    // before (the test main's own stand-in, which expects no box at all).
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Queues the answer to the next box (IDOK, IDYES...).
    ScriptedDialogs& Answer(int button);
    // Queues the answer to the next restart offer.
    ScriptedDialogs& AnswerRestart(int button);
    // Queues what the next confirmation dialog does: `press` acts on the dialog
    // as a person would (presses one of its buttons).
    ScriptedDialogs& AnswerConfirm(std::function<void(ModalWindow&)> press);
    // Runs `look` at every box while it is up, before it is answered, so that
    // the test sees the program's windows as the person does then; `look`
    // may throw, as a box that fails to show.
    ScriptedDialogs& WhileShown(std::function<void(const AskedBox&)> look);

    const std::vector<AskedBox>& Boxes() const { return boxes_; }
    int RestartOffers() const { return restartOffers_; }
    int ConfirmDialogs() const { return confirmDialogs_; }
    // Answers queued but never asked for.
    size_t Unused() const { return answers_.size() + restartAnswers_.size() + confirmAnswers_.size(); }

    int ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
    int OfferRestart(HWND owner) override;
    void RunConfirmDialog(ModalWindow& dialog) override;

private:
    std::deque<int> answers_;
    std::deque<int> restartAnswers_;
    std::deque<std::function<void(ModalWindow&)>> confirmAnswers_;
    std::function<void(const AskedBox&)> whileShown_;
    std::vector<AskedBox> boxes_;
    int restartOffers_ = 0;
    int confirmDialogs_ = 0;
    UserDialogs* previous_ = nullptr;
};

// Pauses cost no time; their lengths are recorded in order.
class InstantClock final : public Clock {
public:
    InstantClock();
    ~InstantClock() override;
    void Sleep(unsigned long milliseconds) override { pauses.push_back(milliseconds); }
    std::vector<unsigned long> pauses;
};

// Records the programs the setup would start, and answers with `result`.
class RecordingLauncher final : public ProgramLauncher {
public:
    explicit RecordingLauncher(long long result = 42);
    ~RecordingLauncher() override;
    long long Open(const std::string& file, const std::string& parameters) override;
    std::vector<std::pair<std::string, std::string>> opened;

private:
    long long result_;
};

