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

std::string DrivePart(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0])))
        return path.substr(0, 2);
    if (path.rfind("\\\\", 0) != 0) return {};
    // The server, then the share: the drive ends before the backslash that
    // follows the share's name, or with the path.
    size_t separators = 0;
    for (size_t i = 2; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '\\' && ++separators == 2) {
            return path.substr(0, i);
        }
    }
    return path;
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
