#include "Commands.h"

#include "Distribution.h"
#include "Layout.h"
#include "ScriptFile.h"
#include "SystemText.h"

#ifndef ORVANE_SETUP_EXE
#define ORVANE_SETUP_EXE ""
#endif

int RunLayout(const Arguments& arguments)
{
    if (IsHelpRequest(arguments)) {
        PrintUsage("layout");
        return kExitOk;
    }
    LayoutRequest request;
    request.setupExe = ORVANE_SETUP_EXE;
    std::vector<std::filesystem::path> folders;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--setup-exe") {
            if (++i == arguments.size()) {
                PrintError("--setup-exe needs a file");
                return kExitCannot;
            }
            request.setupExe = PathFromArgument(arguments[i]);
        } else {
            folders.push_back(PathFromArgument(arguments[i]));
        }
    }
    if (folders.size() != 2) {
        PrintUsage("layout");
        return kExitCannot;
    }
    request.sourceFolder = folders[0];
    request.destination = folders[1];
    request.script = FindEntry(request.sourceFolder, "SETUP.INI").value_or(request.sourceFolder / "SETUP.INI");

    std::string error;
    const auto script = LoadScript(request.script, error);
    if (!script) {
        PrintError(error);
        return kExitCannot;
    }
    const LayoutPlan plan = PlanLayout(*script, request);
    for (const auto& warning : plan.warnings) PrintError("warning: " + warning);
    if (!plan.problems.empty()) {
        for (const auto& problem : plan.problems) PrintError(problem);
        PrintError("nothing was written");
        return kExitFailed;
    }
    std::vector<std::string> made;
    const bool done = CarryOutLayout(plan, request.destination, made, error);
    for (const auto& file : made) WriteLine(stdout, file);
    if (!done) {
        PrintError(error);
        return kExitFailed;
    }
    return kExitOk;
}
