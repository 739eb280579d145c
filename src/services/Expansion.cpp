#include "services/Expansion.h"

#include "services/Deletion.h"
#include "services/FileOps.h"
#include "services/Win32Files.h"
#include "services/Win32Lz.h"
#include "text/PathParts.h"
#include "text/StrOp.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// What the header of a compressed file says: "SZDD" 88 F0 27 33, the
// method 'A', the stored last character of the name, and the expanded length
// (32 bits, little-endian).
struct LzHeader {
    bool compressed = false;  // the file starts with the signature
    bool complete = false;    // and holds the whole 14-byte header
    bool empty = true;        // the file holds no byte (or cannot be read)
    uint32_t length = 0;
};

LzHeader ReadLzHeader(const std::string& path)
{
    static constexpr unsigned char signature[] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    constexpr DWORD headerSize = 14;
    LzHeader header;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return header;
    unsigned char bytes[headerSize] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes, headerSize, &read, nullptr)) return header;
    header.empty = read == 0;
    header.compressed = read >= sizeof signature && std::memcmp(bytes, signature, sizeof signature) == 0;
    header.complete = header.compressed && read == headerSize;
    if (header.complete)
        header.length = bytes[10] | (bytes[11] << 8) | (bytes[12] << 16) | (static_cast<uint32_t>(bytes[13]) << 24);
    return header;
}

// The name the system gives the expanded file: the one stored in the header,
// or the source's own name when it is not compressed; possibly empty when
// the system cannot tell.
std::string ExpandedName(const std::string& source)
{
    // The system writes up to the length of the source name; a fixed buffer
    // would overflow on a long path.
    std::vector<char> input(source.begin(), source.end());
    input.push_back('\0');
    std::vector<char> output(std::max<size_t>(256, input.size() + 1), '\0');
    GetExpandedNameA(input.data(), output.data());
    return output.data();
}

std::string ResolvePlaceholder(const std::string& source, const std::string& destination)
{
    if (FileNamePart(destination) != ExpandedNamePlaceholder) return destination;
    const std::string storedName = WithLeadingBackslash(MapText(FileNamePart(ExpandedName(source)), LCMAP_UPPERCASE));
    return WithoutTrailingBackslash(FolderPart(destination)) + storedName;
}

// Expands into `temporary`; false when nothing usable came out.
bool Expand(const std::string& source, const std::string& temporary)
{
    const LzHeader header = ReadLzHeader(source);
    // An empty file is no compressed file: nothing was ever stored in it.
    if (header.empty) return false;
    LzFile input = OpenLzFile(source, OF_READ | OF_SHARE_EXCLUSIVE);
    if (!input) return false;
    LzFile output = OpenLzFile(temporary, OF_CREATE);
    if (!output) return false;
    const LONG copied = LZCopy(input.Get(), output.Get());
    input.Reset();
    output.Reset();
    // LZ32 never refuses a damaged file: a truncated one expands to a short
    // count without an error, a corrupted one to whatever its bytes make.
    if (copied < 0) return false;
    if (header.compressed && (!header.complete || static_cast<uint32_t>(copied) != header.length)) return false;
    return true;
}

}  // namespace

ExpandedFile ExpandToTemp(const std::string& source, const std::string& destination, const std::string& temporaryFolder)
{
    const std::string resolved = ResolvePlaceholder(source, destination);
    const std::string temporary = temporaryFolder + "EXPAND.OVX";
    if (FileExists(temporary)) DeleteFiles(temporary);
    // A broken expansion must not pass for a good one at the copy.
    const bool expanded = Expand(source, temporary);
    if (!expanded && FileExists(temporary)) DeleteFiles(temporary);
    return {temporary, resolved, !expanded};
}
