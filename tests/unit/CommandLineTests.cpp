// The command line: the record argument, which decides the mode, and the
// switches of an unattended run.
#include <doctest/doctest.h>

#include "app/CommandLine.h"

TEST_CASE("the record is the first plain argument after the program's own name")
{
    CHECK(ParseCommandLine("SETUP.EXE").record.empty());
    CHECK(ParseCommandLine("SETUP.EXE   ").record.empty());
    CHECK(ParseCommandLine("C:\\WINDOWS\\UNOVSET.EXE C:\\APP\\UNSETUP.INI").record == "C:\\APP\\UNSETUP.INI");
    // The Add/Remove Programs entry quotes the record path only.
    CHECK(ParseCommandLine("C:\\WINDOWS\\UNOVSET.EXE \"C:\\Program Files\\表示\\UNSETUP.INI\"").record ==
          "C:\\Program Files\\表示\\UNSETUP.INI");
    CHECK(ParseCommandLine("\"C:\\Setup Disk\\SETUP.EXE\" first second").record == "first");
    // Tabs and other control characters separate too; quotes inside an
    // argument group blanks and are dropped.
    CHECK(ParseCommandLine("SETUP.EXE\tC:\\A\"B C\"D\\UNSETUP.INI").record == "C:\\AB CD\\UNSETUP.INI");
    CHECK(ParseCommandLine("SETUP.EXE \"\"").record.empty());
    // Switches may stand before and after it.
    const RunOptions quiet = ParseCommandLine("UNOVSET.EXE /verysilent \"C:\\A B\\UNSETUP.INI\" /NoRestart");
    CHECK(quiet.record == "C:\\A B\\UNSETUP.INI");
    CHECK(quiet.presence == Presence::VerySilent);
    CHECK(quiet.noRestart);
    CHECK(quiet.fault.empty());
}

TEST_CASE("switches: case-blind names, values after '=', and the first fault kept")
{
    const RunOptions none = ParseCommandLine("SETUP.EXE");
    CHECK(none.presence == Presence::Interactive);
    CHECK_FALSE(none.Unattended());
    CHECK_FALSE(none.log);
    CHECK_FALSE(none.setupFolder);

    const RunOptions all = ParseCommandLine(
        "SETUP.EXE /Silent /SUPPRESSMSGBOXES /dir=\"(Prg)\\Orvane 表示\" /NOICONS /LOG=\"C:\\logs\\a b.txt\"");
    CHECK(all.presence == Presence::Silent);
    CHECK(all.suppressMessageBoxes);
    CHECK(all.setupFolder == "(Prg)\\Orvane 表示");
    CHECK(all.noIcons);
    CHECK(all.log);
    CHECK(all.logFile == "C:\\logs\\a b.txt");
    CHECK(all.fault.empty());

    // /S is both; /VERYSILENT wins over /SILENT in either order; /LOG alone
    // asks for a log in the temporary folder.
    const RunOptions s = ParseCommandLine("SETUP.EXE /s /log");
    CHECK(s.presence == Presence::VerySilent);
    CHECK(s.suppressMessageBoxes);
    CHECK(s.log);
    CHECK(s.logFile.empty());
    CHECK(ParseCommandLine("SETUP.EXE /VERYSILENT /SILENT").presence == Presence::VerySilent);
    CHECK(ParseCommandLine("SETUP.EXE /?").help);
    CHECK(ParseCommandLine("SETUP.EXE /Help").help);

    // Unknown switches, a value where none belongs, a missing or empty one.
    for (const char* bad : {"/QUIET", "/SILENT=1", "/DIR", "/DIR=", "/LOG=", "/", "/D=C:\\X"}) {
        CAPTURE(bad);
        const RunOptions options = ParseCommandLine(std::string("SETUP.EXE /VERYSILENT ") + bad + " /FOO");
        CHECK(options.fault == bad);
    }

    // A log goes to a file: a device or an alternate stream is the line's
    // fault (the bytes went to the device, or nowhere, with exit 0).
    for (const char* log : {"NUL", "nul.txt", "COM1", "C:\\logs\\CON", "C:/logs/aux.log", "LPT9 .log",
                            "x.log:stream", "C:\\logs\\a.log:ads", "\\\\.\\NUL", "\\\\?\\C:\\a.log"}) {
        CAPTURE(log);
        const RunOptions options = ParseCommandLine(std::string("SETUP.EXE /S /LOG=\"") + log + "\"");
        CHECK(options.fault.rfind(std::string("/LOG=") + log + " (", 0) == 0);
        CHECK_FALSE(options.logFault.empty());
    }
    for (const char* log : {"C:\\logs\\a.log", "NULL.log", "console.txt", "COM10.log", "\\\\server\\share\\a.log"})
        CHECK_MESSAGE(ParseCommandLine(std::string("SETUP.EXE /S /LOG=\"") + log + "\"").fault.empty(), log);
}

TEST_CASE("the system's UTF-16 command line: Japanese kept, a character Shift-JIS cannot hold refused")
{
    const RunOptions japanese =
        ParseCommandLine(std::wstring(L"\"C:\\セットアップ\\SETUP.EXE\" /S /DIR=\"C:\\Program Files\\表示ソフト\""));
    CHECK(japanese.fault.empty());
    CHECK(japanese.setupFolder == "C:\\Program Files\\表示ソフト");
    CHECK(japanese.presence == Presence::VerySilent);

    // The program's own folder may hold any character.
    const RunOptions ownName = ParseCommandLine(std::wstring(L"C:\\Zoë\\UNOVSET.EXE C:\\表示\\UNSETUP.INI /LOG"));
    CHECK(ownName.fault.empty());
    CHECK(ownName.record == "C:\\表示\\UNSETUP.INI");
    CHECK(ownName.log);

    // A folder, a log file or a record with such a character is the fault
    // (the usage and exit code 87), never the same path with "?".
    for (const wchar_t* line : {L"SETUP.EXE /S /DIR=\"C:\\Zoë\\表示\"", L"SETUP.EXE /LOG=C:\\Zoë.txt /S",
                                L"UNOVSET.EXE C:\\Zoë\\UNSETUP.INI", L"SETUP.EXE /DIR=C:\\😀"}) {
        const RunOptions refused = ParseCommandLine(std::wstring(line));
        CAPTURE(refused.fault);
        const bool questionMarkShown =
            refused.fault.find("Zo?") != std::string::npos || refused.fault.find("C:\\?") != std::string::npos;
        CHECK(questionMarkShown);
        CHECK(refused.fault.find("Shift-JIS") != std::string::npos);
    }
    // A switch fault before it stays the one reported.
    const std::wstring bothFaults = L"SETUP.EXE /BOGUS /DIR=C:\\Zoë";
    CHECK(ParseCommandLine(bothFaults).fault == "/BOGUS");
}
