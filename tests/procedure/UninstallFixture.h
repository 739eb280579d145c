// An uninstall run in-process on the real windows: a setup folder of the
// test's own holding an uninstall record written by hand, the start-up in
// uninstall mode on it, and the start button pressed as a person would.
#pragma once

#include "RunFixture.h"
#include "support/Scripted.h"
#include "windows/MessagePump.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The sections of an uninstall record, written in the record's order; a
// list left empty writes no section.
struct HandMadeRecord {
    std::string setupFolder;
    bool writeSetupFolder = true;
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

// Watches the run at every message pump as a person watching the screen
// would: notes each new progress message, and presses btnEvent
// ("続行(&C)") once the failure details show.
class RunWatcher final : public PumpObserver {
public:
    explicit RunWatcher(RunFixture& run) : run_(run) { InstallPumpObserver(this); }
    ~RunWatcher() override { InstallPumpObserver(nullptr); }
    void AfterPump() override;
    std::vector<std::string> progressMessages;
    std::string reportShown;
    std::string frameShown;
    bool verticalScrollBar = false;

private:
    RunFixture& run_;
};

// A shared-DLL count of the test's own, removed when the test ends.
class SharedCountValue {
public:
    SharedCountValue(std::string path, DWORD count);
    ~SharedCountValue();
    SharedCountValue(const SharedCountValue&) = delete;
    SharedCountValue& operator=(const SharedCountValue&) = delete;
    // The count now stored; nothing when the value is gone.
    std::optional<DWORD> Stored() const;

private:
    std::string path_;
};

// A file extension of the test's own under HKEY_CLASSES_ROOT: its key and
// the file type an install would make for it, both removed at the end.
class ScratchExtension {
public:
    ScratchExtension();
    ~ScratchExtension();
    ScratchExtension(const ScratchExtension&) = delete;
    ScratchExtension& operator=(const ScratchExtension&) = delete;
    const std::string& Name() const { return name_; }  // without the dot
    std::string Key() const { return "." + name_; }
    std::string InstalledType() const { return name_ + "_auto_file"; }

private:
    std::string name_;
};

// The box every uninstall ends with.
void CheckCompletionBox(const AskedBox& box);
// The question that offers the failure details.
void CheckFailureQuestion(const AskedBox& box);

// A copy of the test component regok.dll, a real library whose
// unregistration entry the deletion calls.
void PlaceComponent(const std::string& path);
