// The working state of one uninstall: the record it reads, what the option
// boxes asked for, the folders it must never remove, and the failures it
// collects for the report at its end.
#pragma once

#include "engine/ProtectedFolders.h"
#include "services/FailureReport.h"
#include "services/RunLog.h"
#include "services/WaitingChanges.h"
#include "uninstall/DecideFileDeletion.h"
#include "uninstall/DeletionScope.h"

#include <string>
#include <vector>

struct UninstallRun {
    std::string record;    // the working copy of the uninstall record
    std::string appFolder; // the setup folder, with its trailing backslash
    // Names or patterns, each followed by "|", deleted from the setup folder
    // and the folders inside it before they are removed: "*.INI|", "*.GID|".
    std::string patterns;
    // The person's (or the record's) choice of delete-all, and whether it is
    // done: everything below the setup folder goes only when the install
    // made that folder and it is no place of the system or the user.
    bool deleteAllAsked = false;
    bool deleteAll = false;
    ComponentFolders components;  // where an unshared DLL or OCX is asked about
    SharedFilesChoice sharedFiles = SharedFilesChoice::AskEach;
    // The shell folders that hold shortcuts for every program: a shortcut's
    // folder that is one of them stays even when it is left empty.
    std::vector<std::string> shortcutHomes;
    ProtectedFolders protectedFolders{{}};
    DeletionScope scope{{}, {}, ProtectedFolders{{}}};  // what the record may have deleted
    FailureReport failures;
    // Where the deletion of a file another program holds waits: the system's
    // list (the next restart of Windows), or for an install for the current
    // user the user's own (the next sign-in).
    WaitingChanges waiting = WaitingChanges::AtRestart();
    // The files left waiting: the run then asks for a restart.
    std::vector<std::string> leftForRestart;
    RunLog* log = nullptr;  // the run's log, once the uninstall has started

    void Log(const std::string& text) const
    {
        if (log != nullptr) log->Line(text);
    }
};
