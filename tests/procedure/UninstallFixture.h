// An uninstall run in-process on the real windows: a setup folder of the
// test's own holding an uninstall record written by hand, the start-up in
// uninstall mode on it, and the start button pressed as a person would.
#pragma once

#include "RunFixture.h"
#include "support/Scripted.h"

#include <string>
#include <vector>

// The sections of an uninstall record, written in the record's order; a
// list left empty writes no section.
struct HandMadeRecord {
    std::string setupFolder;
    bool writeSetupFolder = true;
    bool setupFolderMade = false;  // [SetupFolder] Made=1: the install made it
    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::vector<std::string> shortcuts;
    std::vector<std::string> registryKeys;
    std::vector<std::string> extraFiles;
    std::vector<std::string> associations;
    std::string checkBox = "0,0,0,0";
    std::string uninstallKey;
    std::string programId;

    std::string Text() const;
};

class UninstallFixture {
public:
    UninstallFixture();

    // Writes the record into the setup folder and runs the start-up on it.
    // The record lists itself last among the files, as every record does.
    void Start();
    // Start(), then the start button; the run's own change of the current
    // folder is undone afterwards, so that scratch folders can go.
    void Uninstall();

    InstantClock clock;
    RunFixture run;
    ScratchFolder app{"app"};
    ScratchFolder elsewhere{"files"};  // a folder outside the setup folder
    HandMadeRecord record;
    bool recordListsItself = true;
};

// The box every uninstall ends with.
void CheckCompletionBox(const AskedBox& box);
// The question that offers the failure details.
void CheckFailureQuestion(const AskedBox& box);

// A copy of the test component regok.dll, a real library whose
// unregistration entry the deletion calls.
void PlaceComponent(const std::string& path);
