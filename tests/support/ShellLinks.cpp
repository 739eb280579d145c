#include "support/ShellLinks.h"

#include "services/Win32Com.h"
#include "text/Unicode.h"

#include <doctest/doctest.h>

#include <windows.h>
#include <shlobj.h>

LinkFields ReadLink(const std::string& file)
{
    // In UTF-16, converted with code page 932 itself: the ANSI interface
    // would name other files on a system of another code page.
    ComPtr<IShellLinkW> link;
    REQUIRE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(link.Receive()))));
    ComPtr<IPersistFile> persist;
    REQUIRE(SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.Receive()))));
    REQUIRE(SUCCEEDED(persist.Get()->Load(WideFromShiftJis(file).c_str(), STGM_READ)));

    LinkFields fields;
    wchar_t text[MAX_PATH] = {};
    link.Get()->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    fields.path = ShiftJisFromWideForDisplay(text);
    text[0] = L'\0';
    link.Get()->GetWorkingDirectory(text, MAX_PATH);
    fields.workingFolder = ShiftJisFromWideForDisplay(text);
    text[0] = L'\0';
    link.Get()->GetArguments(text, MAX_PATH);
    fields.arguments = ShiftJisFromWideForDisplay(text);
    return fields;
}
