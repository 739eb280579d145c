#include "ScriptCheck.h"

#include "CheckRules.h"

std::vector<Finding> CheckScript(const SetupScript& script, const Distribution& distribution)
{
    Findings findings;
    CheckStructure(script, findings);
    CheckCopyFiles(script, distribution, findings);
    CheckShortCuts(script, findings);
    CheckRegistry(script, findings);
    CheckOtherSections(script, distribution, findings);
    CheckUnknownTokens(script, findings);
    CheckProduct(script, findings);
    return findings;
}

std::string FormatFinding(const Finding& finding)
{
    std::string line = "[" + finding.section + "]";
    if (!finding.key.empty()) line += " " + finding.key;
    return line + ": " + finding.explanation;
}
