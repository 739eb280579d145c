#include "ScreenExpectations.h"

#include <doctest/doctest.h>

HWND ExpectMainScreen(DWORD process, const std::string& eventCaption)
{
    HWND main = WaitForMainScreen(process, eventCaption);
    REQUIRE_MESSAGE(main != nullptr, "no main window with actionButton " << Utf8(eventCaption) << "; shown:\n"
                                                                     << VisibleWindows(process));
    return main;
}

HWND ExpectMainScreen(const SetupProcess& setup, const std::string& eventCaption)
{
    return ExpectMainScreen(setup.Id(), eventCaption);
}

HWND ExpectBox(DWORD process, const ExpectedBox& expected, DWORD timeout)
{
    HWND box = WaitForMessageBox(process, expected.caption, timeout);
    REQUIRE_MESSAGE(box != nullptr, "no box " << Utf8(expected.caption) << "; shown:\n" << VisibleWindows(process));
    CHECK(MessageBoxText(box) == expected.text);
    return box;
}

HWND ExpectBox(const SetupProcess& setup, const ExpectedBox& expected, DWORD timeout)
{
    HWND box = WaitForMessageBox(setup.Id(), expected.caption, timeout);
    REQUIRE_MESSAGE(box != nullptr, "no box " << Utf8(expected.caption) << "; running " << setup.Running()
                                              << ", exit code " << setup.ExitCode() << "; shown:\n"
                                              << VisibleWindows(setup.Id()));
    CHECK(MessageBoxText(box) == expected.text);
    return box;
}
