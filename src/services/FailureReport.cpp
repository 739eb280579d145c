#include "services/FailureReport.h"

#include "services/LocationTokens.h"

void FailureReport::AddSystemError(const std::string& tag, const std::string& path, unsigned long code)
{
    AddBlock(tag + path + "\r\n" + SystemErrorText(code) + "\r\n");
}

void FailureReport::AddReason(const std::string& tag, const std::string& path, const std::string& reason)
{
    AddBlock(tag + path + "\r\n" + reason + "\r\n\r\n");
}

void FailureReport::AddBlock(const std::string& block)
{
    text_ += block;
    ++count_;
}
