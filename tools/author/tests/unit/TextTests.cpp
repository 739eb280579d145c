// Shift-JIS text routines and the compressed-name convention: trail bytes
// that equal "\", "|" or a letter are never taken for what they equal.
#include <doctest/doctest.h>

#include "CompressedName.h"
#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"
#include "script/TextParts.h"

TEST_CASE("Searches step over two-byte characters whose trail byte is a separator or a letter")
{
    const std::string table = "\x95\x5C";  // 表, trail byte "\"
    const std::string port = "\x83\x7C";   // ポ, trail byte "|"
    CHECK(MBPos("\\", table + "\\") == 3);
    CHECK(TokenPos("|", port + "|x") == 3);
    CHECK(TokenPos("|", port) == 0);
    CHECK(LastPos("\\", "A\\" + table) == 2);
    CHECK(FileNamePart("DIR\\" + table + ".TXT") == table + ".TXT");
    CHECK(FileNamePart(table + ".TXT") == table + ".TXT");
    CHECK(FolderPart("(App)\\SUB\\" + table) == "(App)\\SUB\\");
    CHECK(FileNamePart("C:X.EXE") == "X.EXE");
    // チ (0x83 0x61) is not ア (0x83 0x41), whatever the case of "a".
    CHECK_FALSE(SameText("\x83\x61", "\x83\x41"));
    CHECK(AsciiUpper("a\x83\x61z") == "A\x83\x61Z");
    CHECK(TokenPos("/s", "A.DLL,/S") == 7);
    CHECK(StartsWithText("(dch)X", "(Dch)"));
    CHECK_FALSE(StartsWithText("\x83\x41X", "\x83"));
    CHECK(TrimBlanks(" \t x y \x1a\r") == "x y");
    CHECK(TrimBlanks("\x81\x40x\x81\x40") == "\x81\x40x\x81\x40");
    CHECK(EndsWithSingleByte("A" + table + "B"));
    CHECK_FALSE(EndsWithSingleByte("A" + table));
}

TEST_CASE("A compressed name ends in \"_\" and stores the character it replaced")
{
    std::string why;
    const auto check = [&](const std::string& name, const std::string& compressed, unsigned char stored) {
        CAPTURE(name);
        const auto result = CompressedNameFor(name, why);
        REQUIRE(result.has_value());
        CHECK(result->name == compressed);
        CHECK(result->storedChar == stored);
    };
    check("README.TXT", "README.TX_", 'T');
    check("readme.txt", "readme.tx_", 't');
    check("AB.CD", "AB.C_", 'D');
    check("A.C", "A._", 'C');
    check("NOEXT", "NOEXT._", 0);
    check("X.Y.Z", "X.Y._", 'Z');
    check("\x83\x5C\x83\x74\x83\x67.EXE", "\x83\x5C\x83\x74\x83\x67.EX_", 'E');

    for (const std::string refused : {"", "DATA_", "A.B_", "FILE.", "A.\x95\x5C"}) {
        CAPTURE(refused);
        why.clear();
        CHECK_FALSE(CompressedNameFor(refused, why).has_value());
        CHECK_FALSE(why.empty());
    }
}

TEST_CASE("The original of a compressed name is found in both naming forms, only where the name comes back")
{
    const auto stored = [](const std::string& compressed, const std::string& candidate) -> int {
        const auto original = OriginalFor(compressed, candidate);
        return original ? original->storedChar : -1;
    };
    CHECK(stored("README.TX_", "readme.txt") == 't');
    CHECK(stored("README.TX_", "README.TXT") == 'T');
    CHECK(stored("A._", "A.C") == 'C');
    CHECK(stored("A._", "A") == 0);
    CHECK(stored("README.TXT_", "README.TXT") == 0);
    CHECK(stored("FOO.C_", "FOO.C") == 0);
    CHECK(stored("\x95\x5C.TX_", "\x95\x5C.TXT") == 'T');
    // No original: the same name, a longer one, one without a dot, or a
    // name that the "_" would not replace.
    CHECK(stored("README.TX_", "README.TX_") == -1);
    CHECK(stored("README.TX_", "README.TXT.BAK") == -1);
    CHECK(stored("README_", "README") == -1);
    CHECK(stored("README_", "READMX") == -1);
    CHECK(stored("README.TXT", "README.TXT") == -1);
}
