#include "services/FailureReport.h"

#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "services/SystemErrorText.h"

namespace {

// A path longer than any the system can use (a damaged record or script)
// is shown by its start: one line of tens of kilobytes would make the
// details unreadable and the text box slow.
std::string ShownPath(const std::string& path)
{
    constexpr size_t shownBytes = 80;
    if (path.size() <= LongestPath) return path;
    size_t end = 0;
    while (end < shownBytes) end += IsLeadByte(static_cast<unsigned char>(path[end])) ? 2 : 1;
    return path.substr(0, end) + "．．．";
}

}  // namespace

void FailureReport::AddSystemError(const std::string& tag, const std::string& path, unsigned long code)
{
    AddBlock(tag + ShownPath(path) + "\r\n" + SystemErrorText(code) + "\r\n");
}

void FailureReport::AddReason(const std::string& tag, const std::string& path, const std::string& reason)
{
    AddBlock(tag + ShownPath(path) + "\r\n" + reason + "\r\n\r\n");
}

void FailureReport::AddBlock(const std::string& block)
{
    text_ += block;
    ++count_;
}
