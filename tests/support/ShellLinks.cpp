#include "support/ShellLinks.h"

#include "services/Win32Com.h"

#include <doctest/doctest.h>

#include <windows.h>
#include <shlobj.h>

LinkFields ReadLink(const std::string& file)
{
    ComPtr<IShellLinkA> link;
    REQUIRE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(link.Receive()))));
    ComPtr<IPersistFile> persist;
    REQUIRE(SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.Receive()))));
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    REQUIRE(SUCCEEDED(persist.Get()->Load(wide, STGM_READ)));

    LinkFields fields;
    char text[MAX_PATH] = {};
    link.Get()->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    fields.path = text;
    text[0] = '\0';
    link.Get()->GetWorkingDirectory(text, MAX_PATH);
    fields.workingFolder = text;
    text[0] = '\0';
    link.Get()->GetArguments(text, MAX_PATH);
    fields.arguments = text;
    return fields;
}
