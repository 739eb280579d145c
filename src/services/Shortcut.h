// Shell shortcuts for the install's shortcut phase.
#pragma once

#include "services/ChangeJournal.h"

#include <string>

// Makes the shortcut `name` (a path without extension, or ending in ".lnk")
// to `target`, with the working folder (the target's folder when empty or
// missing) and the arguments (left unset when empty); creates the
// shortcut's folder first. A target that is itself a ".lnk" file is copied
// instead. Returns the path of the file made: the ".lnk" path, the ".pif"
// path when no ".lnk" file appeared, or empty when the link object lacks
// the interfaces. A link object that cannot be created raises SetupError
// with the system's message. COM must be initialised on the calling thread.
// The folders it makes and the file it writes are recorded in `journal`.
std::string CreateShortcut(const std::string& target, const std::string& name, const std::string& workingFolder,
                           const std::string& arguments, ChangeJournal& journal);
