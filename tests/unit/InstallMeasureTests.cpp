// What the install measures: the drive of the setup folder, the sizes of its
// source files (beyond 4 GiB too) and their time stamps, and the progress
// position made of them.
#include <doctest/doctest.h>

#include "install/ProgressDisplay.h"
#include "install/SpaceCheck.h"
#include "script/PathParts.h"
#include "services/FileFacts.h"
#include "support/FileShapes.h"
#include "support/Scratch.h"

TEST_CASE("DrivePart: a drive letter, or the server and share of a network path")
{
    CHECK(DrivePart("C:\\Program Files\\Tool\\") == "C:");
    CHECK(DrivePart("d:") == "d:");
    CHECK(DrivePart("\\\\server\\share\\Tool\\") == "\\\\server\\share");
    CHECK(DrivePart("\\\\server\\share") == "\\\\server\\share");
    // "表" ends in the trail byte 0x5C, which is no separator.
    CHECK(DrivePart("\\\\表\\共有\\Tool") == "\\\\表\\共有");
    CHECK(DrivePart("Tool\\") == "");
    CHECK(DrivePart("\\Tool\\") == "");
    CHECK(DrivePart("") == "");
}

TEST_CASE("source sizes: all 64 bits, an empty file counted as 1 byte, a missing one unknown")
{
    ScratchFolder folder("sizes");
    WriteTextFile(folder / "BIG.DAT", "x");
    const int64_t beyond4GiB = (int64_t{1} << 32) + 5;
    REQUIRE(SetFileLength(folder / "BIG.DAT", beyond4GiB));
    WriteTextFile(folder / "EMPTY.DAT", "");
    WriteTextFile(folder / "SMALL.DAT", "12345");

    CHECK(FoundFileSize(folder / "BIG.DAT") == beyond4GiB);
    CHECK(FoundFileSize(folder / "EMPTY.DAT") == 0);
    CHECK_FALSE(FoundFileSize(folder / "MISSING.DAT").has_value());
    // The same look-up tells a file from a folder, by name or by pattern.
    const std::optional<FoundFile> big = FindFile(folder / "BIG.DAT");
    REQUIRE(big.has_value());
    CHECK_FALSE(big->IsFolder());
    CHECK(FindFile(folder / "B?G.DAT").value_or(FoundFile{}).size == beyond4GiB);
    CHECK(FindFile(WithoutTrailingBackslash(folder.Path())).value_or(FoundFile{}).IsFolder());

    bool byteProgress = true;
    CHECK(CountedSourceSize(beyond4GiB, byteProgress) == beyond4GiB);
    CHECK(CountedSourceSize(0, byteProgress) == 1);
    CHECK(CountedSourceSize(5, byteProgress) == 5);
    CHECK(byteProgress);
    CHECK(CountedSourceSize(-1, byteProgress) == 0);
    CHECK_FALSE(byteProgress);
}

TEST_CASE("DOS time stamps order files by their last write, to two seconds")
{
    ScratchFolder folder("stamps");
    for (const char* name : {"A", "B", "C", "D", "E"}) WriteTextFile(folder / name, name);
    REQUIRE(SetWriteTime(folder / "A", LocalMoment(2001, 4, 1, 10, 0, 0)));
    REQUIRE(SetWriteTime(folder / "B", LocalMoment(2001, 4, 1, 10, 0, 1)));
    REQUIRE(SetWriteTime(folder / "C", LocalMoment(2001, 4, 1, 10, 0, 2)));
    REQUIRE(SetWriteTime(folder / "D", LocalMoment(2024, 12, 31, 23, 59, 58)));
    // From 2044 on the date's top bit is set.
    REQUIRE(SetWriteTime(folder / "E", LocalMoment(2050, 1, 1, 0, 0, 0)));

    const std::optional<uint32_t> a = DosTimeStamp(folder / "A");
    REQUIRE(a.has_value());
    // 2001-04-01 10:00:00 local: date (21 << 9 | 4 << 5 | 1), time (10 << 11).
    CHECK(*a == (((21u << 9 | 4u << 5 | 1u) << 16) | (10u << 11)));
    CHECK(DosTimeStamp(folder / "B") == a);
    CHECK(DosTimeStamp(folder / "C") > a);
    CHECK(DosTimeStamp(folder / "D") > DosTimeStamp(folder / "C"));
    CHECK(DosTimeStamp(folder / "E") > DosTimeStamp(folder / "D"));
    CHECK_FALSE(DosTimeStamp(folder / "MISSING").has_value());
}

TEST_CASE("the progress position: truncated share of the bytes, or entries done of all")
{
    RunState state;
    InstallRun run{state};
    run.copyEntryCount = 6;
    SUBCASE("by bytes, sizes beyond 32 bits")
    {
        run.totalBytes = int64_t{3} << 32;
        run.doneBytes = int64_t{1} << 32;
        CHECK(ProgressPosition(run, 1) == 33);
        run.doneBytes = run.totalBytes - 1;
        CHECK(ProgressPosition(run, 5) == 99);
        run.doneBytes = run.totalBytes;
        CHECK(ProgressPosition(run, 6) == 100);
        // A source that grew after measuring shows a full bar, not more.
        run.doneBytes = run.totalBytes * 2;
        CHECK(ProgressPosition(run, 6) == 100);
        run.totalBytes = 0;
        CHECK(ProgressPosition(run, 6) == 0);
    }
    SUBCASE("by entries, integer division of the entry number")
    {
        run.byteProgress = false;
        run.doneBytes = 1;
        CHECK(ProgressPosition(run, 1) == 16);
        CHECK(ProgressPosition(run, 3) == 50);
        CHECK(ProgressPosition(run, 6) == 100);
    }
}
