#include "services/RegistryAccess.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "services/FailureReport.h"
#include "services/SetupError.h"

namespace {

// Key paths are relative to the root; a leading backslash means the same,
// but the system refuses it (161), so it goes.
std::string BelowRoot(const std::string& path)
{
    return WithoutLeadingBackslash(path);
}

// Records the first level of `path` that does not exist yet: removing it
// removes everything the creation made.
void JournalKeyCreation(ChangeJournal& journal, HKEY root, const std::string& path)
{
    if (!journal.Records()) return;
    std::string remaining = WithTrailingBackslash(path);
    std::string prefix;
    for (int at = TokenPos("\\", remaining); at != 0; at = TokenPos("\\", remaining)) {
        prefix += LeftStr(remaining, at - 1);
        remaining = MidStr(remaining, at + 1);
        if (!prefix.empty() && !RegKeyExists(root, prefix)) {
            journal.KeyCreated(root, prefix);
            return;
        }
        prefix += "\\";
    }
}

}  // namespace

RegistryAccess::RegistryAccess(HKEY root, ChangeJournal& journal) : root_(root), journal_(&journal) {}

void RegistryAccess::CreateKey(const std::string& path)
{
    LONG status = ERROR_SUCCESS;
    JournalKeyCreation(*journal_, root_, BelowRoot(path));
    if (!CreateRegKey(root_, BelowRoot(path), &status))
        throw SetupError(SetupError::Action::CreatingKey, path, static_cast<unsigned long>(status),
                         ReasonText({FailureReason::KeyNotCreated, path}));
}

bool RegistryAccess::OpenKey(const std::string& path, bool create)
{
    currentPath_ = BelowRoot(path);
    if (create) JournalKeyCreation(*journal_, root_, currentPath_);
    current_ = create ? CreateRegKey(root_, BelowRoot(path)) : OpenRegKey(root_, BelowRoot(path), KEY_READ | KEY_WRITE);
    return current_.Valid();
}

void RegistryAccess::CloseKey()
{
    current_.Reset();
}

std::optional<int32_t> RegistryAccess::ReadInteger(const std::string& name) const
{
    if (!current_) return std::nullopt;
    const std::optional<DWORD> value = ReadRegDword(current_.Get(), name);
    if (!value) return std::nullopt;
    return static_cast<int32_t>(*value);
}

void RegistryAccess::WriteString(const std::string& name, const std::string& value)
{
    JournalBefore(name);
    Check(name, current_ ? WriteRegString(current_.Get(), name, REG_SZ, value) : ERROR_INVALID_HANDLE);
}

void RegistryAccess::WriteExpandString(const std::string& name, const std::string& value)
{
    JournalBefore(name);
    Check(name, current_ ? WriteRegString(current_.Get(), name, REG_EXPAND_SZ, value) : ERROR_INVALID_HANDLE);
}

void RegistryAccess::WriteInteger(const std::string& name, int32_t value)
{
    WriteValue(name, REG_DWORD, &value, sizeof value);
}

void RegistryAccess::WriteBinary(const std::string& name, uint32_t value)
{
    WriteValue(name, REG_BINARY, &value, sizeof value);
}

bool RegistryAccess::DeleteValue(const std::string& name)
{
    if (!current_) return false;
    JournalBefore(name);
    return DeleteRegValue(current_.Get(), name) == ERROR_SUCCESS;
}

void RegistryAccess::WriteValue(const std::string& name, DWORD type, const void* data, DWORD size)
{
    JournalBefore(name);
    Check(name, current_ ? WriteRegBytes(current_.Get(), name, type, data, size) : ERROR_INVALID_HANDLE);
}

void RegistryAccess::Check(const std::string& name, LONG status)
{
    if (status != ERROR_SUCCESS)
        throw SetupError(SetupError::Action::WritingValue, name, static_cast<unsigned long>(status),
                         ReasonText({FailureReason::ValueNotWritten, name}));
}

void RegistryAccess::JournalBefore(const std::string& name) const
{
    if (current_) journal_->ValueBefore(root_, currentPath_, name);
}
