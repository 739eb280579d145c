#include "FileData.h"

#include "LzFormat.h"
#include "SystemText.h"
#include "script/ScopeExit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

std::string Failure(const char* what, const std::filesystem::path& file)
{
    const int code = errno;
    std::string text = std::string("cannot ") + what + " " + DisplayPath(file);
    if (code != 0) text += std::string(": ") + std::strerror(code);
    return text;
}

}  // namespace

bool ReadFileBytes(const std::filesystem::path& file, std::vector<uint8_t>& bytes, std::string& error)
{
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = Failure("read", file);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = Failure("read", file);
        return false;
    }
    return true;
}

bool WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes, std::string& error)
{
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) {
        error = Failure("write", file);
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return false;
    }
    return true;
}

bool CopyWithTimeStamp(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error)
{
    std::error_code code;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, code);
    if (!code) std::filesystem::last_write_time(to, std::filesystem::last_write_time(from, code), code);
    if (code) {
        error = "cannot copy " + DisplayPath(from) + " to " + DisplayPath(to) + ": " + code.message();
        return false;
    }
    return true;
}

bool PlaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error)
{
    std::filesystem::path partial = to;
    partial += ".partial";
    ScopeExit removePartial([&] {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
    });
    std::error_code code;
    std::filesystem::copy_file(from, partial, std::filesystem::copy_options::overwrite_existing, code);
    if (code) {
        error = "cannot write " + DisplayPath(partial) + ": " + code.message();
        return false;
    }
    std::filesystem::rename(partial, to, code);
    if (code) {
        error = "cannot rename " + DisplayPath(partial) + " to " + DisplayPath(to) + ": " + code.message();
        return false;
    }
    removePartial.Release();
    return true;
}

std::optional<unsigned char> StoredLastChar(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    char head[lz::kHeaderSize] = {};
    if (!in.read(head, sizeof head)) return std::nullopt;
    if (!std::equal(std::begin(lz::kMagic), std::end(lz::kMagic), head,
                    [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
        return std::nullopt;
    return static_cast<unsigned char>(head[sizeof lz::kMagic + 1]);
}
