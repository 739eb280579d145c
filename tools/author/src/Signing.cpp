#include "Signing.h"

#include "FileData.h"
#include "SignatureCheck.h"
#include "SystemCommand.h"
#include "SystemText.h"
#include "script/ScopeExit.h"

namespace {

constexpr std::string_view kFile = "{file}";
constexpr std::string_view kSigned = "{signed}";

std::string Replaced(std::string text, std::string_view placeholder, const std::string& value)
{
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

}  // namespace

std::string SigningCommandProblem(const std::string& command)
{
    if (command.find(kFile) == std::string::npos)
        return "the signing command names no {file}, which stands for the file to sign";
    return "";
}

bool SignFile(const std::string& command, const std::filesystem::path& file, std::string& error)
{
    std::vector<uint8_t> before;
    if (!ReadFileBytes(file, before, error)) return false;
    std::filesystem::path signedCopy = file;
    signedCopy += ".signed";
    std::error_code ignored;
    std::filesystem::remove(signedCopy, ignored);
    ScopeExit removeSignedCopy([&] { std::filesystem::remove(signedCopy, ignored); });

    const bool writesCopy = command.find(kSigned) != std::string::npos;
    const std::string commandLine =
        Replaced(Replaced(command, kFile, QuotedForCommand(file)), kSigned, QuotedForCommand(signedCopy));
    const std::string name = DisplayPath(file.filename());
    const int status = RunCommand(commandLine);
    if (status != 0) {
        error = "the signing command failed on " + name + " (exit status " + std::to_string(status) + ")";
        return false;
    }
    if (writesCopy && !std::filesystem::is_regular_file(signedCopy, ignored)) {
        error = "the signing command wrote no signed " + name + " to {signed}";
        return false;
    }
    std::vector<uint8_t> after;
    if (!ReadFileBytes(writesCopy ? signedCopy : file, after, error)) return false;
    if (const std::string problem = AppendedSignatureProblem(before, after); !problem.empty()) {
        error = "the signing command left " + name + " unusable: it " + problem;
        return false;
    }
    if (writesCopy) return WriteFileBytes(file, after, error);
    return true;
}
