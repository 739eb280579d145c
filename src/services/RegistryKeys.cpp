#include "services/RegistryKeys.h"

#include "services/Win32Registry.h"
#include "text/ScriptTokens.h"
#include "text/StrOp.h"

namespace {

constexpr int TokenLength = 7;
constexpr int MaximumDeletionPasses = 99;

}  // namespace

namespace {

bool OpensToken(const std::string& text)
{
    return !text.empty() && text[0] == '(';
}

// ")" is a single-byte character: it is never the second byte of one.
bool ClosesToken(const std::string& text)
{
    return text.size() >= TokenLength && text[TokenLength - 1] == ')';
}

RegistryLocation CutAfterToken(const std::string& text)
{
    return {LeftStr(text, TokenLength), MidStr(text, TokenLength + 1)};
}

}  // namespace

RegistryLocation SplitRegistryLocation(const std::string& location)
{
    if (!OpensToken(location) || !ClosesToken(location)) return {std::string(ScriptTokens::CurrentUser), location};
    return CutAfterToken(location);
}


HKEY RootKeyOf(const std::string& rootToken)
{
    if (rootToken == ScriptTokens::ClassesRoot) return HKEY_CLASSES_ROOT;
    if (rootToken == ScriptTokens::LocalMachine) return HKEY_LOCAL_MACHINE;
    if (rootToken == ScriptTokens::Users) return HKEY_USERS;
    return HKEY_CURRENT_USER;
}

RegistryKeyName ParseRegistryKey(const std::string& key)
{
    const RegistryLocation location =
        OpensToken(key) || ClosesToken(key) ? CutAfterToken(key) : RegistryLocation{std::string(ScriptTokens::CurrentUser), key};
    return {RootKeyOf(location.rootToken), WithoutTrailingBackslash(WithoutLeadingBackslash(location.keyPath))};
}

bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath)
{
    // The system refuses a leading backslash; it means the same as none.
    const std::string path = WithoutLeadingBackslash(keyPath);
    if (path.empty()) return true;
    const HKEY root = RootKeyOf(rootToken);
    // A pass removes the subkeys depth first and then the key; one that the
    // system let only partly through is followed by another.
    for (int pass = 0; pass < MaximumDeletionPasses && RegKeyExists(root, path); ++pass)
        DeleteRegTree(root, path);
    return true;
}
