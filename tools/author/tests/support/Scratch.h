// Temporary folders and files for the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A new empty folder under the system's temporary folder, removed with
// everything in it when the test ends.
class Scratch {
public:
    explicit Scratch(const std::string& purpose);
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> BytesOf(const std::string& text);
void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);
void WriteText(const std::filesystem::path& file, const std::string& text);
std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);

// A file or folder whose name is Shift-JIS `name`, under `folder`.
std::filesystem::path Named(const std::filesystem::path& folder, const std::string& name);
