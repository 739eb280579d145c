// orvauthor: compress files, check a setup script, lay out a distribution,
// package it as one self-extracting file.
#include "Commands.h"

int main(int argc, char** argv)
{
    const Arguments all(argv + 1, argv + argc);
    if (all.empty()) {
        PrintUsage("");
        return kExitCannot;
    }
    const std::string command = all[0];
    const Arguments rest(all.begin() + 1, all.end());
    if (command == "compress") return RunCompress(rest);
    if (command == "check") return RunCheck(rest);
    if (command == "layout") return RunLayout(rest);
    if (command == "package") return RunPackage(rest);
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(rest.empty() ? "" : rest[0]);
        return kExitOk;
    }
    PrintError("unknown command \"" + command + "\" (try orvauthor --help)");
    return kExitCannot;
}
