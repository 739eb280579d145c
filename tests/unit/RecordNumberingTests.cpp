// The in-memory numbering of the record's lists against the system it
// imitates: the profile functions' read-back and the locale's comparison.
#include <doctest/doctest.h>

#include "record/RecordNumbering.h"
#include "support/Scratch.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"

#include <windows.h>

#include <vector>

TEST_CASE("ProfileValueAsRead gives what the profile functions read back")
{
    ScratchFolder folder("readback");
    const std::string file = folder / "R.INI";
    const std::vector<std::string> values = {
        "plain", "  lead", "trail  ", "\ttab\t", "\x1a" "eof\x1a", "\v\fx\f", "\"q\"", "'q'", "\"", "\"\"", "'a\"",
        " \"a b\" ", "\" a \"", "C:\\表\\ソ.DLL,/S", "　full　", "a=b", ",/S", "", " ", "\"'x'\"", "x\"",
    };
    for (size_t i = 0; i < values.size(); ++i) {
        std::string key = "K";
        key += std::to_string(i + 1);
        WriteProfile("S", key, values[i], file);
        CAPTURE(i);
        CHECK(ReadProfile("S", key, "", file) == ProfileValueAsRead(values[i]));
        FlushProfile(file);
        CHECK(ReadProfile("S", key, "", file) == ProfileValueAsRead(values[i]));
    }
}

TEST_CASE("ListEntryKey agrees with SameListEntry on every pair")
{
    const std::vector<std::string> corpus = {
        "", " ", "abc", "ABC", "aBc", "abc ", "ａｂｃ", "ＡＢＣ", "ａＢｃ", "あ", "ア", "ｱ", "ｶﾞ", "ガ", "か", "表", "ソ",
        "C:\\表\\ソ.DLL", "c:\\表\\ソ.dll", "C:\\表\\ｿ.DLL", "C:/APP/A.DLL", "C:\\APP\\A.DLL", "c:\\app\\a.dll",
        "co-op", "coop", "co'op", "a\x01", "a", "\x01", "Ⅰ", "I", "ⅰ", "Ω", "ω", "Я", "я", "SS", "1", "１",
        "_", "-", "~", "\x7f", "ー", "－", "―", "ゝ", "ゞ", "々", "〃",
    };
    for (const std::string& a : corpus) {
        for (const std::string& b : corpus) {
            CAPTURE(a);
            CAPTURE(b);
            CHECK(SameListEntry(a, b) == (ListEntryKey(a) == ListEntryKey(b)));
        }
    }
}

TEST_CASE("numbering: same first field, case ignored, takes the earlier number")
{
    CHECK(NumberRecordSection({"C:\\A.DLL", "C:\\B.DLL", "c:\\a.dll,/R"}, false) ==
          std::vector<std::string>{"c:\\a.dll,/R", "C:\\B.DLL"});
    // Only the text before the first comma identifies an entry.
    CHECK(NumberRecordSection({"C:\\A,B", "C:\\A,C"}, false) == std::vector<std::string>{"C:\\A,C"});
    // A trail byte 0x5C is part of the name: ソ and ｿ are different files.
    CHECK(NumberRecordSection({"C:\\表\\ソ.DLL", "C:\\表\\ｿ.DLL", "c:\\表\\ソ.dll"}, false) ==
          std::vector<std::string>{"c:\\表\\ソ.dll", "C:\\表\\ｿ.DLL"});
}

TEST_CASE("numbering: an empty field is the first free number and is overwritten next")
{
    CHECK(NumberRecordSection({"a.lnk", "", "b.lnk"}, false) == std::vector<std::string>{"a.lnk", "b.lnk"});
    CHECK(NumberRecordSection({"a.lnk", ""}, false) == std::vector<std::string>{"a.lnk", ""});
    CHECK(NumberRecordSection({",/S", "x"}, false) == std::vector<std::string>{"x"});
    // A value that reads back empty ends the list as well.
    CHECK(NumberRecordSection({"\"\"", "x"}, false) == std::vector<std::string>{"x"});
}

TEST_CASE("numbering: DeleteFile keeps the \"/S\" of the value it replaces")
{
    CHECK(NumberRecordSection({"C:\\X.DLL,/S", "C:\\X.DLL"}, true) == std::vector<std::string>{"C:\\X.DLL,/S"});
    CHECK(NumberRecordSection({"C:\\X.DLL,/S", "c:\\x.dll,/R"}, true) ==
          std::vector<std::string>{"c:\\x.dll,/R/S"});
    CHECK(NumberRecordSection({"C:\\X.DLL,/s", "C:\\X.DLL,/R"}, true) == std::vector<std::string>{"C:\\X.DLL,/R/S"});
    CHECK(NumberRecordSection({"C:\\X.DLL,/S", "C:\\X.DLL,/C/s"}, true) ==
          std::vector<std::string>{"C:\\X.DLL,/C/s"});
    // Only DeleteFile keeps the switch.
    CHECK(NumberRecordSection({"C:\\X.DLL,/S", "C:\\X.DLL"}, false) == std::vector<std::string>{"C:\\X.DLL"});
}

TEST_CASE("ListEntryKey made through UTF-16 is the sort key the ANSI call makes on a Japanese system")
{
    REQUIRE(GetACP() == 932);
    const auto ansiKey = [](const std::string& field) {
        constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        const int size = LCMapStringA(LOCALE_USER_DEFAULT, flags, field.c_str(), -1, nullptr, 0);
        std::string key(static_cast<size_t>(size), '\0');
        LCMapStringA(LOCALE_USER_DEFAULT, flags, field.c_str(), -1, key.data(), size);
        return std::string(key.c_str());
    };
    for (const std::string field : {"C:\\APP\\ソ.TXT", "c:\\app\\ｶﾀｶﾅ.txt", "C:\\表\\Ａｂ", "plain", ""}) {
        CHECK(ListEntryKey(field) == ansiKey(field));
    }
}
