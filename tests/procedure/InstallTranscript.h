// What a person sees during an install, in order, and what the person does:
// every new status text and progress label of the progress window, and every
// message box with its caption, flags and text, answered from a script; an
// action can be tied to the moment a status text shows (press the abort
// button, insert the next disk).
#pragma once

#include "windows/MessagePump.h"
#include "windows/ProgressWindow.h"
#include "windows/UserDialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The lines of a transcript.
std::string StatusLine(const std::string& text);
std::string LabelLine(const std::string& text);
std::string BoxLine(const std::string& caption, unsigned flags, const std::string& text);

class InstallTranscript final : public UserDialogs, public PumpObserver {
public:
    // Installs itself as the responder and the pump observer for its lifetime.
    explicit InstallTranscript(ProgressWindow& status);
    ~InstallTranscript() override;
    InstallTranscript(const InstallTranscript&) = delete;
    InstallTranscript& operator=(const InstallTranscript&) = delete;

    // Queues the answer to the next box.
    InstallTranscript& Answer(int button);
    // Queues an answer that acts first (puts the next disk in, say).
    InstallTranscript& Answer(std::function<int()> answer);
    // Runs `action` at the first pump that finds `statusText` shown.
    InstallTranscript& At(const std::string& statusText, std::function<void()> action);

    const std::vector<std::string>& Lines() const { return lines_; }
    // The lines after the first one that shows `statusText`.
    std::vector<std::string> LinesAfter(const std::string& statusText) const;
    size_t UnusedAnswers() const { return answers_.size(); }

    int ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
    int OfferRestart(HWND owner) override;
    void RunConfirmDialog(ModalWindow& dialog) override;
    void AfterPump() override;

private:
    struct Action {
        std::string statusText;
        std::function<void()> act;
    };

    ProgressWindow& status_;
    std::deque<std::function<int()>> answers_;
    std::vector<Action> actions_;
    std::vector<std::string> lines_;
    std::string lastStatus_;
    std::string lastLabel_;
    UserDialogs* previous_ = nullptr;
};

// Compares two transcripts line by line and shows the differing lines as
// readable text.
void CheckTranscript(const std::vector<std::string>& actual, const std::vector<std::string>& expected);
