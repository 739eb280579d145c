// The one-file package that `orvauthor package` writes and the package stub
// (tools/packagestub, ORVSTUB.EXE) unpacks: the stub's own bytes, then the
// payload, then a fixed-size trailer, and, once the package is signed, the
// Authenticode certificate table after up to 7 alignment bytes
// (PeSignature.h). Both sides include this header, so the layout, the
// checks and the CRC cannot drift apart. Portable: no system header.
//
// Every number is little-endian with a fixed width.
//
//   payload  = one record per file, back to back:
//     uint16  name length (1 to 255)
//     bytes   name: Shift-JIS, a plain file name (the package is flat)
//     uint64  data length
//     uint64  last-write time as a Windows FILETIME (UTC, 100 ns since
//             1601), 0 when unknown: the installer compares time stamps
//             before it overwrites, so the unpacked files keep the author's
//     uint32  CRC-32 of the data
//     bytes   data
//   trailer  = 60 bytes, the last of the package's content:
//     8 bytes "ORVPKG02"
//     uint64  offset of the payload from the start of the file
//     uint64  length of the payload
//     uint32  number of records
//     32 bytes SHA-256 of the whole payload
//
// The content ends at the file's end, or, when the stub's security
// directory names a certificate table, where that table starts (less the
// zero bytes that align it). A package is sound only when the trailer ends
// the content, offset + length is where the trailer starts, the payload's
// SHA-256 matches, the records fill the payload exactly and their count is
// the trailer's, and every name is a plain file name.
#pragma once

#include "packageformat/PeSignature.h"
#include "script/ShiftJis.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/DeviceNames.h"

namespace PackageFormat {

inline constexpr std::string_view kMagic = "ORVPKG02";
inline constexpr uint64_t kTrailerSize = 60;
inline constexpr size_t kDigestSize = 32;
inline constexpr size_t kMaxNameLength = 255;
// name length, data length, time, CRC
inline constexpr uint64_t kRecordHeaderSize = 2 + 8 + 8 + 4;

// CRC-32 as in zip and PNG (reflected polynomial 0xEDB88320), computed in
// pieces: Add() as the bytes come, Value() at the end.
class Crc32 {
public:
    void Add(const uint8_t* bytes, size_t count)
    {
        for (size_t i = 0; i < count; ++i) state_ = Table()[(state_ ^ bytes[i]) & 0xFFu] ^ (state_ >> 8);
    }
    uint32_t Value() const { return ~state_; }

private:
    static constexpr std::array<uint32_t, 256> MakeTable()
    {
        std::array<uint32_t, 256> table{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t value = n;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1u) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
            table[n] = value;
        }
        return table;
    }
    static const std::array<uint32_t, 256>& Table()
    {
        static constexpr std::array<uint32_t, 256> table = MakeTable();
        return table;
    }

    uint32_t state_ = 0xFFFFFFFFu;
};

inline uint32_t Crc32Of(const uint8_t* bytes, size_t count)
{
    Crc32 crc;
    crc.Add(bytes, count);
    return crc.Value();
}

// Little-endian numbers of `width` bytes.
inline uint64_t LoadLittleEndian(const uint8_t* bytes, int width)
{
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}
inline void AppendLittleEndian(std::vector<uint8_t>& out, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A plain file name the unpacking may create in its one folder: 1 to 255
// bytes of valid Shift-JIS, no control character, none of \ / : * ? " < > |
// at a character start (a trail byte may be 0x5C or 0x7C, as in "表"), no
// ".." and not ending in a blank or a dot, which Windows would drop; and no
// device name ("NUL", "CON.TXT", "COM1"), which opens the device instead of
// a file.
inline bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameLength || IsDeviceName(name)) return false;
    if (name.back() == ' ' || name.back() == '.') return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(byte)) {
            if (i + 1 == name.size()) return false;  // a lead byte without its trail byte
            const auto trail = static_cast<unsigned char>(name[++i]);
            if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) return false;
        if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(byte)) != std::string_view::npos) return false;
        if (byte == '.' && i + 1 < name.size() && name[i + 1] == '.') return false;
    }
    return true;
}

using Digest = std::array<uint8_t, kDigestSize>;

struct Trailer {
    uint64_t payloadOffset = 0;
    uint64_t payloadLength = 0;
    uint32_t fileCount = 0;
    Digest payloadSha256{};
};

inline std::vector<uint8_t> TrailerBytes(const Trailer& trailer)
{
    std::vector<uint8_t> out(kMagic.begin(), kMagic.end());
    AppendLittleEndian(out, trailer.payloadOffset, 8);
    AppendLittleEndian(out, trailer.payloadLength, 8);
    AppendLittleEndian(out, trailer.fileCount, 4);
    out.insert(out.end(), trailer.payloadSha256.begin(), trailer.payloadSha256.end());
    return out;
}

// The trailer that ends at `end`, when it has the magic text and its payload
// ends exactly where the trailer starts.
inline std::optional<Trailer> TrailerEndingAt(const uint8_t* file, uint64_t end)
{
    if (end < kTrailerSize) return std::nullopt;
    const uint8_t* at = file + (end - kTrailerSize);
    if (std::string_view(reinterpret_cast<const char*>(at), kMagic.size()) != kMagic) return std::nullopt;
    Trailer trailer;
    trailer.payloadOffset = LoadLittleEndian(at + 8, 8);
    trailer.payloadLength = LoadLittleEndian(at + 16, 8);
    trailer.fileCount = static_cast<uint32_t>(LoadLittleEndian(at + 24, 4));
    std::copy(at + 28, at + 28 + kDigestSize, trailer.payloadSha256.begin());
    const uint64_t before = end - kTrailerSize;
    if (trailer.payloadOffset > before || trailer.payloadLength != before - trailer.payloadOffset) return std::nullopt;
    return trailer;
}

// The trailer of the `fileSize` bytes of a whole package file, signed or
// not: at the very end of an unsigned file, else right before the
// certificate table or before the zero bytes that align it (the magic text
// cannot overlap itself within 7 bytes, so at most one place fits). Any
// other byte after the trailer makes a damaged package. The payload's
// SHA-256 is not checked here.
inline std::optional<Trailer> FindTrailer(const uint8_t* file, uint64_t fileSize)
{
    const auto layout = PeSignature::ReadLayout(file, fileSize);
    if (!layout || !layout->Signed()) return TrailerEndingAt(file, fileSize);
    const uint64_t end = layout->tableOffset;
    for (uint64_t padding = 0; padding <= PeSignature::kMaxAlignment && padding <= end; ++padding) {
        if (padding > 0 && file[end - padding] != 0) break;
        if (auto trailer = TrailerEndingAt(file, end - padding)) return trailer;
    }
    return std::nullopt;
}

// The fixed part of a record, written before its data.
inline void AppendRecordHeader(std::vector<uint8_t>& out, std::string_view name, uint64_t size, uint64_t writeTime,
                               uint32_t crc)
{
    AppendLittleEndian(out, name.size(), 2);
    out.insert(out.end(), name.begin(), name.end());
    AppendLittleEndian(out, size, 8);
    AppendLittleEndian(out, writeTime, 8);
    AppendLittleEndian(out, crc, 4);
}

// One record of a payload in memory; `data` points into the payload.
struct Record {
    std::string_view name;
    uint64_t size = 0;
    uint64_t writeTime = 0;
    uint32_t crc = 0;
    const uint8_t* data = nullptr;
};

// The records of a payload whose digest has been found right: nothing when a
// name is not plain, a size runs past the payload, the records do not fill
// it exactly, or their count is not `fileCount`. Each file's own CRC is
// checked by whoever writes it out.
inline std::optional<std::vector<Record>> ReadRecords(const uint8_t* payload, uint64_t length, uint32_t fileCount)
{
    std::vector<Record> records;
    uint64_t at = 0;
    while (at < length) {
        if (records.size() == fileCount || length - at < 2) return std::nullopt;
        const uint64_t nameLength = LoadLittleEndian(payload + at, 2);
        if (length - at < kRecordHeaderSize + nameLength) return std::nullopt;
        Record record;
        record.name = std::string_view(reinterpret_cast<const char*>(payload + at + 2), nameLength);
        const uint8_t* fields = payload + at + 2 + nameLength;
        record.size = LoadLittleEndian(fields, 8);
        record.writeTime = LoadLittleEndian(fields + 8, 8);
        record.crc = static_cast<uint32_t>(LoadLittleEndian(fields + 16, 4));
        at += kRecordHeaderSize + nameLength;
        if (!IsPlainFileName(record.name) || record.size > length - at) return std::nullopt;
        record.data = payload + at;
        at += record.size;
        records.push_back(record);
    }
    if (records.size() != fileCount) return std::nullopt;
    return records;
}

}  // namespace PackageFormat
