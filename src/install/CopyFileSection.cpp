#include "install/CopyFileSection.h"

#include "services/Expansion.h"
#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "text/NumberedList.h"
#include "text/PathParts.h"
#include "text/ScriptTokens.h"
#include "text/StrOp.h"
#include "text/ValueFields.h"

std::vector<std::string> ReadCopyFileItems(const std::string& scriptPath)
{
    return ReadNumberedList("CopyFile", "File", scriptPath);
}

bool CopyEntry::Shared() const
{
    return Contains(Switches, "/S");
}

bool CopyEntry::AlwaysWrite() const
{
    return Contains(Switches, "/W");
}

bool CopyEntry::SelfRegistering() const
{
    return Contains(Switches, "/R");
}

CopyEntry ParseCopyEntry(const std::string& value, const std::string& sourceFolder, const LocationTable& folders)
{
    CopyEntry entry;
    std::string text = ExpandTokens(value, folders);
    // An exact test: "(dch)" in other letter case stays part of the path.
    entry.DiskChange = LeftStr(text, 5) == ScriptTokens::DiskChange;
    if (entry.DiskChange) text = MidStr(text, 6);

    const int comma = TokenPos(",", text);
    if (comma != 0) entry.Switches = MidStr(text, comma);
    entry.PathPart = comma != 0 ? LeftStr(text, comma - 1) : text;

    const SplitText rename = SplitAtFirst(entry.PathPart, "|");
    entry.Source = sourceFolder + FileNamePart(rename.Before);
    entry.Compressed = EndsWithCharacter(entry.Source, '_');
    if (rename.Found) {
        entry.Destination = WithoutTrailingBackslash(FolderPart(rename.Before)) + WithLeadingBackslash(rename.After);
    } else if (EndsWithCharacter(entry.PathPart, '_')) {
        entry.Destination = WithoutTrailingBackslash(FolderPart(entry.PathPart)) + "\\" + ExpandedNamePlaceholder;
    } else {
        entry.Destination = entry.PathPart;
    }
    return entry;
}

std::string MeasuredSourceName(const std::string& value)
{
    return FileNamePart(SplitAtFirst(SplitAtFirst(value, ",").Before, "|").Before);
}
