// Whether a setup script can be read as the installer reads it: Shift-JIS
// text with line feeds, through the profile reader. A script saved in
// another form does not fail when read; it reads as something else (a
// UTF-16 file as no section at all, a UTF-8 mark as part of the first
// section's name, a NUL byte as the end of a name, carriage returns alone
// as one long line), and an install would go on with the defaults: the
// setup folder "(Prg)\", no files, a record and an Add/Remove entry named
// "Orvane". Such a script is refused before anything is made, by SETUP.EXE
// and by the author tools alike.
#pragma once

#include "script/SetupScript.h"

#include <string>

enum class ScriptFault {
    None,
    Utf16,            // starts with a UTF-16 byte-order mark
    Utf8Mark,         // starts with a UTF-8 byte-order mark
    NulByte,          // holds a NUL byte
    NoLineFeeds,      // lines ended by carriage returns alone
    NoSetupSections,  // neither a [Title] nor a [CopyFile] section
};

// The script of a file's bytes, parsed once, or the first fault (in the
// order above) that refuses it; `script` is empty then.
struct AcceptedScript {
    ScriptFault fault = ScriptFault::None;
    SetupScript script;
};
AcceptedScript AcceptScript(const std::string& bytes);

// One line that tells the author what is wrong and what to do.
const char* ScriptFaultReason(ScriptFault fault);
