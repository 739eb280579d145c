#include "Unpack.h"

#include "WideText.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// Pieces small enough for WriteFile's 32-bit count.
constexpr uint64_t kChunk = 1u << 20;

UnpackResult WriteRecord(const PackageFormat::Record& record, const std::wstring& path)
{
    // CREATE_NEW: a second record of the same name is a damaged package,
    // never a silent overwrite.
    const FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError() == ERROR_FILE_EXISTS ? UnpackResult::Damaged : UnpackResult::CannotWrite;
    PackageFormat::Crc32 crc;
    for (uint64_t at = 0; at < record.size; at += kChunk) {
        const DWORD count = static_cast<DWORD>(record.size - at < kChunk ? record.size - at : kChunk);
        crc.Add(record.data + at, count);
        DWORD written = 0;
        if (!WriteFile(file.Get(), record.data + at, count, &written, nullptr) || written != count)
            return UnpackResult::CannotWrite;
    }
    if (crc.Value() != record.crc) return UnpackResult::Damaged;
    if (record.writeTime != 0) {
        FILETIME time{static_cast<DWORD>(record.writeTime), static_cast<DWORD>(record.writeTime >> 32)};
        SetFileTime(file.Get(), nullptr, nullptr, &time);
    }
    return UnpackResult::Done;
}

// True when `file`, read from its start, holds exactly the record's bytes.
bool HoldsRecord(const FileHandle& file, const PackageFormat::Record& record)
{
    std::vector<uint8_t> piece(static_cast<size_t>(kChunk));
    uint64_t at = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr)) return false;
        if (read == 0) return at == record.size;
        if (read > record.size - at || std::memcmp(piece.data(), record.data + at, read) != 0) return false;
        at += read;
    }
}

// The written file opened again for reading, sharing only reading. Between
// the two opens another program of the user could have opened it: if it
// still holds it for writing, this open fails; if it changed it and let go,
// the read-back finds the change.
UnpackResult HoldWritten(const PackageFormat::Record& record, const std::wstring& path, HeldFiles& held)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !HoldsRecord(file, record)) return UnpackResult::CannotWrite;
    held.push_back(std::move(file));
    return UnpackResult::Done;
}

}  // namespace

UnpackResult UnpackRecords(const std::vector<PackageFormat::Record>& records, const std::wstring& folder,
                           HeldFiles& held)
{
    for (const auto& record : records) {
        const std::wstring name = WideFromCp932(record.name);
        if (name.empty()) return UnpackResult::Damaged;
        UnpackResult result = WriteRecord(record, folder + name);
        if (result == UnpackResult::Done) result = HoldWritten(record, folder + name, held);
        if (result != UnpackResult::Done) return result;
    }
    return UnpackResult::Done;
}
