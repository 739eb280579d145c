// The four sub-commands of orvauthor and the help text. Each takes its
// own arguments and returns the process exit status.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int RunCompress(const Arguments& arguments);
int RunCheck(const Arguments& arguments);
int RunLayout(const Arguments& arguments);
int RunPackage(const Arguments& arguments);

// Exit statuses shared by the commands.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;    // check: findings; compress, layout, package: not done
constexpr int kExitCannot = 2;    // a script that cannot be read, or wrong arguments

void PrintUsage(const std::string& command);
// An error message on the error stream, prefixed with the program's name.
void PrintError(const std::string& text);
bool IsHelpRequest(const Arguments& arguments);
