// Links to folders as Wine makes them: a Unix symbolic link inside the
// prefix shows as a folder with the reparse-point attribute, as a junction
// or a folder symbolic link does on Windows (Wine's CreateSymbolicLinkW
// reports success and makes nothing). The host's own ln and rm make and
// remove them, started as the Unix programs they are.
#pragma once

#include <string>

// Makes `link` (a path whose folder exists) a link to the folder `target`;
// false when it could not.
bool MakeFolderLink(const std::string& link, const std::string& target);

// Removes the link itself, never what it leads to (a Windows deletion of a
// link under Wine takes the target instead); false when it could not.
bool RemoveFolderLink(const std::string& link);

// Removes `folder` with everything in it on the host (rm -r, which never
// follows a link): for a tree that holds links whose targets are gone.
bool RemoveHostTree(const std::string& folder);

// A link for as long as the object lives.
class FolderLink {
public:
    FolderLink(std::string link, const std::string& target) : link_(std::move(link)), made_(MakeFolderLink(link_, target)) {}
    ~FolderLink()
    {
        if (made_) RemoveFolderLink(link_);
    }
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;

    bool Made() const { return made_; }

private:
    std::string link_;
    bool made_;
};
