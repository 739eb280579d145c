// What a record may have the uninstall delete. A record is a file on the
// user's disk and its extra files come straight from the author's script, so
// a damaged record or a typo such as "(Win)\*.*" must not wipe the machine:
// a pattern is honoured only inside the setup folder or a folder the install
// made, a folder of the system or the user is never named for deletion, and
// a shortcut entry deletes shortcut files only. An entry that names one file
// anywhere stays allowed: the install put it there. Nothing is deleted by a
// pattern below a link (a junction, a symbolic link): what lies there is the
// folder the link leads to, not the install's.
#pragma once

#include "engine/ProtectedFolders.h"
#include "services/FailureReport.h"

#include <optional>
#include <string>
#include <vector>

class DeletionScope {
public:
    // `madeFolders`: the folders the record says the install made.
    DeletionScope(std::string setupFolder, std::vector<std::string> madeFolders, ProtectedFolders protectedFolders);

    // None when the file entry may be deleted; otherwise the reason it is
    // refused, for the failure report.
    std::optional<FailureReason> RefusalOfFile(const std::string& path) const;
    // The same for a shortcut entry, which must name a shortcut file.
    std::optional<FailureReason> RefusalOfShortcut(const std::string& path) const;
    // The same for a folder entry: none, or why it is left alone (a link).
    std::optional<FailureReason> RefusalOfFolder(const std::string& folder) const;
    // True for the setup folder and the folders below it, unless protected
    // or reached through a link: where the uninstall's own patterns
    // ("*.INI", "*.GID") may be used.
    bool InsideSetupFolder(const std::string& folder) const;

private:
    std::optional<FailureReason> RefusalOfPatternIn(const std::string& folder) const;

    std::string setupFolder_;
    std::vector<std::string> madeFolders_;
    ProtectedFolders protected_;
};
