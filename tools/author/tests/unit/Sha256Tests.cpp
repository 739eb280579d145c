// The installer's digest for package manifests, against the test vectors of
// FIPS 180-4 and of its usual test suites.
#include <doctest/doctest.h>

#include "Sha256File.h"
#include "packageformat/Sha256.h"
#include "support/Scratch.h"

namespace {

const std::string kEmptyDigest = "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
const std::string kMillionADigest = "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0";
const std::string kTwoBlockMessage = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";

}  // namespace

TEST_CASE("SHA-256 of the standard test vectors, as 64 upper-case hexadecimal digits")
{
    CHECK(Sha256Hex("") == kEmptyDigest);
    CHECK(Sha256Hex("abc") == "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    CHECK(Sha256Hex(kTwoBlockMessage) == "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
    CHECK(Sha256Hex(std::string(1000000, 'a')) == kMillionADigest);
}

TEST_CASE("SHA-256 fed piece by piece equals the digest of the whole")
{
    // Pieces that end before, on and after the 64-byte block boundaries,
    // and the 55/56-byte lengths where the length no longer fits the block.
    for (const size_t pieceSize : {size_t{1}, size_t{7}, size_t{63}, size_t{64}, size_t{65}, size_t{997}}) {
        CAPTURE(pieceSize);
        Sha256 digest;
        const std::string million(1000000, 'a');
        for (size_t at = 0; at < million.size(); at += pieceSize)
            digest.Add(std::string_view(million).substr(at, pieceSize));
        CHECK(digest.FinishHex() == kMillionADigest);
    }
    Sha256 digest;
    for (const char c : kTwoBlockMessage) digest.Add(&c, 1);
    CHECK(digest.FinishHex() == Sha256Hex(kTwoBlockMessage));
    // Finishing starts over.
    digest.Add("abc");
    CHECK(digest.FinishHex() == Sha256Hex("abc"));
    CHECK(Sha256Hex(std::string(55, 'x')) != Sha256Hex(std::string(56, 'x')));
    CHECK(Sha256Hex(std::string(55, 'x')).size() == 64);
}

TEST_CASE("SHA-256 of a file is the digest of its bytes; a file that cannot be read gives a reason")
{
    Scratch scratch("sha256");
    std::string error;
    WriteText(scratch / "MILLION.BIN", std::string(1000000, 'a'));
    CHECK(FileSha256Hex(scratch / "MILLION.BIN", error) == kMillionADigest);
    WriteText(scratch / "EMPTY.BIN", "");
    CHECK(FileSha256Hex(scratch / "EMPTY.BIN", error) == kEmptyDigest);
    // Bytes of every value, in a size that is no multiple of the read size.
    std::string bytes;
    for (int i = 0; i < 200001; ++i) bytes += static_cast<char>(i * 7 + i / 256);
    WriteText(scratch / "MIXED.BIN", bytes);
    CHECK(FileSha256Hex(scratch / "MIXED.BIN", error) == Sha256Hex(bytes));

    error.clear();
    CHECK_FALSE(FileSha256Hex(scratch / "MISSING.BIN", error).has_value());
    CHECK(error.find("MISSING.BIN") != std::string::npos);
    error.clear();
    CHECK_FALSE(FileSha256Hex(scratch.Path(), error).has_value());
    CHECK_FALSE(error.empty());
}
