// The groups of rules behind CheckScript, one file each.
#pragma once

#include "Distribution.h"
#include "ScriptCheck.h"
#include "script/SetupScript.h"

#include <string>
#include <vector>

using Findings = std::vector<Finding>;

// Duplicate sections and keys, gaps in numbered lists.
void CheckStructure(const SetupScript& script, Findings& findings);
// [CopyFile]: disk-change marks, sources, compressed files.
void CheckCopyFiles(const SetupScript& script, const Distribution& distribution, Findings& findings);
// [ShortCut] names and the check boxes that govern them.
void CheckShortCuts(const SetupScript& script, Findings& findings);
// Root and type tokens of [Registry], [DeleteRegistry] and ReferRegistry.
void CheckRegistry(const SetupScript& script, Findings& findings);
// [Relate] pairs, [ExecuteFile], SetupSpeed and the readme.
void CheckOtherSections(const SetupScript& script, const Distribution& distribution, Findings& findings);
// Parenthesised words that are no location token, in every expanded value.
void CheckUnknownTokens(const SetupScript& script, Findings& findings);
// [Product]: a version package managers can compare, a web address, an icon
// number, a license and description winget takes, no unknown key.
void CheckProduct(const SetupScript& script, Findings& findings);
