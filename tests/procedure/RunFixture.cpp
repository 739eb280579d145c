#include "RunFixture.h"

#include "app/SystemFolders.h"

#include <doctest/doctest.h>

void RunFixture::WriteScript(const std::string& text) const
{
    WriteTextFile(source / "SETUP.INI", text);
}

void RunFixture::Start(const std::string& argument, const std::string& folderErrors)
{
    main.StartUp(argument, [&](RunState& state) {
        const std::string errors = LoadSystemFolders(state);
        state.sourceFolder = source.Path();
        state.tempFolder = temp.Path();
        state.windowsFolder = windows.Path();
        return errors + folderErrors;
    });
}

std::string RunFixture::WorkFolder(int n) const
{
    return temp.Path() + "OVTMP" + std::to_string(n) + "\\";
}

namespace {

Form* watchedBackground = nullptr;
Form* watchedModal = nullptr;

}  // namespace

ModalWatchdog::ModalWatchdog(Form& background, Form& modal, unsigned seconds)
{
    watchedBackground = &background;
    watchedModal = &modal;
    timer_ = SetTimer(nullptr, 0, seconds * 1000, &ModalWatchdog::Expired);
}

ModalWatchdog::~ModalWatchdog()
{
    KillTimer(nullptr, timer_);
    watchedBackground = nullptr;
    watchedModal = nullptr;
}

void CALLBACK ModalWatchdog::Expired(HWND, UINT, UINT_PTR, DWORD)
{
    if (watchedModal == nullptr) return;
    FAIL_CHECK("the modal run did not end in time");
    watchedBackground->SetEnabled(true);
    watchedModal->SetModalResult(2);
}

RunWatcher::RunWatcher(RunFixture& run) : run_(run)
{
    InstallPumpObserver(this);
}

RunWatcher::~RunWatcher()
{
    InstallPumpObserver(nullptr);
}

void RunWatcher::AfterPump()
{
    const std::string message = run_.status.messageLabel.Text();
    texts.push_back(message);
    if (run_.status.Visible() && (progressMessages.empty() || progressMessages.back() != message))
        progressMessages.push_back(message);
    if (action_ && message == atText_) {
        const std::function<void()> action = std::move(action_);
        action_ = nullptr;
        action();
    }
    ContinueFromDetails();
}

void RunWatcher::At(const std::string& text, std::function<void()> action)
{
    atText_ = text;
    action_ = std::move(action);
}

void RunWatcher::ContinueFromDetails()
{
    MainWindow& main = run_.main;
    if (!main.Visible() || !main.actionButton.Enabled() || main.actionButton.Text() != "続行(&C)") return;
    reportShown = main.readmeBox.Text();
    frameShown = main.readmeFrame.Text();
    verticalScrollBar = (GetWindowLongPtrA(main.readmeBox.Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
    main.actionButton.Click();
}
