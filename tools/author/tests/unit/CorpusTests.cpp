// The corpus round trip: every corpus file, compressed under its compressed
// name, expands byte for byte through the independent expander (msexpand
// on Linux, LZ32 on Windows). On Linux each compressed file is also no
// larger than what mscompress makes of the same file.
#include <doctest/doctest.h>

#include "CompressFile.h"
#include "support/Corpus.h"
#include "support/Expander.h"
#include "support/Scratch.h"

#include <cstdio>

namespace {

#ifndef _WIN32
std::uintmax_t MscompressSize(const Scratch& scratch, const CorpusFile& file)
{
    std::filesystem::create_directories(scratch / "mscompress");
    const auto copy = scratch / "mscompress" / file.name;
    WriteBytes(copy, file.bytes);
    if (RunShell("mscompress " + ShellQuoted(copy) + " >/dev/null 2>&1") != 0) return 0;
    return std::filesystem::file_size(scratch / "mscompress" / (file.name + "_"));
}
#endif

}  // namespace

TEST_CASE("Every corpus file expands to itself through the independent expander")
{
    Scratch scratch("corpus");
    for (const auto& file : MakeCorpus()) {
        CAPTURE(file.name);
        const auto original = scratch / file.name;
        WriteBytes(original, file.bytes);
        std::filesystem::path compressed;
        std::string error;
        REQUIRE_MESSAGE(CompressBesideOrInto(original, {}, compressed, error), error);
        CHECK(compressed.filename().string().back() == '_');
        const auto expanded = ExpandIndependently(compressed);
        REQUIRE(expanded.has_value());
        CHECK(expanded->size() == file.bytes.size());
        CHECK((*expanded == file.bytes));
#ifndef _WIN32
        const auto ours = std::filesystem::file_size(compressed);
        const auto theirs = MscompressSize(scratch, file);
        REQUIRE(theirs > 0);
        MESSAGE(file.name << ": " << file.bytes.size() << " bytes, ours " << ours << ", mscompress " << theirs);
        CHECK(ours <= theirs);
#endif
        std::filesystem::remove(compressed);
    }
}
