#include "packageformat/Sha256.h"

#include "script/HexText.h"

#include <algorithm>
#include <cstring>

namespace {

// The first 32 bits of the fractional parts of the square roots of the
// first eight primes (initial state) and of the cube roots of the first 64
// primes (round constants).
constexpr std::array<uint32_t, 8> kInitialState = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19,
};

constexpr std::array<uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

uint32_t RotateRight(uint32_t value, int bits)
{
    return (value >> bits) | (value << (32 - bits));
}

uint32_t BigEndianWord(const uint8_t* bytes)
{
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
}

// The 64 words of the message schedule of one block.
std::array<uint32_t, 64> Schedule(const uint8_t* block)
{
    std::array<uint32_t, 64> words{};
    for (int i = 0; i < 16; ++i) words[i] = BigEndianWord(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        const uint32_t s0 = RotateRight(words[i - 15], 7) ^ RotateRight(words[i - 15], 18) ^ (words[i - 15] >> 3);
        const uint32_t s1 = RotateRight(words[i - 2], 17) ^ RotateRight(words[i - 2], 19) ^ (words[i - 2] >> 10);
        words[i] = words[i - 16] + s0 + words[i - 7] + s1;
    }
    return words;
}

}  // namespace

Sha256::Sha256() : state_(kInitialState), block_{} {}

void Sha256::Compress(const uint8_t* block)
{
    const std::array<uint32_t, 64> words = Schedule(block);
    std::array<uint32_t, 8> v = state_;  // a, b, c, d, e, f, g, h
    for (int i = 0; i < 64; ++i) {
        const uint32_t s1 = RotateRight(v[4], 6) ^ RotateRight(v[4], 11) ^ RotateRight(v[4], 25);
        const uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
        const uint32_t t1 = v[7] + s1 + choice + kRoundConstants[i] + words[i];
        const uint32_t s0 = RotateRight(v[0], 2) ^ RotateRight(v[0], 13) ^ RotateRight(v[0], 22);
        const uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        const uint32_t t2 = s0 + majority;
        v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
    }
    for (int i = 0; i < 8; ++i) state_[i] += v[i];
}

void Sha256::Add(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    totalBytes_ += size;
    while (size > 0) {
        const size_t take = std::min(size, block_.size() - blockUsed_);
        std::memcpy(block_.data() + blockUsed_, bytes, take);
        blockUsed_ += take;
        bytes += take;
        size -= take;
        if (blockUsed_ == block_.size()) {
            Compress(block_.data());
            blockUsed_ = 0;
        }
    }
}

std::array<uint8_t, 32> Sha256::Finish()
{
    // The message ends with one 1 bit, zeros up to 8 bytes short of a block
    // boundary, and its length in bits as a big-endian 64-bit number.
    const uint64_t bitLength = totalBytes_ * 8;
    const uint8_t mark = 0x80;
    Add(&mark, 1);
    const uint8_t zero = 0;
    while (blockUsed_ != 56) Add(&zero, 1);
    uint8_t length[8];
    for (int i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(bitLength >> (56 - 8 * i));
    Add(length, sizeof length);
    std::array<uint8_t, 32> digest{};
    for (size_t i = 0; i < digest.size(); ++i) digest[i] = static_cast<uint8_t>(state_[i / 4] >> (24 - 8 * (i % 4)));
    *this = Sha256();
    return digest;
}

std::string Sha256::FinishHex()
{
    const std::array<uint8_t, 32> digest = Finish();
    return HexText(digest.data(), digest.size());
}

std::string Sha256Hex(std::string_view bytes)
{
    Sha256 digest;
    digest.Add(bytes);
    return digest.FinishHex();
}
