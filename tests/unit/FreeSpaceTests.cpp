// Free space by the extended and by the classic call, against a measure of
// the test's own. Other programs write to the same disk meanwhile, so the
// measures agree within a margin, not to the byte.
#include <doctest/doctest.h>

#include "services/FreeSpace.h"
#include "support/Scratch.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr int64_t Margin = 256LL * 1024 * 1024;

int64_t MeasuredFreeBytes(const char* root)
{
    ULARGE_INTEGER available{};
    REQUIRE(GetDiskFreeSpaceExA(root, &available, nullptr, nullptr));
    return static_cast<int64_t>(available.QuadPart);
}

bool Near(int64_t a, int64_t b)
{
    return std::llabs(a - b) <= Margin;
}

}  // namespace

TEST_CASE("free space of C: and C:\\ agree, by either call, with a measure of the test's own")
{
    const int64_t measured = MeasuredFreeBytes("C:\\");
    const FreeSpaceResult extended = QueryFreeSpaceEx("C:");
    const FreeSpaceResult extendedRoot = QueryFreeSpaceEx("C:\\");
    const FreeSpaceResult classic = QueryFreeSpace("C:");
    const FreeSpaceResult classicRoot = QueryFreeSpace("C:\\");
    CHECK(extended.succeeded);
    CHECK(extendedRoot.succeeded);
    CHECK(classic.succeeded);
    CHECK(classicRoot.succeeded);
    CHECK(Near(extended.freeBytes, measured));
    CHECK(Near(extendedRoot.freeBytes, measured));
    CHECK(Near(classic.freeBytes, measured));
    CHECK(Near(classicRoot.freeBytes, measured));
    // More than 4 GB free here: no 32-bit wrap in either call.
    if (measured > 0x100000000LL) {
        CHECK(extended.freeBytes > 0x100000000LL);
        CHECK(classic.freeBytes > 0x100000000LL);
    }
    // A folder path measures its drive.
    CHECK(Near(QueryFreeSpaceEx("C:\\windows").freeBytes, measured));
}

TEST_CASE("a drive letter that does not exist gives false and -1 from both calls")
{
    const std::string drive = MissingDrive();
    REQUIRE_FALSE(drive.empty());
    const FreeSpaceResult extended = QueryFreeSpaceEx(drive);
    const FreeSpaceResult classic = QueryFreeSpace(drive);
    CHECK_FALSE(extended.succeeded);
    CHECK(extended.freeBytes == -1);
    CHECK_FALSE(classic.succeeded);
    CHECK(classic.freeBytes == -1);
}
