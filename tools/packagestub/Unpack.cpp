#include "Unpack.h"

#include "WideText.h"
#include "services/Win32Files.h"

#include <windows.h>

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

}  // namespace

UnpackResult UnpackRecords(const std::vector<PackageFormat::Record>& records, const std::wstring& folder)
{
    for (const auto& record : records) {
        const std::wstring name = WideFromCp932(record.name);
        if (name.empty()) return UnpackResult::Damaged;
        const UnpackResult result = WriteRecord(record, folder + name);
        if (result != UnpackResult::Done) return result;
    }
    return UnpackResult::Done;
}
