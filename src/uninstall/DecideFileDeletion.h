// What the uninstall does with one file of the record's file lists: delete
// it, keep it, or ask the user first (the caution box, the box for an
// unshared system component, or the four-button dialog for a shared file
// that no program counts any more).
#pragma once

#include "ui/SetupCallback.h"

#include <string>
#include <vector>

// A value of the record's DeleteFile or AddDeleteFile list, cut at its first
// comma. Only the comma and the four characters after it are looked at for
// switches: a switch further on has no meaning when uninstalling.
struct RecordedFile {
    std::string path;
    std::string switches;  // empty when the value has no comma
};
RecordedFile SplitRecordedFile(const std::string& value);

// The folders where a DLL or OCX without a shared count is asked about
// before it goes: the Windows and the system folder.
struct ComponentFolders {
    std::string windowsFolder;
    std::string systemFolder;
    // The machine's shared-DLL counts apply; a user install keeps none (and
    // its uninstall does not open the machine's list).
    bool sharedCounts = true;
};

// The answer about shared files that holds for the rest of the uninstall,
// across both file lists, once the person said "all".
enum class SharedFilesChoice { AskEach, DeleteAll, KeepAll };

// What became of one file: deleted (error 0, no reason), kept (the reason),
// or a deletion that failed (the system's error code; 2 for a file that is
// gone already). The run leaves a file another program holds open to wait
// (error 0, listed in atRestart), and so each such file a pattern matches.
struct FileDeletion {
    unsigned long error = 0;
    const char* keptBecause = nullptr;
    std::vector<std::string> atRestart;
};

// Decides by the file's shared count and switches, asks where the decision
// needs the person, and deletes (a component is unregistered first).
// Lowering a shared count that cannot be written raises SetupError.
FileDeletion DecideFileDeletion(const RecordedFile& file, const ComponentFolders& folders,
                                SharedFilesChoice& sharedFiles, SetupCallback& person);
