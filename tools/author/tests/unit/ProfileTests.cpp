// The script reader's rules (the Windows form compares them with the
// system's own profile functions).
#include <doctest/doctest.h>

#include "ScriptFile.h"
#include "script/ProfileText.h"
#include "support/Scratch.h"

#include <string>
#include <utility>

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

TEST_CASE("Loading: Shift-JIS as it is; what SETUP.EXE refuses to read, and missing files, refused")
{
    Scratch scratch("load");
    std::string error;
    WriteText(scratch / "SJIS.INI", "[Title]\r\nSetup=\x95\x5C\r\n");
    auto profile = LoadScript(scratch / "SJIS.INI", error);
    REQUIRE(profile.has_value());
    CHECK(profile->header.setupTitle == "\x95\x5C");

    // The installer reads a UTF-8 mark as part of the first section's
    // name, and loses that section: the author hears so before shipping.
    const std::pair<const char*, std::string> refused[] = {
        {"UTF-8", "\xEF\xBB\xBF[S]\r\nK=\xE8\xA1\xA8\r\n"},
        {"UTF-16", std::string("\xFF\xFE[\0S\0]\0", 8)},
        {"NUL", std::string("[S]\r\nK=a\0b\r\n", 13)},
        {"carriage returns alone", "[S]\rK=v\r"},
        {"neither a [Title] nor a [CopyFile] section", "[DefaultFolder]\r\nFolder=C:\\App\r\n"},
    };
    for (const auto& [words, text] : refused) {
        CAPTURE(words);
        WriteText(scratch / "BAD.INI", text);
        CHECK_FALSE(LoadScript(scratch / "BAD.INI", error).has_value());
        CHECK(error.find(words) != std::string::npos);
    }

    CHECK_FALSE(LoadScript(scratch / "MISSING.INI", error).has_value());
    CHECK_FALSE(error.empty());
}
