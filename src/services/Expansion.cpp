#include "services/Expansion.h"

#include "script/CopyFileSection.h"
#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "services/Deletion.h"
#include "services/FileOps.h"
#include "services/Win32Files.h"
#include "services/Win32Lz.h"
#include "text/MapText.h"

#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstring>

namespace {

// What the header of a compressed file says: "SZDD" 88 F0 27 33, the
// method 'A', the stored last character of the name, and the expanded length
// (32 bits, little-endian).
struct LzHeader {
    bool compressed = false;  // the file starts with the signature
    bool complete = false;    // and holds the whole 14-byte header
    bool empty = true;        // the file holds no byte (or cannot be read)
    char method = 0;          // 'A' for the one method the library knows
    char lastCharacter = 0;   // the last character of the original name
    uint32_t length = 0;
};

LzHeader ReadLzHeader(const std::string& path)
{
    static constexpr unsigned char signature[] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    constexpr DWORD headerSize = 14;
    LzHeader header;
    const FileHandle file = OpenFileHandle(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) return header;
    unsigned char bytes[headerSize] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes, headerSize, &read, nullptr)) return header;
    header.empty = read == 0;
    header.compressed = read >= sizeof signature && std::memcmp(bytes, signature, sizeof signature) == 0;
    header.complete = header.compressed && read == headerSize;
    if (header.complete) {
        header.method = static_cast<char>(bytes[8]);
        header.lastCharacter = static_cast<char>(bytes[9]);
    }
    if (header.complete)
        header.length = bytes[10] | (bytes[11] << 8) | (bytes[12] << 16) | (static_cast<uint32_t>(bytes[13]) << 24);
    return header;
}

// The file name of the expanded file, as the library's GetExpandedName makes
// it: the source's own name when it is no complete compressed file of the
// known method; else a name whose extension ends in "_" takes the stored
// last character instead (none stored: the "_" goes), in the case of the
// name's last letter, and a name that ends in its first "." loses it. Made
// here from the header, because the library's call goes through the
// system's ANSI code page and cannot open a Japanese name on other systems.
std::string ExpandedName(const std::string& source, const LzHeader& header)
{
    std::string name = FileNamePart(source);
    if (!header.complete || header.method != 'A') return name;
    // The character starts of the name: "." and "_" may be second bytes.
    size_t firstDot = std::string::npos;
    size_t lastStart = std::string::npos;
    bool lowerCase = true;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(name[i]);
        lastStart = i;
        if (IsLeadByte(byte)) {
            ++i;
            continue;
        }
        if (byte == '.' && firstDot == std::string::npos) firstDot = i;
        if (std::isalpha(byte) != 0) lowerCase = std::islower(byte) != 0;
    }
    if (firstDot == std::string::npos) return name;
    if (firstDot + 1 == name.size()) return name.substr(0, firstDot);
    if (name[lastStart] != '_' || lastStart + 1 != name.size()) return name;
    const unsigned char stored = static_cast<unsigned char>(header.lastCharacter);
    if (stored == 0) return name.substr(0, lastStart);
    const int cased = std::isalpha(stored) == 0 ? stored : lowerCase ? std::tolower(stored) : std::toupper(stored);
    name[lastStart] = static_cast<char>(cased);
    return name;
}

std::string ResolvePlaceholder(const std::string& source, const std::string& destination)
{
    if (FileNamePart(destination) != ExpandedNamePlaceholder) return destination;
    const std::string storedName =
        WithLeadingBackslash(MapText(ExpandedName(source, ReadLzHeader(source)), LCMAP_UPPERCASE));
    return WithoutTrailingBackslash(FolderPart(destination)) + storedName;
}

// Expands into `temporary`; false when nothing usable came out.
bool Expand(const std::string& source, const std::string& temporary)
{
    const LzHeader header = ReadLzHeader(source);
    // An empty file is no compressed file: nothing was ever stored in it.
    if (header.empty) return false;
    LzFile input = OpenLzInput(source);
    if (!input) return false;
    FileHandle output = OpenFileHandle(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (!output) return false;
    const LONG copied = LZCopy(input.Get(), AsLzHandle(output));
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
