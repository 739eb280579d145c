// The small file and folder operations every part uses: existence tests,
// folder-path creation and the overwriting copy.
#pragma once

#include "services/ChangeJournal.h"

#include <string>

// True when the first directory entry matching `name` (wildcards allowed) is
// a file, not a folder.
bool FileExists(const std::string& name);

// True when the folder lists at least one visible entry; an ordinary folder
// always lists its "." entry, a drive root only its visible contents.
bool FolderExists(const std::string& path);

// Creates every missing level of `path`, each recorded in `journal` first.
// The result is the outcome of the last creation attempted, or true when
// every level existed already.
bool CreateFolderPath(const std::string& path, ChangeJournal& journal);

// Copies `source` over `destination`, clearing the destination's read-only,
// hidden and system attributes before and after. 0 or the system error code.
// A copy that fails part-way (a full disk) leaves no cut-short or empty
// file: a new destination is removed again, and an existing one is replaced
// only by a complete copy, written beside it under a temporary name first.
// A new file is recorded in `journal` as created; an earlier one, while the
// journal records, is moved aside for the undo.
unsigned long CopyFileTo(const std::string& source, const std::string& destination, ChangeJournal& journal);
// What the caller knows of the source's attributes, which the system's copy
// carries to the destination: with nothing but the archive flag there is
// nothing to clear after the copy, and the destination is not opened again.
enum class SourceFlags { Unknown, ArchiveOnly };
// The flags a source with `attributes` hands its copy.
SourceFlags SourceFlagsOf(unsigned long attributes);
// The same for a caller that has just looked whether a file stands at
// `destination` (`existed`): in a folder of many files each look-up of a
// name that is not there reads the whole folder, so it is done once.
unsigned long CopyFileTo(const std::string& source, const std::string& destination, bool existed,
                         ChangeJournal& journal, SourceFlags flags = SourceFlags::Unknown);
