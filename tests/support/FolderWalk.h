// A walk over a folder tree, for the tests that take stock of a whole drive.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// What the walk hands on: the path (a folder's with its trailing backslash)
// and what the system found there. True to walk into a folder.
using FolderVisit = std::function<bool(const std::wstring& path, const WIN32_FIND_DATAW& data)>;

// Visits `folder` (with its trailing backslash; its data hold only the
// folder attribute) and then, depth first, every file and folder below it
// down to `deepest` levels, as far as `visit` lets it in.
void WalkFolderTree(const std::wstring& folder, int deepest, const FolderVisit& visit);
