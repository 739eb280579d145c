// SETUP.EXE's command line: the uninstall record, when one is named, and
// the switches of an unattended run, in the spelling administrators and
// package managers use with other installers. The package stub reads the
// same switches to know whether it may show its failure box, and the author
// tools tell winget which to pass.
#pragma once

#include "script/InstallScope.h"

#include <optional>
#include <string>
#include <vector>

// How much of the program the person sees.
enum class Presence {
    Interactive,  // every window and question, as always
    Silent,       // the progress window alone; nothing is asked
    VerySilent,   // no window at all
};

struct RunOptions {
    // The first argument that is no switch: the uninstall record when the
    // program is started on one; empty when there is none.
    std::string record;
    Presence presence = Presence::Interactive;
    // Questions take their unattended answers instead of failing the run.
    bool suppressMessageBoxes = false;
    std::optional<std::string> setupFolder;  // /DIR=, tokens not yet expanded
    bool noIcons = false;
    bool noRestart = false;
    // An older version than the installed one is installed without asking.
    bool allowDowngrade = false;
    // Every file is copied again whatever the overwrite rules say, and the
    // registry values, shortcuts and Add/Remove entry are written again.
    bool repair = false;
    bool log = false;
    std::string logFile;  // empty: a fresh log in the temporary folder
    // Why /LOG= names no file a log may go to (a device, an alternate
    // stream); empty when it does. The run then ends with 87, its lines
    // going to a fresh log in the temporary folder.
    std::string logFault;
    bool help = false;
    // The run that the user's RunOnce key starts at sign-in: it carries out
    // the changes an install or uninstall for the current user left waiting
    // for files in use, and nothing else.
    bool finishPending = false;
    // /ALLUSERS or /CURRENTUSER; both on one line are a fault.
    ScopeSwitch scope = ScopeSwitch::None;
    // The first argument that is no switch of ours, or one of ours in the
    // wrong form; empty when the line is good.
    std::string fault;

    bool Unattended() const { return presence != Presence::Interactive; }
};

// Reads the arguments after the program's own name (the line's first
// argument). Arguments are separated by blanks and control characters;
// double quotes group blanks into one argument and are dropped (so
// /DIR="C:\Program Files\A" is one switch). A switch starts with "/" and its
// name is case-blind. No Shift-JIS trail byte is a blank, a control
// character or a double quote, so the line is read byte by byte.
RunOptions ParseCommandLine(const std::string& commandLine);

// Why `path` cannot take a log: a device ("NUL", "COM1", "CON.txt", a
// "\\.\" path) or an alternate stream ("x.log:stream"); empty when it can.
std::string LogFileFault(const std::string& path);

// The arguments of a command line, the program's own name first.
std::vector<std::string> CommandLineArguments(const std::string& commandLine);

// The switches of an install or uninstall that shows nothing and asks
// nothing (the Add/Remove entry's quiet command, winget's silent mode), and
// of one that shows only its progress.
inline constexpr const char* QuietSwitches = "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART";
inline constexpr char FinishPendingSwitch[] = "/FINISHPENDING";
inline constexpr const char* ProgressOnlySwitches = "/SILENT /SUPPRESSMSGBOXES /NORESTART";
