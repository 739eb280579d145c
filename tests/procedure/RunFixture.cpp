#include "RunFixture.h"

#include "app/SystemFolders.h"

#include <doctest/doctest.h>

RunFixture::RunFixture()
{
    TheRun = RunState{};
}

RunFixture::~RunFixture()
{
    TheRun = RunState{};
}

void RunFixture::WriteScript(const std::string& text) const
{
    WriteTextFile(source / "SETUP.INI", text);
}

void RunFixture::Start(const std::string& argument, const std::string& folderErrors)
{
    main.StartUp(argument, [&](RunState& state) {
        const std::string errors = LoadSystemFolders(state);
        state.SourceFolder = source.Path();
        state.TempFolder = temp.Path();
        state.WindowsFolder = windows.Path();
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
