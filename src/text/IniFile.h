// Profile (INI) files read and changed one call at a time by the program's
// own Shift-JIS reader and writer (script/ProfileText.h), with the rules of the
// system's profile functions but the same bytes on every system code page.
// There is no in-memory model of a file kept between calls: each call reads
// the file afresh (ReadProfileText gives it parsed once, for a caller that
// reads many keys of one file), and each change replaces the file whole
// through a temporary file beside it, so that a failed write leaves the old
// file as it was.
#pragma once

#include "script/ProfileText.h"

#include <string>
#include <vector>

// The file the profile functions below read and write for `file`: a name
// without a folder is the Windows folder's. Empty for a path longer than
// the system's limit, which they never touch (a read gives the fallback, a
// write fails).
std::string ProfileFileLocation(const std::string& file);

// The file's bytes as the reads below take them: empty for a missing file
// and for one that cannot be read.
std::string ReadProfileBytes(const std::string& file);

// The file as ReadProfile reads it, parsed once: its Read gives what
// ReadProfile gives. An empty text for a missing file.
ProfileText ReadProfileText(const std::string& file);

// The value of `key`, or `fallback` when the file, the section or the key is
// missing. Values and fallbacks of any length come back whole.
std::string ReadProfile(const std::string& section, const std::string& key, const std::string& fallback,
                        const std::string& file);

// Writes one value: replaces the first key of that name, or adds the key at
// the end of the section, or the section at the end of the file (made when
// missing). False when the file could not be read or written.
bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file);

// The lines of a section as "key=value" (or a key alone); none for a
// missing file or section.
std::vector<std::string> ReadProfileSection(const std::string& section, const std::string& file);

// Replaces the keys of a section by `lines` ("key=value" each), or adds the
// section at the end of the file (made when missing; no file is made for a
// section without lines). 0 or the system's error code.
unsigned long ReplaceProfileSection(const std::string& section, const std::vector<std::string>& lines,
                                  const std::string& file);

// Removes a section with its keys, or one key. A missing file, section or
// key is no failure. 0 or the system's error code.
unsigned long DeleteProfileSection(const std::string& section, const std::string& file);
unsigned long DeleteProfileKey(const std::string& section, const std::string& key, const std::string& file);

// Nothing to do: no copy of a file is kept between calls. (The system's
// profile functions kept one, which had to be dropped when the file was
// copied or deleted by other means.)
inline void FlushProfile(const std::string&) {}

// The text of a list value that identifies its entry: everything before the
// first comma.
std::string ListEntryField(const std::string& value);

// Case-blind equality under the user's locale, as the list look-ups use it.
bool SameListEntry(const std::string& a, const std::string& b);

// The number under which `value` belongs in the numbered list `prefix`1,
// `prefix`2, ... of `section`: the entry holding the same first field (case
// ignored), or else the first free number.
int FindNumberedKey(const std::string& value, const std::string& section, const std::string& prefix,
                    const std::string& file);
