// A run state of the test's own with a distinct, made-up folder behind every
// location token, for tests of the text that scripts and records hold.
#pragma once

#include "engine/RunState.h"

struct KnownFolders {
    RunState run;
    KnownFolders()
    {
        run.appFolder = "C:\\APP\\";
        run.programFilesFolder = "C:\\Program Files\\";
        run.windowsFolder = "C:\\WINDOWS\\";
        run.systemFolder = "C:\\WINDOWS\\SYSTEM\\";
        run.tempFolder = "C:\\TEMP\\";
        run.bootRoot = "C:\\";
        run.setupRoot = "D:\\";
        run.sourceRoot = "E:\\";
        run.startMenuFolder = "C:\\SM\\";
        run.programsFolder = "C:\\SM\\Programs\\";
        run.desktopFolder = "C:\\Desk\\";
        run.startupFolder = "C:\\SM\\Programs\\Startup\\";
        run.sendToFolder = "C:\\SendTo\\";
        run.commonStartMenuFolder = "C:\\All\\SM\\";
        run.commonProgramsFolder = "C:\\All\\Programs\\";
        run.commonDesktopFolder = "C:\\All\\Desk\\";
        run.commonStartupFolder = "C:\\All\\Startup\\";
    }
    KnownFolders(const KnownFolders&) = delete;
    KnownFolders& operator=(const KnownFolders&) = delete;
};
