// The sample distribution (samples/viewer) as the build lays it out, and
// what its install puts into the machine, for everything that drives
// SETUP.EXE through it from outside: the e2e tests and the README's
// walk-through (tools/sampletour). No test framework here: results are
// returned, and each caller checks or reports them in its own way.
#pragma once

#include "MachineSnapshot.h"
#include "driver/Driver.h"

#include <windows.h>

#include <string>
#include <vector>

// Disk `n` of the laid-out sample (build/sample/dist/DISKn), with a trailing
// backslash.
std::string SampleDisk(int n);

// Copies every file of the folder `from` into the folder `to` (both with a
// trailing backslash), over what is there, except the files named in
// `except`; returns the names that could not be copied.
std::vector<std::string> CopyDisk(const std::string& from, const std::string& to,
                                  const std::vector<std::string>& except = {});

// Replaces the whole line `line` of a setup script by `replacement`, byte
// for byte, so that the rest of the Shift-JIS script stays as it was
// whatever the system's code page (the profile functions read a script in
// that code page); false when the script has no such line.
bool ReplaceScriptLine(const std::string& script, const std::string& line, const std::string& replacement);

std::string WindowsFolder();
std::string SystemFolder();
// A shell folder (CSIDL_...) of the current user, with a trailing backslash.
std::string ShellFolder(int csidl);

// A string value (REG_SZ or REG_EXPAND_SZ) up to its terminating zero;
// "<none>" when there is no such value or it holds no string.
std::string StringValue(HKEY root, const std::string& key, const std::string& name);

// The main window of process `id` once it shows the screen whose action
// button reads `eventCaption`; nullptr when it did not come in time.
HWND WaitForMainScreen(DWORD id, const std::string& eventCaption, DWORD timeout = SettleTimeout);
// The shown dialog window (a message box, the restart offer) of process `id`
// whatever its caption; nullptr when none came in time.
HWND WaitForAnyBox(DWORD id, DWORD timeout = SettleTimeout);
// Answers a box and waits until it has gone, so that the next box looked
// for is never this one still closing; false when it stayed.
bool AnswerAndWait(HWND box, int button);
// The visible top-level windows of a process, one line each (class, caption
// and a message box's text), for reports of a screen that did not come.
std::string VisibleWindows(DWORD id);

// The boxes the sample's install shows, as the script and the drive make
// them: caption and text.
struct ExpectedBox {
    std::string caption;
    std::string text;
};

// What the sample's script names on this machine.
struct SampleInstallation {
    std::string windows = WindowsFolder();
    std::string uninstaller = windows + "UNOVSET.EXE";
    std::string setupFolderList = windows + "OVSET98.INI";
    std::string iniFile = windows + "ORVSMPL.INI";
    std::string app;  // (Prg)\Orvane Sample\, as the machine names Program Files
    std::string component = SystemFolder() + "ORVSMPL.DLL";
    std::string group;  // the Start menu folder of the shortcuts
    // The five shortcuts in the order of the script's [ShortCut] entries.
    std::vector<std::string> links;
    std::string viewerKey = "Software\\Orvane\\SampleViewer";
    std::string controlKey = "Software\\Orvane\\SampleControl";
    std::string entryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneSampleViewer";
    std::string sharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

    SampleInstallation();

    // True when the sample's setup folder or its Add/Remove entry exists.
    bool Installed() const;
    // The files, folders and keys of the sample's own (its shortcuts, its
    // component, its INI file, its Start menu folder, its registry keys and
    // association) that are on the machine although it is not installed:
    // an install would overwrite them, and its uninstall take them away.
    std::vector<std::string> AlreadyPresent() const;

    ExpectedBox FolderQuestion() const;
    ExpectedBox DiskChange() const;
    ExpectedBox AssociationQuestion() const;
    ExpectedBox FailureQuestion() const;
    ExpectedBox RestartWarning() const;

    // Removes whatever an install of the sample may have left, also what an
    // uninstall keeps on purpose (the uninstaller, an empty OVSET98.INI, the
    // keys above the script's registry keys): for tests, whose machine must
    // look as if it never saw the sample.
    void RemoveTraces() const;

    // The differences that an uninstall of the sample keeps on purpose, as
    // snapshot paths with the reason.
    std::vector<AllowedDifference> KeptOnPurpose() const;
};

// The machine as if it never saw the sample, before the test and after it,
// whatever way the test ends.
struct SampleRemoved {
    SampleInstallation sample;
    SampleRemoved() { sample.RemoveTraces(); }
    ~SampleRemoved() { sample.RemoveTraces(); }
    SampleRemoved(const SampleRemoved&) = delete;
    SampleRemoved& operator=(const SampleRemoved&) = delete;
};
