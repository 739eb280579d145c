#include "text/PathParts.h"

#include "text/MBUtils.h"

// 0-based index of the last separator, or npos.
static size_t LastSeparator(const std::string& path)
{
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '\\' || byte == ':') {
            last = i;
        }
    }
    return last;
}

std::string FolderPart(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNamePart(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ChangeExtension(const std::string& path, const std::string& extension)
{
    const std::string folder = FolderPart(path);
    const std::string name = path.substr(folder.size());
    size_t dot = std::string::npos;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '.') {
            dot = i;
        }
    }
    return folder + name.substr(0, dot) + "." + extension;
}
