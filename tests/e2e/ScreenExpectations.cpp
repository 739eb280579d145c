#include "ScreenExpectations.h"

#include <doctest/doctest.h>

HWND ExpectMainScreen(const SetupProcess& setup, const std::string& eventCaption)
{
    HWND main = WaitForMainScreen(setup.Id(), eventCaption);
    REQUIRE_MESSAGE(main != nullptr, "no main window with actionButton " << Utf8(eventCaption) << "; shown:\n"
                                                                     << VisibleWindows(setup.Id()));
    return main;
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
