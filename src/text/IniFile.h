// One value of a profile (INI) file per call, through the system's profile
// functions. There is no in-memory model of a file.
#pragma once

#include <string>

// The value of `key`, or `fallback` when the file, the section or the key is
// missing. Values and fallbacks of any length come back whole.
std::string ReadProfile(const std::string& section, const std::string& key, const std::string& fallback,
                        const std::string& file);

// Writes one value after flushing the system's cached copy of the file, so
// that copies and deletions of the file made in between are seen. False,
// and the file left as it was, when the system failed or when a text is
// longer than its profile functions take (32766 bytes).
bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file);

// Drops the system's cached copy of a profile file.
void FlushProfile(const std::string& file);

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
