// The tests mean something only on the system their prefix was made for:
// the Japanese code page 932 with double-byte support, unless the wrapper
// that runs them names another (ORVANE_EXPECTED_ACP: 1252 or 65001 for the
// prefixes of other code pages). A misconfigured Wine must fail here, loudly.
#include <doctest/doctest.h>

#include "script/ShiftJis.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

UINT ExpectedCodePage()
{
    wchar_t value[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORVANE_EXPECTED_ACP", value, 16);
    if (length == 0 || length >= 16) return 932;
    return static_cast<UINT>(std::wcstoul(value, nullptr, 10));
}

}  // namespace

TEST_CASE("the system runs the code page of its prefix; the program's lead bytes are code page 932's on any")
{
    const UINT expected = ExpectedCodePage();
    REQUIRE_MESSAGE((expected == 932 || expected == 1252 || expected == 65001),
                    "ORVANE_EXPECTED_ACP names no code page of a test prefix");
    CHECK(GetACP() == expected);
    CPINFO info{};
    REQUIRE(GetCPInfo(CP_ACP, &info));
    switch (expected) {
    case 932:
        CHECK(GetSystemMetrics(SM_DBCSENABLED) != 0);
        CHECK(info.MaxCharSize == 2);
        break;
    case 1252:
        CHECK(GetSystemMetrics(SM_DBCSENABLED) == 0);
        CHECK(info.MaxCharSize == 1);
        break;
    default:
        CHECK(info.MaxCharSize == 4);
        break;
    }
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

TEST_CASE("a Japanese file name round-trips through the file system, whatever the code page")
{
    // Wine keeps the name on the Unix side in the Unix locale's character
    // set: a locale that is not installed loses every non-ASCII name.
    wchar_t temp[MAX_PATH] = {};
    REQUIRE(GetTempPathW(MAX_PATH, temp) > 0);
    const std::wstring name = WideFromShiftJis("表ソ能.txt");
    REQUIRE(name == L"\u8868\u30BD\u80FD.txt");
    const std::wstring path = temp + name;
    REQUIRE(FileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)).Valid());
    WIN32_FIND_DATAW data{};
    const FindHandle found(FindFirstFileW(path.c_str(), &data));
    CHECK(found.Valid());
    CHECK(std::wstring(data.cFileName) == name);
    CHECK(DeleteFileW(path.c_str()));
}
