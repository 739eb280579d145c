// Where an Authenticode signature sits in a Windows program file (PE): the
// security entry of the optional header's data directory names a certificate
// table by file offset and size, and a signing tool appends that table to
// the end of the file, after up to 7 zero bytes that align it to 8. The
// signature covers every other byte except the header's checksum and the
// security entry itself, which the signing tool rewrites. Both the author
// tool (which checks what a signing command did) and the package stub
// (which finds its payload in front of the table) read the file through
// this header. Portable: no system header.
#pragma once

#include <cstdint>
#include <optional>

namespace PeSignature {

// Zero bytes a signing tool may put between the signed content and the
// certificate table, which starts on an 8-byte boundary.
inline constexpr uint64_t kMaxAlignment = 7;

struct Layout {
    uint64_t checksumOffset = 0;       // the optional header's CheckSum, 4 bytes
    uint64_t securityEntryOffset = 0;  // the security directory entry, 8 bytes
    uint64_t tableOffset = 0;          // the certificate table; 0 when unsigned
    uint64_t tableSize = 0;

    bool Signed() const { return tableOffset != 0; }
    // Where the signed content ends: the start of the table, or the file's
    // end when there is none. Alignment bytes before the table belong to
    // the content.
    uint64_t ContentEnd(uint64_t fileSize) const { return Signed() ? tableOffset : fileSize; }
};

namespace Detail {

inline uint64_t Little(const uint8_t* bytes, int width)
{
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace Detail

// The layout of the `size` bytes of `file`, or nothing when they are no PE
// file or name a certificate table that does not end exactly at the file's
// end (a table in the middle, or bytes appended after it): a signing tool
// never leaves either.
inline std::optional<Layout> ReadLayout(const uint8_t* file, uint64_t size)
{
    using Detail::Little;
    if (size < 0x40 || file[0] != 'M' || file[1] != 'Z') return std::nullopt;
    const uint64_t pe = Little(file + 0x3C, 4);
    if (pe > size || size - pe < 24) return std::nullopt;
    if (file[pe] != 'P' || file[pe + 1] != 'E' || file[pe + 2] != 0 || file[pe + 3] != 0) return std::nullopt;
    const uint64_t optionalSize = Little(file + pe + 20, 2);
    const uint64_t optional = pe + 24;
    if (size - optional < optionalSize || optionalSize < 2) return std::nullopt;
    // PE32 (0x10B) and PE32+ (0x20B) differ in where the directory starts.
    const uint64_t magic = Little(file + optional, 2);
    if (magic != 0x10B && magic != 0x20B) return std::nullopt;
    const uint64_t countOffset = magic == 0x10B ? 92 : 108;
    const uint64_t directory = optional + countOffset + 4;
    const uint64_t security = directory + 4 * 8;  // entry 4 of the data directory
    if (optionalSize < countOffset + 4 || Little(file + optional + countOffset, 4) <= 4 ||
        security + 8 > optional + optionalSize)
        return std::nullopt;
    Layout layout;
    layout.checksumOffset = optional + 64;
    layout.securityEntryOffset = security;
    layout.tableOffset = Little(file + security, 4);
    layout.tableSize = Little(file + security + 4, 4);
    if (layout.tableOffset == 0 && layout.tableSize == 0) return layout;
    if (layout.tableOffset == 0 || layout.tableOffset < security + 8 || layout.tableOffset > size ||
        layout.tableSize != size - layout.tableOffset || layout.tableSize < 8)
        return std::nullopt;
    return layout;
}

}  // namespace PeSignature
