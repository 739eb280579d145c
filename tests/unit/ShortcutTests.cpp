// Shortcuts made through the shell's link object and read back through it.
#include <doctest/doctest.h>

#include "services/SetupError.h"
#include "services/Shortcut.h"
#include "support/Scratch.h"
#include "support/ShellLinks.h"

#include <windows.h>
#include <objbase.h>

#include <string>

TEST_CASE("a shortcut stores target, working folder and arguments, in a folder made for it")
{
    NoJournal unjournaled;
    ScratchFolder folder("shortcut");
    const std::string target = folder / "表示\\VIEW.EXE";
    CreateDirectoryA((folder / "表示").c_str(), nullptr);
    WriteTextFile(target, "MZ");
    CreateDirectoryA((folder / "WORK").c_str(), nullptr);

    const std::string made = CreateShortcut(target, folder / "Programs\\ソフト\\Viewer", folder / "WORK", "-x 表", unjournaled);
    CHECK(made == folder / "Programs\\ソフト\\Viewer.lnk");
    REQUIRE(PathExists(made));
    const LinkFields fields = ReadLink(made);
    CHECK(fields.path == target);
    CHECK(fields.workingFolder == folder / "WORK\\");
    CHECK(fields.arguments == "-x 表");

    // A second one over it replaces it; empty arguments stay unset.
    CHECK(CreateShortcut(target, folder / "Programs\\ソフト\\Viewer", "", "", unjournaled) == made);
    CHECK(ReadLink(made).arguments.empty());
}

TEST_CASE("an empty or missing working folder becomes the target's folder")
{
    NoJournal unjournaled;
    ScratchFolder folder("workdir");
    const std::string target = folder / "APP\\TOOL.EXE";
    CreateDirectoryA((folder / "APP").c_str(), nullptr);
    WriteTextFile(target, "MZ");
    const std::string empty = CreateShortcut(target, folder / "Empty", "", "", unjournaled);
    CHECK(ReadLink(empty).workingFolder == folder / "APP\\");
    const std::string missing = CreateShortcut(target, folder / "Missing", folder / "NOWHERE", "", unjournaled);
    CHECK(ReadLink(missing).workingFolder == folder / "APP\\");
}

TEST_CASE("a name with .lnk is used as it is, and a .lnk target is copied")
{
    NoJournal unjournaled;
    ScratchFolder folder("lnkname");
    const std::string target = folder / "TOOL.EXE";
    WriteTextFile(target, "MZ");
    const std::string named = CreateShortcut(target, folder / "Tool.LNK", "", "-a", unjournaled);
    CHECK(named == folder / "Tool.LNK");
    CHECK(PathExists(named));
    CHECK_FALSE(PathExists(folder / "Tool.LNK.lnk"));

    const std::string copied = CreateShortcut(named, folder / "Copies\\Again", "", "ignored", unjournaled);
    CHECK(copied == folder / "Copies\\Again.lnk");
    CHECK(ReadTextFile(copied) == ReadTextFile(named));
    CHECK(ReadLink(copied).arguments == "-a");
}

TEST_CASE("a shortcut that could not be saved is reported as the .pif path")
{
    NoJournal unjournaled;
    ScratchFolder folder("pif");
    const std::string target = folder / "TOOL.EXE";
    WriteTextFile(target, "MZ");
    // A folder stands where the shortcut file should go.
    CreateDirectoryA((folder / "Tool.lnk").c_str(), nullptr);
    CHECK(CreateShortcut(target, folder / "Tool", "", "", unjournaled) == folder / "Tool.pif");
    CHECK_FALSE(PathExists(folder / "Tool.pif"));
}

TEST_CASE("a link object that cannot be created raises the system's message")
{
    NoJournal unjournaled;
    ScratchFolder folder("nocom");
    WriteTextFile(folder / "TOOL.EXE", "MZ");
    // Without COM on the thread the link object cannot be made.
    CoUninitialize();
    std::string raised;
    try {
        CreateShortcut(folder / "TOOL.EXE", folder / "Tool", "", "", unjournaled);
    } catch (const SetupError& error) {
        raised = error.Message();
    }
    CoInitialize(nullptr);
    CHECK(raised.find('\n') == std::string::npos);
    char systemText[256] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(CO_E_NOTINITIALIZED), 0, systemText, sizeof systemText, nullptr) == 0)
        CHECK(raised == "OLE エラー 800401F0");  // Wine has no text for this code
    else
        CHECK(raised.find(std::string(systemText).substr(0, 8)) == 0);
    CHECK_FALSE(PathExists(folder / "Tool.lnk"));
}
