#include "PackageWriter.h"

#include "FileData.h"
#include "SystemText.h"
#include "packageformat/PackageFormat.h"
#include "packageformat/Sha256.h"

#include <fstream>

namespace {

// A file's last-write time as a Windows FILETIME: 100 ns units since 1601
// (UTC), which is 11644473600 s before the Unix epoch. (<chrono> itself
// does not build with -fexec-charset=CP932; <filesystem> brings the clocks.)
uint64_t FileTimeOf(const std::filesystem::path& file)
{
    std::error_code code;
    const auto written = std::filesystem::last_write_time(file, code);
    if (code) return 0;
    using Ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
    const auto sinceUnix =
        std::chrono::duration_cast<Ticks>(std::chrono::file_clock::to_sys(written).time_since_epoch()).count();
    const int64_t ticks = sinceUnix + 116444736000000000LL;
    return ticks > 0 ? static_cast<uint64_t>(ticks) : 0;
}

class PayloadStream {
public:
    explicit PayloadStream(std::ofstream& out) : out_(out) {}

    void Put(const std::vector<uint8_t>& bytes)
    {
        out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        digest_.Add(bytes.data(), bytes.size());
        length_ += bytes.size();
    }
    uint64_t Length() const { return length_; }
    PackageFormat::Digest Sha256Digest() { return digest_.Finish(); }

private:
    std::ofstream& out_;
    Sha256 digest_;
    uint64_t length_ = 0;
};

bool WriteRecords(const std::vector<PackedFile>& files, PayloadStream& payload, std::string& error)
{
    for (const auto& file : files) {
        std::vector<uint8_t> data;
        if (!ReadFileBytes(file.from, data, error)) return false;
        std::vector<uint8_t> header;
        PackageFormat::AppendRecordHeader(header, file.name, data.size(), FileTimeOf(file.from),
                                          PackageFormat::Crc32Of(data.data(), data.size()));
        payload.Put(header);
        payload.Put(data);
    }
    return true;
}

}  // namespace

bool WritePackage(const std::filesystem::path& stub, const std::vector<PackedFile>& files,
                  const std::filesystem::path& output, std::string& error)
{
    std::vector<uint8_t> stubBytes;
    if (!ReadFileBytes(stub, stubBytes, error)) return false;

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(stubBytes.data()), static_cast<std::streamsize>(stubBytes.size()));
    PayloadStream payload(out);
    if (!WriteRecords(files, payload, error)) return false;
    const PackageFormat::Trailer trailer{stubBytes.size(), payload.Length(), static_cast<uint32_t>(files.size()),
                                         payload.Sha256Digest()};
    const std::vector<uint8_t> trailerBytes = PackageFormat::TrailerBytes(trailer);
    out.write(reinterpret_cast<const char*>(trailerBytes.data()), static_cast<std::streamsize>(trailerBytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + DisplayPath(output);
        return false;
    }
    return true;
}
