// The failure report that an install or uninstall collects and offers at its
// end: blocks of a kind tag and a path, the reason, and an empty line. A
// path longer than the system's limit is shown by its first 80 bytes and
// "．．．".
#pragma once

#include <string>

class FailureReport {
public:
    // tag + path, CR LF, the system's text for `code` (which ends in CR LF),
    // and one more CR LF.
    void AddSystemError(const std::string& tag, const std::string& path, unsigned long code);

    // tag + path, CR LF, `reason`, CR LF, CR LF.
    void AddReason(const std::string& tag, const std::string& path, const std::string& reason);

    // A block already laid out by the caller, counted as one failure.
    void AddBlock(const std::string& block);

    const std::string& Text() const { return text_; }
    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

private:
    std::string text_;
    int count_ = 0;
};
