#include "support/Scripted.h"
#include "support/Utf8.h"

#include <doctest/doctest.h>

#include <windows.h>

ScriptedDialogs::ScriptedDialogs() : previous_(InstallUserDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs()
{
    InstallUserDialogs(previous_);
}

ScriptedDialogs& ScriptedDialogs::Answer(int button)
{
    answers_.push_back(button);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::AnswerRestart(int button)
{
    restartAnswers_.push_back(button);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::AnswerConfirm(std::function<void(ModalWindow&)> press)
{
    confirmAnswers_.push_back(std::move(press));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::WhileShown(std::function<void(const AskedBox&)> look)
{
    whileShown_ = std::move(look);
    return *this;
}

int ScriptedDialogs::ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags)
{
    boxes_.push_back({text, caption, flags, owner});
    if (whileShown_) whileShown_(boxes_.back());
    if (answers_.empty()) {
        FAIL_CHECK("unexpected message box [" << Utf8(caption) << "]: " << Utf8(text));
        // The answer that ends the least: No to a question, Cancel, else OK.
        const UINT buttons = flags & MB_TYPEMASK;
        if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) return IDNO;
        return buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

int ScriptedDialogs::OfferRestart(HWND)
{
    ++restartOffers_;
    if (restartAnswers_.empty()) {
        FAIL_CHECK("unexpected restart offer");
        return IDNO;
    }
    const int answer = restartAnswers_.front();
    restartAnswers_.pop_front();
    return answer;
}

void ScriptedDialogs::RunConfirmDialog(ModalWindow& dialog)
{
    ++confirmDialogs_;
    if (confirmAnswers_.empty()) {
        FAIL_CHECK("unexpected confirmation dialog");
        return;
    }
    auto press = std::move(confirmAnswers_.front());
    confirmAnswers_.pop_front();
    press(dialog);
}

InstantClock::InstantClock()
{
    InstallClock(this);
}

InstantClock::~InstantClock()
{
    InstallClock(nullptr);
}

RecordingLauncher::RecordingLauncher(long long result) : result_(result)
{
    InstallProgramLauncher(this);
}

RecordingLauncher::~RecordingLauncher()
{
    InstallProgramLauncher(nullptr);
}

long long RecordingLauncher::Open(const std::string& file, const std::string& parameters)
{
    opened.emplace_back(file, parameters);
    return result_;
}
