// The setup script as a package carries it: the distribution is one folder,
// so there is no disk to change, and a "(Dch)" mark would ask the person
// for a disk that does not exist. The marks are taken out of the [CopyFile]
// entries that the installer reads; every other byte of the file stays as
// the author wrote it (Shift-JIS, line ends, comments).
#pragma once

#include "script/SetupScript.h"

#include <optional>
#include <string>

// `text` (the script file's bytes, parsed as `script`) without the "(Dch)"
// at the start of each [CopyFile] entry; nothing, with `error` set, when an
// entry's mark cannot be found in its line.
std::optional<std::string> WithoutDiskChanges(const std::string& text, const SetupScript& script, std::string& error);
