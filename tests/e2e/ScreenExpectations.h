// The e2e tests' checks on the screens of a SETUP.EXE driven from outside:
// a screen or box that does not come stops the test with what is showing
// instead.
#pragma once

#include "SampleDistribution.h"

#include <string>

// The main window on the screen whose action button reads `eventCaption`.
// The process may be given by its id: a SETUP.EXE that another program
// (the package stub) started.
HWND ExpectMainScreen(DWORD process, const std::string& eventCaption);
HWND ExpectMainScreen(const SetupProcess& setup, const std::string& eventCaption);

// The message box with the expected caption, once it shows; its text is
// checked.
HWND ExpectBox(DWORD process, const ExpectedBox& expected, DWORD timeout = 60000);
HWND ExpectBox(const SetupProcess& setup, const ExpectedBox& expected, DWORD timeout = 60000);
