// Expansion of LZ-compressed files made by an independent compressor
// (mscompress, at build time), in its own form and in the classic one, and
// of damaged copies of them that the tests cut and corrupt themselves.
#include <doctest/doctest.h>

#include "services/Expansion.h"
#include "services/FileOps.h"
#include "support/Fixtures.h"
#include "support/LzFixtures.h"
#include "support/Scratch.h"

#include <windows.h>

#include <utility>

namespace {

// Expansion with a scratch folder as the temporary folder.
struct Expander {
    std::string temporaryFolder;
    ExpandedFile operator()(const std::string& source, const std::string& destination) const
    {
        return ::ExpandToTemp(source, destination, temporaryFolder);
    }
};

}  // namespace

TEST_CASE("a compressed file expands byte for byte into EXPAND.OVX")
{
    NoJournal unjournaled;
    ScratchFolder folder("expand");
    const Expander expand{folder.Path()};
    const std::string sample = LzFixture("SAMPLE.DAT");
    WriteTextFile(folder / "SAMPLE.DAT_", LzFixture("SAMPLE.DAT_"));

    const ExpandedFile result = expand(folder / "SAMPLE.DAT_", "C:\\APP\\SAMPLE.DAT");
    CHECK(result.temporary == folder / "EXPAND.OVX");
    CHECK(result.destination == "C:\\APP\\SAMPLE.DAT");
    CHECK(ReadTextFile(result.temporary) == sample);

    // The whole road of a compressed file in the install: expand, copy, delete.
    CHECK(CopyFileTo(result.temporary, folder / "COPY.DAT", unjournaled) == 0);
    CHECK(ReadTextFile(folder / "COPY.DAT") == sample);

    // A stale EXPAND.OVX from an earlier run is replaced.
    WriteTextFile(folder / "EXPAND.OVX", std::string(50000, 'S'));
    WriteTextFile(folder / "README.TX_", ClassicLzForm(LzFixture("README.TXT_"), 'T'));
    expand(folder / "README.TX_", folder / "README.TXT");
    CHECK(ReadTextFile(folder / "EXPAND.OVX") == LzFixture("README.TXT"));
}

TEST_CASE("AUTO.EXT takes the name stored in the compressed file, in upper case")
{
    ScratchFolder folder("autoext");
    const Expander expand{folder.Path()};
    const std::string compressed = LzFixture("README.TXT_");
    const std::string readme = LzFixture("README.TXT");
    WriteTextFile(folder / "README.TX_", ClassicLzForm(compressed, 'T'));
    WriteTextFile(folder / "readme.tx_", ClassicLzForm(compressed, 't'));
    WriteTextFile(folder / "表示.TX_", ClassicLzForm(compressed, 'T'));
    WriteTextFile(folder / "README.TXT_", compressed);

    CHECK(expand(folder / "README.TX_", "C:\\APP\\AUTO.EXT").destination == "C:\\APP\\README.TXT");
    CHECK(ReadTextFile(folder / "EXPAND.OVX") == readme);
    CHECK(expand(folder / "readme.tx_", "C:\\APP\\AUTO.EXT").destination == "C:\\APP\\README.TXT");
    CHECK(ReadTextFile(folder / "EXPAND.OVX") == readme);
    CHECK(expand(folder / "表示.TX_", "C:\\APP\\表\\AUTO.EXT").destination == "C:\\APP\\表\\表示.TXT");
    // mscompress's own form: no stored character, and Wine then drops the "_".
    CHECK(expand(folder / "README.TXT_", "C:\\APP\\AUTO.EXT").destination == "C:\\APP\\README.TXT");
    CHECK(ReadTextFile(folder / "EXPAND.OVX") == readme);

    // Only the exact name is the placeholder.
    CHECK(expand(folder / "README.TX_", "C:\\APP\\auto.ext").destination == "C:\\APP\\auto.ext");
    CHECK(expand(folder / "README.TX_", "C:\\APP\\AUTO.EXT.BAK").destination ==
          "C:\\APP\\AUTO.EXT.BAK");
}

TEST_CASE("a file without the compressed header passes through unchanged")
{
    ScratchFolder folder("plain");
    const Expander expand{folder.Path()};
    const std::string bytes = "plain bytes, not compressed at all\r\n表ソ能\r\n";
    WriteTextFile(folder / "notes.txt", bytes);
    const ExpandedFile result = expand(folder / "notes.txt", "C:\\APP\\AUTO.EXT");
    CHECK_FALSE(result.damaged);
    CHECK(result.destination == "C:\\APP\\NOTES.TXT");
    CHECK(ReadTextFile(result.temporary) == bytes);
}

TEST_CASE("a damaged or empty compressed file is said to be damaged and leaves no temporary file")
{
    NoJournal unjournaled;
    ScratchFolder folder("damaged");
    const Expander expand{folder.Path()};
    const std::string compressed = LzFixture("SAMPLE.DAT_");
    std::string corrupted = compressed;
    for (size_t at = 20; at < corrupted.size(); at += 7) corrupted[at] = static_cast<char>(corrupted[at] ^ 0x5A);
    const std::pair<const char*, std::string> damaged[] = {
        {"HALF.DA_", compressed.substr(0, compressed.size() / 2)},
        {"NOLAST.DA_", compressed.substr(0, compressed.size() - 1)},
        {"CORRUPT.DA_", corrupted},
        {"HEADER.DA_", compressed.substr(0, 14)},
        {"CUTHEAD.DA_", compressed.substr(0, 10)},
        {"EMPTY.DA_", ""},
    };
    for (const auto& [name, bytes] : damaged) {
        const std::string fixture = name;
        CAPTURE(fixture);
        WriteTextFile(folder / name, bytes);
        WriteTextFile(folder / "EXPAND.OVX", "stale");
        const ExpandedFile result = expand(folder / name, folder / "OUT.DAT");
        CHECK(result.damaged);
        CHECK_FALSE(PathExists(result.temporary));
        CHECK(CopyFileTo(result.temporary, result.destination, unjournaled) == ERROR_FILE_NOT_FOUND);
        CHECK_FALSE(PathExists(folder / "OUT.DAT"));
    }

    // A source that is missing, or held open by another program.
    WriteTextFile(folder / "EXPAND.OVX", "stale");
    CHECK_FALSE(PathExists(expand(folder / "MISSING.DA_", folder / "OUT.DAT").temporary));
    WriteTextFile(folder / "HELD.DA_", compressed);
    HeldOpen held(folder / "HELD.DA_");
    CHECK_FALSE(PathExists(expand(folder / "HELD.DA_", folder / "OUT.DAT").temporary));
}
