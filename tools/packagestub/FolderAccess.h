// Who may enter the unpack folder. The temporary folder belongs to the
// user, and any program the user runs without elevation could change a
// file there between the unpacking and the start of SETUP.EXE, which runs
// with administrator rights. So the folder is made with an access list of
// its own, not inherited from the temporary folder: full access for SYSTEM
// and the Administrators, and for the user only when the stub itself runs
// without elevation (it could not unpack into the folder otherwise). The
// files made in it inherit the same list.
#pragma once

#include <windows.h>

#include <string>

// The access list in the system's descriptor language (SDDL): protected
// ("P"), allowing everything ("FA") to SYSTEM ("SY"), the Administrators
// ("BA") and, when given, the user's SID, each inherited by files and
// folders inside ("OICI").
std::wstring UnpackFolderAccess(const std::wstring& userSid);

// The SID of the user the stub runs as, in the "S-1-5-21-..." form, or
// empty when the stub runs elevated (or cannot tell who it runs as).
std::wstring UserAllowedIn();

// Makes `folder` with that access list; false, with GetLastError() set,
// when it cannot (ERROR_ALREADY_EXISTS when the name is taken).
bool MakeFolderWithAccess(const std::wstring& folder, const std::wstring& access);
