// The order of two product versions: where an install goes and whether it
// is a downgrade depend on it.
#include <doctest/doctest.h>

#include "script/ProductVersion.h"

TEST_CASE("Versions compare field by field as numbers, missing fields as 0")
{
    CHECK(CompareProductVersions("1.10", "1.9") == VersionOrder::Newer);
    CHECK(CompareProductVersions("1.9", "1.10") == VersionOrder::Older);
    CHECK(CompareProductVersions("2", "10") == VersionOrder::Older);
    CHECK(CompareProductVersions("1.0", "1") == VersionOrder::Same);
    CHECK(CompareProductVersions("1.0.0.0", "1") == VersionOrder::Same);
    CHECK(CompareProductVersions("1.01", "1.1") == VersionOrder::Same);
    CHECK(CompareProductVersions("1.0.0.1", "1") == VersionOrder::Newer);
    CHECK(CompareProductVersions("1", "1.0.0.1") == VersionOrder::Older);
    CHECK(CompareProductVersions("999999999.0", "1.999999999") == VersionOrder::Newer);
}

TEST_CASE("A missing or unreadable version on either side orders nothing")
{
    for (const char* junk : {"", "1.0-beta", "v1.1", "1..2", ".1", "1.", "1.2.3.4.5", "1 .2", "1,2", "１.２",
                             "1234567890", "-1"}) {
        CAPTURE(junk);
        CHECK_FALSE(ParseProductVersion(junk));
        CHECK(CompareProductVersions(junk, "1.0") == VersionOrder::Unknown);
        CHECK(CompareProductVersions("1.0", junk) == VersionOrder::Unknown);
    }
    CHECK(*ParseProductVersion("10.0.3.117") == ProductVersion{10, 0, 3, 117});
}
