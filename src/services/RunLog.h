// The log of a run that an administrator reads afterwards: one line per
// event, each behind the local time to the millisecond, in UTF-8 so that
// the Japanese texts read the same on any system. A log that is not open
// takes every line and writes nothing, so the procedures log without
// asking whether anyone listens.
#pragma once

#include "services/Win32Files.h"

#include <string>

class RunLog {
public:
    // Opens `path` for appending (a log named twice keeps both runs) and
    // returns the system's error code, 0 when it opened.
    unsigned long Open(const std::string& path);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // Lets another process write the file (it is opened without sharing
    // write access); Open(Path()) goes on after that one's last line.
    void Close() { file_ = FileHandle(); }
    const std::string& Path() const { return path_; }

    // One event; `text` is Shift-JIS and may hold several lines (CR, LF or
    // both), each of which gets its own time stamp.
    void Line(const std::string& text);

private:
    FileHandle file_;
    std::string path_;
};
