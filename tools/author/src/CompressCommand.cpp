#include "Commands.h"

#include "CompressFile.h"
#include "SystemText.h"

#include <filesystem>

int RunCompress(const Arguments& arguments)
{
    if (IsHelpRequest(arguments)) {
        PrintUsage("compress");
        return kExitOk;
    }
    std::filesystem::path folder;
    std::vector<std::filesystem::path> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-d") {
            if (++i == arguments.size()) {
                PrintError("-d needs a folder");
                return kExitCannot;
            }
            folder = PathFromArgument(arguments[i]);
        } else {
            files.push_back(PathFromArgument(arguments[i]));
        }
    }
    if (files.empty()) {
        PrintUsage("compress");
        return kExitCannot;
    }
    std::error_code code;
    if (!folder.empty() && !std::filesystem::is_directory(folder, code)) {
        PrintError(DisplayPath(folder) + " is not a folder");
        return kExitCannot;
    }
    int status = kExitOk;
    for (const auto& file : files) {
        std::filesystem::path written;
        std::string error;
        if (CompressBesideOrInto(file, folder, written, error)) {
            WriteLine(stdout, DisplayPath(file) + " -> " + DisplayPath(written));
        } else {
            PrintError(error);
            status = kExitFailed;
        }
    }
    return status;
}
