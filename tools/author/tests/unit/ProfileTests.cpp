// The script reader's rules (the Windows form compares them with the
// system's own profile functions).
#include <doctest/doctest.h>

#include "ScriptFile.h"
#include "script/ProfileText.h"
#include "support/Scratch.h"

TEST_CASE("The first section and the first key of a name win; names match without regard to case")
{
    const ProfileText profile = ProfileText::Parse(
        "[CopyFile]\r\nFile1=first\r\nfile1=second\r\nFile2=\r\nFile2=later\r\n"
        "[copyfile]\r\nFile3=never read\r\n");
    CHECK(profile.Read("COPYFILE", "FILE1") == "first");
    CHECK(profile.Read("CopyFile", "File2", "default").empty());
    CHECK(profile.Read("CopyFile", "File3", "default") == "default");
    CHECK(profile.Sections().size() == 2);
}

TEST_CASE("Values lose the blanks around them and one pair of matching quotes")
{
    const ProfileText profile = ProfileText::Parse(
        "[S]\n  Key  =  two words  \nQ=\" kept \"\nS='x'\nHalf=\"x'\nOne=\"\nNoEquals\nEq=a=b\nZ=z\x1a\n"
        "Wide=\x81\x40x\x81\x40\n[T] comment\nK=v\n[A]B]\nK=ab\n[Open\nK=open\n");
    CHECK(profile.Read("S", "Key") == "two words");
    CHECK(profile.Read("S", "Q") == " kept ");
    CHECK(profile.Read("S", "S") == "x");
    CHECK(profile.Read("S", "Half") == "\"x'");
    CHECK(profile.Read("S", "One") == "\"");
    CHECK(profile.Read("S", "NoEquals", "default") == "default");
    CHECK(profile.Find("S", "NoEquals") != nullptr);
    CHECK(profile.Read("S", "Eq") == "a=b");
    CHECK(profile.Read("S", "Z") == "z");
    CHECK(profile.Read("S", "Wide") == "\x81\x40x\x81\x40");
    CHECK(profile.Read("T", "K") == "v");
    CHECK(profile.Read("A]B", "K") == "ab");
    CHECK(profile.Read("A]B", "[Open") == "");
    CHECK(profile.Read("Open", "K", "default") == "default");
}

TEST_CASE("A section name whose trail byte is \"]\" is read whole")
{
    // ー (0x81 0x5B) and ‐ (0x81 0x5D) end in "[" and "]".
    const ProfileText profile = ProfileText::Parse("[\x83\x5A\x81\x5D]\r\nK=v\r\n");
    CHECK(profile.Read("\x83\x5A\x81\x5D", "K") == "v");
}

TEST_CASE("Loading: Shift-JIS as it is, UTF-8 with a mark converted, UTF-16 and missing files refused")
{
    Scratch scratch("load");
    std::string error;
    WriteText(scratch / "SJIS.INI", "[S]\r\nK=\x95\x5C\r\n");
    auto profile = LoadScript(scratch / "SJIS.INI", error);
    REQUIRE(profile.has_value());
    CHECK(profile->profile.Read("S", "K") == "\x95\x5C");

    WriteText(scratch / "UTF8.INI", "\xEF\xBB\xBF[S]\r\nK=\xE8\xA1\xA8\r\n");  // 表 in UTF-8
    profile = LoadScript(scratch / "UTF8.INI", error);
    REQUIRE(profile.has_value());
    CHECK(profile->profile.Read("S", "K") == "\x95\x5C");

    WriteText(scratch / "UTF16.INI", std::string("\xFF\xFE[\0S\0]\0", 8));
    CHECK_FALSE(LoadScript(scratch / "UTF16.INI", error).has_value());
    CHECK(error.find("UTF-16") != std::string::npos);

    CHECK_FALSE(LoadScript(scratch / "MISSING.INI", error).has_value());
    CHECK_FALSE(error.empty());
}
