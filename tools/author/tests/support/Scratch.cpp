#include "support/Scratch.h"

#include "SystemText.h"

#include <atomic>
#include <random>
#include <fstream>
#include <stdexcept>

Scratch::Scratch(const std::string& purpose)
{
    static std::atomic<int> counter{0};
    // (<chrono> cannot be compiled with the Shift-JIS execution character set.)
    static const unsigned stamp = std::random_device{}();
    path_ = std::filesystem::temp_directory_path() /
            ("orvauthor-" + purpose + "-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
}

Scratch::~Scratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<uint8_t> BytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write a test file");
}

void WriteText(const std::filesystem::path& file, const std::string& text)
{
    WriteBytes(file, BytesOf(text));
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path Named(const std::filesystem::path& folder, const std::string& name)
{
    const auto systemName = SystemNameFromCp932(name);
    if (!systemName) throw std::runtime_error("a test name is not Shift-JIS");
    return folder / *systemName;
}
