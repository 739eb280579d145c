// The tests mean something only on a Japanese system: code page 932 with
// double-byte support. A misconfigured Wine must fail here, loudly.
#include <doctest/doctest.h>

#include "services/Win32Files.h"
#include "text/MBUtils.h"

#include <windows.h>

TEST_CASE("the system runs the Japanese ANSI code page with double-byte support")
{
    CHECK(GetACP() == 932);
    CHECK(GetSystemMetrics(SM_DBCSENABLED) != 0);
    CPINFO info{};
    REQUIRE(GetCPInfo(CP_ACP, &info));
    CHECK(info.MaxCharSize == 2);
    // The lead bytes of code page 932, as loaded at start.
    CHECK(IsLeadByte(0x81));
    CHECK(IsLeadByte(0x9F));
    CHECK(IsLeadByte(0xE0));
    CHECK(IsLeadByte(0xFC));
    CHECK_FALSE(IsLeadByte(0x80));
    CHECK_FALSE(IsLeadByte(0xA0));
    CHECK_FALSE(IsLeadByte(0xDF));
    CHECK_FALSE(IsLeadByte('\\'));
}

TEST_CASE("string literals are compiled to Shift-JIS")
{
    // "表" is 0x95 0x5C: its second byte is a backslash.
    const std::string hyo = "表";
    REQUIRE(hyo.size() == 2);
    CHECK(static_cast<unsigned char>(hyo[0]) == 0x95);
    CHECK(hyo[1] == '\\');
    CHECK(std::string("\\").size() == 1);
}

TEST_CASE("a Shift-JIS file name round-trips through the file system")
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "表ソ能.txt";
    REQUIRE(FileHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)).Valid());
    WIN32_FIND_DATAA data{};
    REQUIRE(FindHandle(FindFirstFileA(path.c_str(), &data)).Valid());
    CHECK(std::string(data.cFileName) == "表ソ能.txt");
    CHECK(DeleteFileA(path.c_str()));
}
