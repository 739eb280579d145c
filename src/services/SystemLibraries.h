// Where the program takes DLLs from. A setup program runs from a download
// folder with administrator rights; a DLL that another site dropped there
// earlier under a system DLL's name (version.dll, for one) must never be
// loaded in place of the system's. So the process looks for DLLs in the
// system folder only, and every system DLL but kernel32 and the C runtime
// is delay-loaded (the build's link options), so that none is resolved
// from the program's own folder while the process starts. Used by
// SETUP.EXE and by the package stub ORVSTUB.EXE.
#pragma once

#include <windows.h>

// Restricts the process's DLL search to the system folder, and takes the
// current folder out of it. Called first thing in the process, before any
// delay-loaded DLL is needed. Where the system cannot restrict the search
// (Windows 7 without its 2011 loader update), only the current folder goes.
void RestrictDllSearchToSystemFolder();

// The system DLL `name` ("rstrtmgr.dll"), from the system folder only;
// nullptr when it cannot be loaded. The caller frees it.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A component of the setup script, by its full path: from where the script
// put it, with the DLLs it needs itself looked for beside it and in the
// system folder (as registering tools load components). nullptr when it
// cannot be loaded.
HMODULE LoadComponentLibrary(const wchar_t* path);
