// The sample installed with the keyboard alone: keys posted to whatever
// window of SETUP.EXE has the focus, as the keyboard would deliver them,
// and no click anywhere. Tab goes round the readme screen without being
// kept by the readme box, Enter presses the focused or the default
// button, Alt with a mnemonic its button, Esc the quit button, and the
// system's boxes answer to Enter and their own mnemonics.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "ScreenExpectations.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>

namespace {

// The window of the process's window thread that has the keyboard focus.
HWND FocusOf(HWND anyWindow)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindow, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

HWND SettledFocus(HWND anyWindow, HWND expected)
{
    WaitUntil([&] { return FocusOf(anyWindow) == expected; });
    return FocusOf(anyWindow);
}

void PostKey(HWND window, UINT key)
{
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(FocusOf(window), WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(FocusOf(window), WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
}

// A letter typed with Alt held (a mnemonic).
void PostAltLetter(HWND window, wchar_t letter)
{
    PostMessageW(FocusOf(window), WM_SYSCHAR, letter, 1 | (1u << 29));
}

// A letter typed alone: a mnemonic where the focus takes no text.
void PostLetter(HWND window, wchar_t letter)
{
    PostMessageW(FocusOf(window), WM_CHAR, letter, 1);
}

bool Gone(HWND box)
{
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

}  // namespace

TEST_CASE("the sample installs with the keyboard alone")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    SampleRemoved removed;
    const SampleInstallation& sample = removed.sample;
    ScratchFolder drive("keydrive");
    ScratchFolder temp("keytmp");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());
    SetupProcess setup(drive / "SETUP.EXE", "", temp.Path());
    REQUIRE(setup.Started());

    // The readme: the focus on the continue button; Tab goes to the quit
    // button, on into the readme box and out of it again.
    HWND main = ExpectMainScreen(setup, "セットアップ続行(&C)");
    HWND action = ControlOf(main, MainIds::actionButton);
    HWND quit = ControlOf(main, MainIds::quitButton);
    HWND readme = ControlOf(main, MainIds::readmeBox);
    REQUIRE(SettledFocus(main, action) == action);
    PostKey(main, VK_TAB);
    CHECK(SettledFocus(main, quit) == quit);
    PostKey(main, VK_TAB);
    CHECK(SettledFocus(main, readme) == readme);
    PostKey(main, VK_TAB);
    CHECK(SettledFocus(main, action) == action);
    // Enter in the readme box presses the default button: the settings.
    PostKey(main, VK_TAB);
    PostKey(main, VK_TAB);
    REQUIRE(SettledFocus(main, readme) == readme);
    PostKey(main, VK_RETURN);
    main = ExpectMainScreen(setup, "セットアップ開始(&S)");
    CHECK(TextOf(ControlOf(main, MainIds::folderBox)) == sample.app);

    // Esc asks whether to quit; "いいえ(&N)" by its letter keeps the run.
    PostKey(main, VK_ESCAPE);
    HWND quitQuestion = WaitForMessageBox(setup.Id(), "終了確認");
    REQUIRE(quitQuestion != nullptr);
    PostLetter(quitQuestion, L'n');
    CHECK(Gone(quitQuestion));
    CHECK(FindWindowOf(setup.Id(), "TfrmMain") == main);

    // Alt+S starts the setup; the questions are answered with Enter (their
    // default buttons: yes, OK).
    PostAltLetter(main, L's');
    HWND folder = ExpectBox(setup, sample.FolderQuestion());
    PostKey(folder, VK_RETURN);
    CHECK(Gone(folder));
    HWND disk = ExpectBox(setup, sample.DiskChange());
    CHECK(CopyDisk(SampleDisk(2), drive.Path(), {"SETUP.EXE"}).empty());
    PostKey(disk, VK_RETURN);
    CHECK(Gone(disk));
    HWND association = ExpectBox(setup, sample.AssociationQuestion());
    PostKey(association, VK_RETURN);
    CHECK(Gone(association));
    // The restart offer, declined by its mnemonic, and the warning.
    HWND offer = WaitForAnyBox(setup.Id(), 60000);
    REQUIRE(offer != nullptr);
    PostLetter(offer, L'n');
    CHECK(Gone(offer));
    HWND warning = ExpectBox(setup, sample.RestartWarning());
    PostKey(warning, VK_RETURN);
    REQUIRE(setup.WaitForExit());
    CHECK(setup.ExitCode() == 3010);
    CHECK(PathExists(sample.app + "UNSETUP.INI"));
    CHECK(PathExists(sample.app + "SAMPLEVW.EXE"));
}
