// A run state with a distinct, made-up folder behind every location token,
// for tests of the text that scripts and records hold; the run state as it
// was comes back when the test ends.
#pragma once

#include "support/TestRunState.h"

struct KnownFolders {
    RunState saved = TheRun;
    KnownFolders()
    {
        TheRun.AppFolder = "C:\\APP\\";
        TheRun.ProgramFilesFolder = "C:\\Program Files\\";
        TheRun.WindowsFolder = "C:\\WINDOWS\\";
        TheRun.SystemFolder = "C:\\WINDOWS\\SYSTEM\\";
        TheRun.TempFolder = "C:\\TEMP\\";
        TheRun.BootRoot = "C:\\";
        TheRun.SetupRoot = "D:\\";
        TheRun.SourceRoot = "E:\\";
        TheRun.StartMenuFolder = "C:\\SM\\";
        TheRun.ProgramsFolder = "C:\\SM\\Programs\\";
        TheRun.DesktopFolder = "C:\\Desk\\";
        TheRun.StartupFolder = "C:\\SM\\Programs\\Startup\\";
        TheRun.SendToFolder = "C:\\SendTo\\";
        TheRun.CommonStartMenuFolder = "C:\\All\\SM\\";
        TheRun.CommonProgramsFolder = "C:\\All\\Programs\\";
        TheRun.CommonDesktopFolder = "C:\\All\\Desk\\";
        TheRun.CommonStartupFolder = "C:\\All\\Startup\\";
    }
    ~KnownFolders() { TheRun = saved; }
    KnownFolders(const KnownFolders&) = delete;
    KnownFolders& operator=(const KnownFolders&) = delete;
};
