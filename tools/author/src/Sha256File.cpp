#include "Sha256File.h"

#include "packageformat/Sha256.h"

#include "SystemText.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

std::optional<std::string> FileSha256Hex(const std::filesystem::path& file, std::string& error)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) {
        // A folder opens as a stream that simply ends at once on some systems.
        error = "cannot read " + DisplayPath(file) + ": it is a folder";
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    Sha256 digest;
    std::vector<char> piece(1 << 16);
    while (in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        digest.Add(piece.data(), static_cast<size_t>(in.gcount()));
    }
    if (!in.eof() || in.bad()) {
        const int code = errno;
        error = "cannot read " + DisplayPath(file);
        if (code != 0) error += std::string(": ") + std::strerror(code);
        return std::nullopt;
    }
    return digest.FinishHex();
}
