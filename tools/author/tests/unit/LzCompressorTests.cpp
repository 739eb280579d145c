// The compressor against the independent expander: the output must expand
// to the input, byte for byte, in every corner of the format.
#include <doctest/doctest.h>

#include "LzCompressor.h"
#include "LzFormat.h"
#include "support/Expander.h"
#include "support/Scratch.h"

#include <string>

namespace {

std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& data)
{
    Scratch scratch("lz");
    const auto file = scratch / "DATA.BI_";
    WriteBytes(file, CompressLz(data, 'N'));
    return ExpandIndependently(file).value_or(std::vector<uint8_t>{0xEE});
}

std::vector<uint8_t> Noise(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (auto& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

// `block` over and over, `size` bytes in all.
std::vector<uint8_t> Repeated(const std::vector<uint8_t>& block, size_t size)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    while (bytes.size() < size) bytes.push_back(block[bytes.size() % block.size()]);
    return bytes;
}

}  // namespace

TEST_CASE("The header names the format, the stored character and the length")
{
    const auto out = CompressLz(BytesOf("hello, hello, hello"), 'T');
    REQUIRE(out.size() > static_cast<size_t>(lz::kHeaderSize));
    CHECK(std::string(out.begin(), out.begin() + 4) == "SZDD");
    CHECK(out[4] == 0x88);
    CHECK(out[5] == 0xF0);
    CHECK(out[6] == 0x27);
    CHECK(out[7] == 0x33);
    CHECK(out[8] == 'A');
    CHECK(out[9] == 'T');
    CHECK((out[10] | out[11] << 8 | out[12] << 16 | out[13] << 24) == 19);
    CHECK(CompressLz({}, 0).size() == static_cast<size_t>(lz::kHeaderSize));
}

TEST_CASE("Small files expand whole, below and around one group of eight items")
{
    for (const size_t size : {1u, 2u, 3u, 7u, 8u, 9u, 15u, 16u, 17u, 18u, 19u, 40u}) {
        CAPTURE(size);
        const auto text = Noise(size, static_cast<uint32_t>(size));
        CHECK(RoundTrip(text) == text);
        const std::vector<uint8_t> same(size, 'x');
        CHECK(RoundTrip(same) == same);
    }
}

TEST_CASE("References reach into the blanks that fill the window at the start")
{
    const std::string indented = std::string(30, ' ') + "text after blanks" + std::string(200, ' ') + "end";
    CHECK(RoundTrip(BytesOf(indented)) == BytesOf(indented));
    // Blank runs that end at and around the window's size, and the
    // compressed form of a blank run is mostly references.
    for (const size_t size : {4079u, 4080u, 4095u, 4096u, 4097u, 9000u}) {
        CAPTURE(size);
        const std::vector<uint8_t> blanks(size, ' ');
        CHECK(RoundTrip(blanks) == blanks);
        CHECK(CompressLz(blanks, 0).size() < size / 7);
    }
}

TEST_CASE("References at the far end of the window and overlapping their own copy")
{
    for (const size_t period : {4094u, 4095u, 4096u, 4097u}) {
        CAPTURE(period);
        const auto twice = Repeated(Noise(period, 99), 2 * period + 100);
        CHECK(RoundTrip(twice) == twice);
    }
    // A period of 4095 can be copied from one window back; the copy costs
    // two bytes per 18 and so shrinks the second half to about a ninth.
    const auto twice = Repeated(Noise(4095, 5), 2 * 4095);
    CHECK(CompressLz(twice, 0).size() < 4095 + 4095 * 9 / 8 / 8 + 600);

    std::vector<uint8_t> run(100000, 0x41);
    run[0] = 0x42;
    CHECK(RoundTrip(run) == run);
}
