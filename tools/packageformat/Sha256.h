// SHA-256 (FIPS 180-4) of bytes and of files, as package managers name the
// installer they download: 64 upper-case hexadecimal digits. Our own code, so
// that both forms of the tool build without a crypto library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A digest fed piece by piece, so that a large file never has to be in
// memory at once.
class Sha256 {
public:
    Sha256();

    void Add(const void* data, size_t size);
    void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }
    // The digest of everything added, as 32 bytes or as hexadecimal digits;
    // the object starts over afterwards.
    std::array<uint8_t, 32> Finish();
    std::string FinishHex();

private:
    void Compress(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> block_;
    size_t blockUsed_ = 0;
    uint64_t totalBytes_ = 0;
};

std::string Sha256Hex(std::string_view bytes);
