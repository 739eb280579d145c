// Double-byte-aware text routines. "ソ" (0x83 0x5C), "表" (0x95 0x5C) and
// "能" (0x94 0x5C) end in the byte of a backslash; "ヂ" (0x83 0x61) ends in
// the byte of a lower-case "a"; "ポ" (0x83 0x7C) ends in the byte of "|".
#include <doctest/doctest.h>

#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "text/MapText.h"
#include "text/Unicode.h"

#include <windows.h>

TEST_CASE("byte classes count the lead bytes before a position")
{
    const std::string text = "aソ\\";  // a, 0x83 0x5C, backslash
    CHECK(ByteClassAt(text, 1) == ByteClass::Single);
    CHECK(ByteClassAt(text, 2) == ByteClass::Lead);
    CHECK(ByteClassAt(text, 3) == ByteClass::Trail);
    CHECK(ByteClassAt(text, 4) == ByteClass::Single);
    CHECK(ByteClassAt(text, 0) == ByteClass::Single);
    CHECK(ByteClassAt(text, 5) == ByteClass::Single);
    CHECK(ByteClassAt("", 1) == ByteClass::Single);
    // Two characters whose first bytes are both lead bytes: 0x83 0x83 0x83 0x5C.
    const std::string pair = "\x83\x83\x83\\";
    CHECK(ByteClassAt(pair, 2) == ByteClass::Trail);
    CHECK(ByteClassAt(pair, 3) == ByteClass::Lead);
    CHECK(ByteClassAt(pair, 4) == ByteClass::Trail);
}

TEST_CASE("MBPos matches only at character starts")
{
    CHECK(MBPos("\\", "ソ\\") == 3);
    CHECK(MBPos("\\", "表") == 0);
    CHECK(MBPos("|", "ポ|") == 3);
    CHECK(MBPos("ソ", "aソ") == 2);
    CHECK(MBPos("", "abc") == 0);
    CHECK(MBPos("", "") == 0);
    CHECK(MBPos("abcd", "abc") == 0);
    CHECK(MBPos("c", "abc") == 3);
}

TEST_CASE("TokenPos is case-blind and steps over two-byte characters")
{
    CHECK(TokenPos("/s", "A.DLL,/S") == 7);
    CHECK(TokenPos("/S", "a.dll,/s") == 7);
    CHECK(TokenPos("(app)", "X(App)\\Y") == 2);
    CHECK(TokenPos("abcdef", "abc") == 0);
    CHECK(TokenPos("", "abc") == 0);
    // The trail byte of "ヂ" is the byte of "a": upper-casing must not turn
    // it into "A", and a search for "a" must not stop inside the character.
    CHECK(TokenPos("A", "ヂ") == 0);
    CHECK(TokenPos("a", "ヂa") == 3);
    CHECK(TokenPos("ヂ", "xヂ") == 2);
    CHECK(TokenPos("\\", "表\\") == 3);
    CHECK(TokenPos("|", "ポ|") == 3);
    CHECK(TokenPos(".dll", "C:\\表\\LIB.DLL") == 10);
    // Full-width letters match in either case and keep their two bytes.
    CHECK(TokenPos("ＡＢ", "ｘａｂ") == 3);
    // A broken character (a lone lead byte at the end) keeps positions intact.
    CHECK(TokenPos("/S", "a,/s\x83") == 3);
}

TEST_CASE("TokenPos upper-cases every character of code page 932 as the system's mapping does")
{
    // Each character alone and all of them in one text, against the
    // system's upper-case mapping through UTF-16 (Wine's tables here, the
    // same Unicode case pairs as Windows'): letters of every script the
    // code page holds, and the characters that have two codes.
    std::string all;
    int differences = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
            // Codes the code page leaves empty are no characters.
            wchar_t wide[2] = {};
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, character.data(), 2, wide, 2) != 1) continue;
            all += character;
            const std::string system = MapText(character, LCMAP_UPPERCASE);
            if (UpperCase(character) != system && ++differences <= 10)
                FAIL_CHECK("code " << (lead << 8 | trail) << ", the system gives " << Utf8FromShiftJis(system));
        }
    }
    for (unsigned byte = 0x20; byte < 0x100; ++byte) {
        if (IsLeadByte(static_cast<unsigned char>(byte)) || byte == 0x7F || byte == 0x80 || byte == 0xA0 || byte >= 0xFD)
            continue;
        all += static_cast<char>(byte);
    }
    CHECK(differences == 0);
    CHECK(UpperCase(all) == MapText(all, LCMAP_UPPERCASE));
}

TEST_CASE("LeftStr, RightStr and MidStr clamp like the classic copy routine")
{
    CHECK(LeftStr("abcdef", 2) == "ab");
    CHECK(LeftStr("abc", 9) == "abc");
    CHECK(LeftStr("abc", 0).empty());
    CHECK(LeftStr("abc", -1).empty());
    CHECK(RightStr("abcdef", 2) == "ef");
    CHECK(RightStr("abc", 9) == "abc");
    CHECK(RightStr("abc", 0).empty());
    CHECK(RightStr("abc", -2).empty());
    CHECK(MidStr("abcdef", 3) == "cdef");
    CHECK(MidStr("abc", 0) == "abc");
    CHECK(MidStr("abc", -4) == "abc");
    CHECK(MidStr("abc", 4).empty());
    CHECK(MidStr("", 1).empty());
}

TEST_CASE("backslashes added and removed, the folder above and the extension: never a trail byte for a separator")
{
    CHECK(WithTrailingBackslash("C:\\ソ") == "C:\\ソ\\");
    CHECK(WithoutTrailingBackslash("C:\\ソ") == "C:\\ソ");
    CHECK(WithoutTrailingBackslash("C:\\ソ\\") == "C:\\ソ");
    CHECK(WithTrailingBackslash("表") == "表\\");
    CHECK(WithTrailingBackslash("C:\\APP\\") == "C:\\APP\\");
    CHECK(WithTrailingBackslash("") == "\\");
    CHECK(WithLeadingBackslash("") == "\\");
    CHECK(WithLeadingBackslash("APP") == "\\APP");
    CHECK(WithLeadingBackslash("\\APP") == "\\APP");
    CHECK(WithoutTrailingBackslash("\\").empty());
    CHECK(WithoutLeadingBackslash("\\APP") == "APP");
    CHECK(WithoutTrailingBackslash("C:\\APP\\\\") == "C:\\APP\\");
    // The folder above is cut at a backslash of its own, never at a trail
    // byte or a colon inside a step; the extension is after the name's dot.
    CHECK(ParentFolder("C:\\表\\ソ\\") == "C:\\表\\");
    CHECK(ParentFolder("C:\\A\\B:C\\") == "C:\\A\\");
    CHECK(ExtensionPart("C:\\A.B\\ソ.LOG") == ".LOG");
    CHECK(ExtensionPart("C:\\A.B\\LOG").empty());
}

TEST_CASE("MapText maps with the system locale and keeps the text when it cannot")
{
    CHECK(MapText("abcヂ", LCMAP_UPPERCASE) == "ABCヂ");
    CHECK(MapText("", LCMAP_UPPERCASE).empty());
    CHECK(MapText("A1", LCMAP_FULLWIDTH) == "Ａ１");
    // An invalid flag combination makes the system refuse: the text stays.
    CHECK(MapText("abc", LCMAP_UPPERCASE | LCMAP_LOWERCASE) == "abc");
}

TEST_CASE("Shift-JIS crosses to UTF-16 and back through code page 932 whatever the system's is")
{
    // Trail bytes 0x5C and 0x7C, half-width katakana, plain ASCII.
    const std::string text = "C:\\\x83\x5C\x95\x5C\\\x83\x7C|\xB1\xB2.txt";
    const std::wstring wide = WideFromShiftJis(text);
    CHECK(wide == L"C:\\\u30BD\u8868\\\u30DD|\uFF71\uFF72.txt");
    CHECK(ShiftJisFromWide(wide) == text);
    CHECK(Utf8FromShiftJis("\x83\x5C") == "\xE3\x82\xBD");

    CHECK(WideFromShiftJis("").empty());
    CHECK(ShiftJisFromWide(L"") == std::string());

    // A character without a Shift-JIS form is refused, never made a "?" or
    // the nearest letter that would name another path.
    CHECK_FALSE(ShiftJisFromWide(L"C:\\Users\\Zo\u00EB").has_value());
    CHECK_FALSE(ShiftJisFromWide(L"\U0001F600").has_value());
    CHECK(ShiftJisFromWideForDisplay(L"Zo\u00EB") == "Zo?");
}

TEST_CASE("MapText through UTF-16 maps Shift-JIS text exactly as the system's ANSI call on a Japanese system")
{
    // The reference: LCMapStringA, which on this code page 932 prefix maps
    // the same text through the system's own conversion.
    REQUIRE(GetACP() == 932);
    const auto ansiMapped = [](const std::string& text, DWORD flags) {
        const int length = static_cast<int>(text.size());
        const int needed = LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, text.data(), length, nullptr, 0);
        std::string mapped(static_cast<size_t>(needed), '\0');
        LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, text.data(), length, mapped.data(), needed);
        return mapped;
    };
    // Full-width letters, half-width katakana with a voiced mark, Greek and
    // Cyrillic, trail bytes 0x5C and 0x61, ASCII.
    const std::string texts[] = {"abcＡｂｃ", "ｶﾞｷﾞｸﾞﾃｽﾄ", "αβγ абв", "ソ表ヂ\\a", "Readme.txt 1-2"};
    for (const std::string& text : texts) {
        for (const DWORD flags : {DWORD{LCMAP_UPPERCASE}, DWORD{LCMAP_LOWERCASE}, DWORD{LCMAP_FULLWIDTH},
                                  DWORD{LCMAP_HALFWIDTH}, DWORD{LCMAP_KATAKANA}, DWORD{LCMAP_HIRAGANA}}) {
            CAPTURE(flags);
            CHECK_MESSAGE(MapText(text, flags) == ansiMapped(text, flags), text);
        }
    }
}
