#include "InstallTranscript.h"

#include "support/Scripted.h"
#include "support/Utf8.h"

#include <doctest/doctest.h>

#include <algorithm>

std::string StatusLine(const std::string& text)
{
    return "status " + text;
}

std::string LabelLine(const std::string& text)
{
    return "label " + text;
}

std::string BoxLine(const std::string& caption, unsigned flags, const std::string& text)
{
    return "box [" + caption + "] " + std::to_string(flags) + ": " + text;
}

InstallTranscript::InstallTranscript(ProgressWindow& status)
    : status_(status), lastStatus_(status.messageLabel.Text()), lastLabel_(status.progressLabel.Text()),
      previous_(InstallUserDialogs(this))
{
    InstallPumpObserver(this);
}

InstallTranscript::~InstallTranscript()
{
    InstallPumpObserver(nullptr);
    InstallUserDialogs(previous_);
}

InstallTranscript& InstallTranscript::Answer(int button)
{
    answers_.push_back([button] { return button; });
    return *this;
}

InstallTranscript& InstallTranscript::Answer(std::function<int()> answer)
{
    answers_.push_back(std::move(answer));
    return *this;
}

InstallTranscript& InstallTranscript::At(const std::string& statusText, std::function<void()> action)
{
    actions_.push_back({statusText, std::move(action)});
    return *this;
}

std::vector<std::string> InstallTranscript::LinesAfter(const std::string& statusText) const
{
    const auto found = std::find(lines_.begin(), lines_.end(), StatusLine(statusText));
    if (found == lines_.end()) {
        FAIL_CHECK("the status never showed: " << Utf8(statusText));
        return {};
    }
    return {found + 1, lines_.end()};
}

int InstallTranscript::ShowBox(HWND, const std::string& text, const std::string& caption, UINT flags)
{
    lines_.push_back(BoxLine(caption, flags, text));
    if (answers_.empty()) {
        FAIL_CHECK("unexpected message box [" << Utf8(caption) << "]: " << Utf8(text));
        const UINT buttons = flags & MB_TYPEMASK;
        if (buttons == MB_YESNO) return IDNO;
        return buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
    }
    const std::function<int()> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer();
}

int InstallTranscript::OfferRestart(HWND)
{
    FAIL_CHECK("unexpected restart offer");
    return IDNO;
}

void InstallTranscript::RunConfirmDialog(ModalWindow&)
{
    FAIL_CHECK("unexpected confirmation dialog");
}

void InstallTranscript::AfterPump()
{
    const std::string status = status_.messageLabel.Text();
    if (status != lastStatus_) lines_.push_back(StatusLine(status));
    lastStatus_ = status;
    const std::string label = status_.progressLabel.Text();
    if (label != lastLabel_) lines_.push_back(LabelLine(label));
    lastLabel_ = label;

    const auto due = std::find_if(actions_.begin(), actions_.end(),
                                  [&](const Action& action) { return action.statusText == status; });
    if (due == actions_.end()) return;
    const std::function<void()> act = std::move(due->act);
    actions_.erase(due);
    act();
}

namespace {

// One line per entry, with CR and LF made visible.
std::string Shown(const std::vector<std::string>& lines)
{
    std::string shown;
    for (const std::string& line : lines) {
        for (const char c : Utf8(line)) {
            if (c == '\r')
                shown += "\\r";
            else if (c == '\n')
                shown += "\\n";
            else
                shown += c;
        }
        shown += "\n";
    }
    return shown;
}

}  // namespace

void CheckTranscript(const std::vector<std::string>& actual, const std::vector<std::string>& expected)
{
    if (actual == expected) return;
    FAIL_CHECK("the transcript differs.\n--- seen:\n" << Shown(actual) << "--- expected:\n" << Shown(expected));
}
