// The version caption of the background window.
#include <doctest/doctest.h>

#include "support/Fixtures.h"
#include "windows/VersionInfo.h"

namespace {

std::string TextOf(const std::string& fileVersion)
{
    return VersionText(ParseVersionNumbers(fileVersion));
}

}  // namespace

TEST_CASE("VersionText joins minor and release into one number of at least two digits")
{
    CHECK(TextOf("1.0.5.7") == "1.05(Build:0007)");
    CHECK(TextOf("1.12.3.4") == "1.123(Build:0004)");
    CHECK(TextOf("2.0.12.12345") == "2.12(Build:12345)");
    CHECK(TextOf("1.0.0.1") == "1.00(Build:0001)");
    // One point only: major, then the build.
    CHECK(TextOf("1.5") == "1.00(Build:0005)");
    CHECK(TextOf("") == "0.00(Build:0000)");
    // A part that is no decimal number counts as 0.
    CHECK(TextOf("1.x.2.beta") == "1.02(Build:0000)");
}

TEST_CASE("a file without version information leaves the numbers as they were")
{
    VersionNumbers numbers{9, 8, 7, 6};
    CHECK_FALSE(ReadVersionNumbers(ProgramFolder() + "unit_tests.exe", numbers));
    CHECK(numbers.major == 9);
    CHECK(numbers.build == 6);
}
