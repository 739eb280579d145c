#include "support/Corpus.h"

#include <algorithm>
#include <array>

namespace {

// xorshift64*: small, fast and the same on every system.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 2685821657736338717ull;
    }
    uint32_t Below(uint32_t limit) { return static_cast<uint32_t>(Next() % limit); }

private:
    uint64_t state_;
};

void AppendText(std::vector<uint8_t>& out, size_t size, Random& random)
{
    static const std::array<const char*, 24> words = {
        "setup", "install", "the", "folder", "file", "of", "and", "registry", "value", "to", "program", "a",
        "shortcut", "copy", "disk", "window", "is", "uninstall", "user", "in", "for", "with", "readme", "option"};
    // Shift-JIS lines too, with the trail bytes 0x5C and 0x7C.
    static const std::array<const char*, 4> japanese = {"\x83\x5C\x83\x74\x83\x67", "\x95\x5C\x8E\xA6",
                                                        "\x83\x7C\x81\x5B\x83\x67", "\x83\x5A\x83\x62\x83\x67"};
    while (out.size() < size) {
        // Indented lines let the data refer to the blanks the window starts with.
        out.insert(out.end(), random.Below(4) == 0 ? 8 : 0, ' ');
        const uint32_t count = 4 + random.Below(14);
        for (uint32_t i = 0; i < count; ++i) {
            const char* word = random.Below(9) == 0 ? japanese[random.Below(4)] : words[random.Below(24)];
            for (const char* c = word; *c; ++c) out.push_back(static_cast<uint8_t>(*c));
            out.push_back(' ');
        }
        out.push_back('\r');
        out.push_back('\n');
    }
    out.resize(size);
}

// Looks like a program file: zero padding, tables of growing 32-bit
// numbers, small opcodes and embedded names.
void AppendBinary(std::vector<uint8_t>& out, size_t size, Random& random)
{
    const size_t end = out.size() + size;
    uint32_t address = 0x401000;
    while (out.size() < end) {
        switch (random.Below(4)) {
        case 0: out.insert(out.end(), random.Below(64), 0); break;
        case 1:
            for (uint32_t i = 0, n = random.Below(32); i < n; ++i) {
                address += 4 + random.Below(64);
                for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(address >> shift));
            }
            break;
        case 2:
            for (uint32_t i = 0, n = random.Below(128); i < n; ++i) out.push_back(static_cast<uint8_t>(0x40 + random.Below(24)));
            break;
        default:
            for (const char* c = "KERNEL32.dll\0GetProcAddress\0"; *c; ++c) out.push_back(static_cast<uint8_t>(*c));
            out.push_back(0);
        }
    }
    out.resize(end);
}

void AppendRepetitive(std::vector<uint8_t>& out, size_t size)
{
    const size_t end = out.size() + size;
    const std::string pattern = "ABCDABCDABCE";
    while (out.size() < end) {
        out.insert(out.end(), 5000, 0);
        for (int i = 0; i < 400; ++i) out.insert(out.end(), pattern.begin(), pattern.end());
        out.insert(out.end(), 3000, ' ');
        out.insert(out.end(), 7, 0xFF);
    }
    out.resize(end);
}

void AppendRandom(std::vector<uint8_t>& out, size_t size, Random& random)
{
    for (size_t i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(random.Next() >> 56));
}

std::vector<uint8_t> Mixture(size_t size)
{
    Random random(7);
    std::vector<uint8_t> out;
    out.reserve(size);
    while (out.size() < size) {
        const size_t left = size - out.size();
        const size_t part = std::min<size_t>(left, 16384 + random.Below(200000));
        switch (random.Below(4)) {
        case 0: AppendText(out, out.size() + part, random); break;
        case 1: AppendBinary(out, part, random); break;
        case 2: AppendRepetitive(out, part); break;
        default: AppendRandom(out, part, random);
        }
    }
    return out;
}

}  // namespace

std::vector<CorpusFile> MakeCorpus()
{
    std::vector<CorpusFile> corpus;
    corpus.push_back({"EMPTY.DAT", {}});
    corpus.push_back({"ONE.DAT", {'A'}});
    Random random(1);
    std::vector<uint8_t> text;
    AppendText(text, 300000, random);
    corpus.push_back({"TEXT.TXT", text});
    std::vector<uint8_t> binary;
    AppendBinary(binary, 300000, random);
    corpus.push_back({"BINARY.EXE", binary});
    std::vector<uint8_t> repetitive;
    AppendRepetitive(repetitive, 1 << 20);
    corpus.push_back({"REPEAT.DAT", repetitive});
    std::vector<uint8_t> noise;
    AppendRandom(noise, 300000, random);
    corpus.push_back({"RANDOM.DAT", noise});
    corpus.push_back({"LARGE.DAT", Mixture(10 << 20)});
    return corpus;
}
