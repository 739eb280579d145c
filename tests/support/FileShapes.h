// Files shaped for a test: a length set without writing the bytes (sparse
// on the host's file system, so a file of many gigabytes costs no space), and
// a chosen last-write time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Sets the length of an existing file; false when the system refused.
bool SetFileLength(const std::string& path, int64_t length);

// A moment in local time, as the file-time calls take it.
FILETIME LocalMoment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);

// The moment `seconds` from now (before now when negative).
FILETIME MomentFromNow(long long seconds);

// Sets the last-write time of an existing file; false when that failed.
bool SetWriteTime(const std::string& path, const FILETIME& moment);
