// The Windows form against the system itself: the expander's names for our
// compressed files, and the profile functions' reading of the scripts that
// our profile reader reads.
#include <doctest/doctest.h>

#include "CompressFile.h"
#include "CompressedName.h"
#include "LzCompressor.h"
#include "SystemText.h"
#include "script/PathParts.h"
#include "script/ProfileText.h"
#include "support/Scratch.h"

#include <windows.h>
#include <lzexpand.h>

namespace {

// A path as the ANSI functions take it (code page 932 here).
std::string Ansi(const std::filesystem::path& path)
{
    return DisplayPath(path);
}

std::string SystemExpandedName(const std::filesystem::path& compressed)
{
    std::string name = Ansi(compressed);
    std::vector<char> buffer(name.begin(), name.end());
    buffer.resize(MAX_PATH, '\0');
    if (GetExpandedNameA(name.data(), buffer.data()) != 1) return "<failed>";
    return FileNamePart(buffer.data());
}

std::string SystemRead(const std::string& section, const std::string& key, const std::filesystem::path& file)
{
    std::vector<char> buffer(4096, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<default>", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), Ansi(file).c_str());
    return std::string(buffer.data(), length);
}

}  // namespace

TEST_CASE("The code page is 932, or these comparisons mean nothing")
{
    REQUIRE(GetACP() == 932);
}

TEST_CASE("The system's expander gives our compressed names their original names back")
{
    Scratch scratch("names");
    // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in the trail byte 0x5C.
    for (const std::string name : {"README.TXT", "readme.txt", "A.C", "AB.CD", "LONGNAME.TEXT", "X.Y.Z", ".profile",
                                   "\x95\x5C.TXT", "\x83\x5C\x83\x74\x83\x67.EXE", "SETUP.INI"}) {
        CAPTURE(name);
        const auto original = Named(scratch.Path(), name);
        WriteText(original, "contents of " + name);
        std::filesystem::path compressed;
        std::string error;
        REQUIRE_MESSAGE(CompressBesideOrInto(original, {}, compressed, error), error);
        CHECK(SystemExpandedName(compressed) == name);
    }
}

TEST_CASE("A name without extension comes back with a dot, which Windows drops when it saves the file")
{
    Scratch scratch("noext");
    const auto original = scratch / "NOEXT";
    WriteText(original, "no extension");
    std::filesystem::path compressed;
    std::string error;
    REQUIRE(CompressBesideOrInto(original, {}, compressed, error));
    CHECK(compressed.filename() == "NOEXT._");
    const std::string expanded = SystemExpandedName(compressed);
    CHECK(expanded == "NOEXT.");
    std::filesystem::create_directories(scratch / "out");
    const std::string target = Ansi(scratch / "out") + "\\" + expanded;
    REQUIRE(CopyFileA(Ansi(compressed).c_str(), target.c_str(), FALSE));
    CHECK(std::filesystem::exists(scratch / "out" / "NOEXT"));
}

TEST_CASE("ExpandedName agrees with the system's expander, stored character or none")
{
    Scratch scratch("expanded");
    struct Case {
        const char* name;
        unsigned char stored;
    };
    for (const Case& c : {Case{"README.TX_", 'T'}, Case{"README.TXT_", 0}, Case{"A._", 'C'}, Case{"NOEXT._", 0},
                          Case{"NOEX_", 'T'}, Case{"FOO.C_", 0}, Case{"Q.TX_", '_'}}) {
        CAPTURE(c.name);
        const auto file = scratch / c.name;
        WriteBytes(file, CompressLz(BytesOf("x"), c.stored));
        CHECK(SystemExpandedName(file) == ExpandedName(c.name, c.stored));
    }
}

TEST_CASE("Our profile reader reads scripts as GetPrivateProfileStringA does")
{
    Scratch scratch("profile");
    const std::string text =
        "Loose=before any section\r\n"
        "[Dup]\r\nA=first\r\nA=second\r\nEmptyFirst=\r\nEmptyFirst=later\r\n"
        "[Other]\r\nZ=1\r\n"
        "[DUP]\r\nA=third\r\nB=only in the second [DUP]\r\n"
        "[Sp]\r\n  Key One  =  spaced value  \r\nTab=\t\"quoted\"\t\r\nSingle='single'\r\n"
        "Mismatch=\"half'\r\nLone=\"\r\nPair=\"\"\r\nWide=\x81\x40wide\x81\x40\r\nCtrlZ=a\x1a\r\n"
        "Equals=x=y\r\nNoEquals\r\n;Comment=kept\r\nInner=\"a\" b \"c\"\r\n"
        "Kanji=\x95\x5C\r\nBar=\x83\x7C|\x95\x5C\\\r\nQuotedBlanks=\"  in  \"\r\nLF=unix line\nNext=after LF\r\n"
        "Long=" + std::string(300, 'L') + "\r\n"
        "[Trail] junk\r\nX=trail\r\n"
        "[Bad]x]\r\nX=bad\r\n"
        "[Late\r\nX=late\r\n"
        "   [Indented]\r\nX=indented\r\n"
        "[\x83\x5D\x83\x5C]\r\nX=kanji section\r\n"
        "[ Blank ]\r\nX=blank\r\n";
    const auto file = scratch / "SETUP.INI";
    WriteText(file, text);
    const ProfileText profile = ProfileText::Parse(text);

    const std::pair<const char*, const char*> queries[] = {
        {"Dup", "A"}, {"dup", "a"}, {"Dup", "B"}, {"Dup", "EmptyFirst"}, {"Other", "Z"}, {"Sp", "Key One"},
        {"Sp", "key one"}, {"Sp", "Tab"}, {"Sp", "Single"}, {"Sp", "Mismatch"}, {"Sp", "Lone"}, {"Sp", "Pair"},
        {"Sp", "Wide"}, {"Sp", "CtrlZ"}, {"Sp", "Equals"}, {"Sp", "NoEquals"}, {"Sp", ";Comment"},
        {"Sp", "Comment"}, {"Sp", "Inner"}, {"Sp", "Kanji"}, {"Sp", "Bar"}, {"Sp", "QuotedBlanks"}, {"Sp", "LF"},
        {"Sp", "Next"}, {"Sp", "Long"}, {"Sp", "Missing"}, {"Trail", "X"}, {"Bad", "X"}, {"Bad]x", "X"},
        {"Late", "X"}, {"Indented", "X"}, {"\x83\x5D\x83\x5C", "X"}, {"Blank", "X"}, {" Blank ", "X"},
        {"Missing", "X"}, {"", "Loose"}};
    for (const auto& [section, key] : queries) {
        CAPTURE(section);
        CAPTURE(key);
        CHECK(profile.Read(section, key, "<default>") == SystemRead(section, key, file));
    }
}
