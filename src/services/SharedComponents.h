// Components that several programs share: the system's reference counts of
// shared DLLs, and the registration entries of self-registering components.
#pragma once

#include "services/ChangeJournal.h"
#include "services/Win32Files.h"

#include <string>

// The system's list of shared-DLL reference counts: one REG_DWORD value per
// file below HKEY_LOCAL_MACHINE, named by the file's full path.
constexpr char SharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The count of the file; 0 when it has none, when the value is not a 32-bit
// integer or when the list cannot be opened. The list's key is made when it
// is missing, recorded in `journal`.
int GetSharedCount(const std::string& path, ChangeJournal& journal);

// Raises or lowers the count and returns the new one. Raising a file that is
// on disk but never counted starts from 1 (one program uses it already);
// lowering to 0 or below removes the value (and returns 0 or -1). A count
// that cannot be written raises SetupError, which this lets through. The
// value as it was is recorded in `journal` first.
int AdjustSharedCount(const std::string& path, bool increment, ChangeJournal& journal);

// A shared count raised for one file, lowered again unless kept: Undo()
// lowers it (and lets SetupError through, as AdjustSharedCount does); when
// neither Keep() nor Undo() was called, the end of the scope lowers it as
// well as it can (the scope is being left by an error already). An empty
// path raises nothing.
class SharedCountRaise {
public:
    SharedCountRaise(std::string path, ChangeJournal& journal);
    ~SharedCountRaise();
    SharedCountRaise(const SharedCountRaise&) = delete;
    SharedCountRaise& operator=(const SharedCountRaise&) = delete;

    void Keep() { path_.clear(); }
    void Undo();

private:
    std::string path_;
    ChangeJournal* journal_;
};

// True when the path contains ".OCX" or ".DLL" anywhere, case ignored: the
// components that are registered after copying and unregistered before
// deletion.
bool IsRegistrable(const std::string& path);

// What became of a self-registration. Unregistration is best effort: it
// fails only when the library cannot be loaded.
enum class RegistrationResult { Done, NotLoaded, NoEntry, EntryFailed };

// Loads the component and calls DllRegisterServer (register) or
// DllUnregisterServer. Registration is done only when its entry returned
// exactly 0. The caller tells the person of a failure.
RegistrationResult SelfRegister(const std::string& path, bool doRegister);

// While it lives, this process's HKEY_CLASSES_ROOT is the user's own
// classes (HKEY_CURRENT_USER\Software\Classes) and type libraries register
// for the user: a component of a user install registers itself there. The
// end of the scope gives HKEY_CLASSES_ROOT back and lets OLE Automation go.
class UserClassesOverride {
public:
    UserClassesOverride();
    ~UserClassesOverride();
    UserClassesOverride(const UserClassesOverride&) = delete;
    UserClassesOverride& operator=(const UserClassesOverride&) = delete;

    // False when the system refused the redirection.
    bool Active() const { return active_; }

private:
    bool active_ = false;
    // Kept loaded: the per-user mode is a setting of the loaded library.
    ModuleHandle automation_;
};
