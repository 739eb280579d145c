// A run state with a distinct, made-up folder behind every location token,
// for tests of the text that scripts and records hold; the run state as it
// was comes back when the test ends.
#pragma once

#include "support/TestRunState.h"

struct KnownFolders {
    SavedRunState saved{TheRun};
    KnownFolders()
    {
        TheRun.appFolder = "C:\\APP\\";
        TheRun.programFilesFolder = "C:\\Program Files\\";
        TheRun.windowsFolder = "C:\\WINDOWS\\";
        TheRun.systemFolder = "C:\\WINDOWS\\SYSTEM\\";
        TheRun.tempFolder = "C:\\TEMP\\";
        TheRun.bootRoot = "C:\\";
        TheRun.setupRoot = "D:\\";
        TheRun.sourceRoot = "E:\\";
        TheRun.startMenuFolder = "C:\\SM\\";
        TheRun.programsFolder = "C:\\SM\\Programs\\";
        TheRun.desktopFolder = "C:\\Desk\\";
        TheRun.startupFolder = "C:\\SM\\Programs\\Startup\\";
        TheRun.sendToFolder = "C:\\SendTo\\";
        TheRun.commonStartMenuFolder = "C:\\All\\SM\\";
        TheRun.commonProgramsFolder = "C:\\All\\Programs\\";
        TheRun.commonDesktopFolder = "C:\\All\\Desk\\";
        TheRun.commonStartupFolder = "C:\\All\\Startup\\";
    }
    ~KnownFolders() { saved.Restore(TheRun); }
    KnownFolders(const KnownFolders&) = delete;
    KnownFolders& operator=(const KnownFolders&) = delete;
};
