// When the file system or the registry last saw something change, as UTC
// FILETIMEs (100-nanosecond steps since 1601): what tells the undo whether a
// file, a folder or a key was touched after a journal began.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

uint64_t FileTimeValue(const FILETIME& time);

// The system's time now.
uint64_t TimeNow();

// The latest of the file's or folder's creation, last-write and change
// times; a link is judged by itself, not by what it leads to. A copied file
// keeps its source's last-write time and a renamed one its creation time,
// but the change time follows every creation, write and rename, where the
// file system keeps one. Nothing when the path cannot be opened.
std::optional<uint64_t> LastChangeOfPath(const std::string& path);

// The key's last-write time: its creation, or the last value written or
// removed in it. Nothing when the key does not exist.
std::optional<uint64_t> LastWriteOfKey(HKEY root, const std::string& path);
