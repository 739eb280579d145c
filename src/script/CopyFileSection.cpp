#include "script/CopyFileSection.h"

#include "script/PathParts.h"
#include "script/ScriptTokens.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "script/ValueFields.h"

bool CopyEntry::Shared() const
{
    return Contains(switches, "/S");
}

bool CopyEntry::AlwaysWrite() const
{
    return Contains(switches, "/W");
}

bool CopyEntry::SelfRegistering() const
{
    return Contains(switches, "/R");
}

CopyEntry ParseCopyEntry(const std::string& value, const std::string& sourceFolder, const LocationTable& folders)
{
    CopyEntry entry;
    std::string text = ExpandTokens(value, folders);
    // An exact test: "(dch)" in other letter case stays part of the path.
    entry.diskChange = LeftStr(text, 5) == ScriptTokens::DiskChange;
    if (entry.diskChange) text = MidStr(text, 6);

    const int comma = TokenPos(",", text);
    if (comma != 0) entry.switches = MidStr(text, comma);
    entry.pathPart = comma != 0 ? LeftStr(text, comma - 1) : text;

    const SplitText rename = SplitAtFirst(entry.pathPart, "|");
    entry.source = sourceFolder + FileNamePart(rename.before);
    entry.compressed = EndsWithCharacter(entry.source, '_');
    if (rename.found) {
        entry.destination = WithoutTrailingBackslash(FolderPart(rename.before)) + WithLeadingBackslash(rename.after);
    } else if (EndsWithCharacter(entry.pathPart, '_')) {
        entry.destination = WithoutTrailingBackslash(FolderPart(entry.pathPart)) + "\\" + ExpandedNamePlaceholder;
    } else {
        entry.destination = entry.pathPart;
    }
    return entry;
}

std::string MeasuredSourceName(const std::string& value)
{
    return FileNamePart(SplitAtFirst(SplitAtFirst(value, ",").before, "|").before);
}
