// The layer that hands Shift-JIS text to the wide Win32 functions: file names
// ending in the byte 0x5C ("ソ" is 0x83 0x5C, "表" 0x95 0x5C), half-width
// katakana, names that Shift-JIS cannot hold, and registry strings, each
// checked against what the system stores in UTF-16.
#include <doctest/doctest.h>

#include "script/LocationTokens.h"
#include "script/PathParts.h"
#include "services/Deletion.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/RegistryAccess.h"
#include "services/ShellFolders.h"
#include "services/Win32Registry.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "support/Utf8.h"
#include "text/Unicode.h"

#include <windows.h>

#include <string>

namespace {

bool WideExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST_CASE("names ending in the byte 0x5C and half-width katakana are copied, found, measured and deleted")
{
    NoJournal unjournaled;
    ScratchFolder folder("widenames");
    const std::wstring wideFolder = WideFromShiftJis(folder.Path());
    const std::string source = folder / "ソ.txt";
    const std::string table = folder / "表";
    const std::string kana = folder / "ｶﾀｶﾅ.txt";
    WriteTextFile(source, "sjis");

    CHECK(CopyFileTo(source, table, unjournaled) == 0);
    CHECK(CopyFileTo(source, kana, unjournaled) == 0);
    CHECK_FALSE(CreateFolderPath(folder / "表\\ソ", unjournaled));  // the file named "表" is in the way
    CHECK(CreateFolderPath(folder / "能\\ソ", unjournaled));
    // The names on disk are the characters themselves, not their bytes.
    CHECK(WideExists(wideFolder + L"\u30BD.txt"));
    CHECK(WideExists(wideFolder + L"\u8868"));
    CHECK(WideExists(wideFolder + L"\uFF76\uFF80\uFF76\uFF85.txt"));
    CHECK(WideExists(wideFolder + L"\u80FD\\\u30BD"));

    CHECK(FileExists(table));
    CHECK(FileExists(folder / "ｶﾀ*.txt"));
    CHECK(FoundFileSize(kana) == 4);
    CHECK(DosTimeStamp(table).has_value());
    CHECK(ReadTextFile(table) == "sjis");

    // The pattern's matches are found and deleted by the names the search
    // gave back; the file named "表" and the folder "能" are no match.
    CHECK(DeleteFiles(folder / "*.txt") == 0);
    CHECK_FALSE(WideExists(wideFolder + L"\u30BD.txt"));
    CHECK_FALSE(WideExists(wideFolder + L"\uFF76\uFF80\uFF76\uFF85.txt"));
    CHECK(FileExists(table));
    CHECK(DeleteFiles(table) == 0);
    CHECK_FALSE(WideExists(wideFolder + L"\u8868"));
    CHECK(RemoveFolder(folder / "能\\ソ", "") == 0);
    CHECK_FALSE(WideExists(wideFolder + L"\u80FD\\\u30BD"));
}

TEST_CASE("a found name that Shift-JIS cannot hold is left alone, never turned into a pattern for others")
{
    NoJournal unjournaled;
    ScratchFolder folder("unheld");
    const std::wstring wideFolder = WideFromShiftJis(folder.Path());
    const std::wstring zoe = wideFolder + L"Zo\u00EB.txt";
    {
        const FileHandle file(CreateFileW(zoe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        REQUIRE(file.Valid());
    }
    // "Zo?.txt" would be a pattern matching this folder and what it holds.
    REQUIRE(CreateFolderPath(folder / "Zo1.txt", unjournaled));
    WriteTextFile(folder / "Zo1.txt\\KEEP.DAT", "keep");
    WriteTextFile(folder / "OTHER.txt", "x");

    CHECK(DeleteFiles(folder / "*.txt") == 0);
    CHECK_FALSE(FileExists(folder / "OTHER.txt"));
    CHECK(ReadTextFile(folder / "Zo1.txt\\KEEP.DAT") == "keep");
    CHECK(WideExists(zoe));
    // The folder it is in cannot be emptied of it: the removal says so.
    CHECK(RemoveFolder(folder.Path(), "*.txt") != 0);
    CHECK(WideExists(zoe));
    CHECK(DeleteFileW(zoe.c_str()));
}

TEST_CASE("registry strings are stored as UTF-16 with their terminating zero and read back identical")
{
    NoJournal unjournaled;
    ScratchKey scratch(HKEY_CURRENT_USER, "wide");
    const std::string path = scratch / "表示ソフト";
    const std::string text = "表示ソフト ｶﾀｶﾅ C:\\ソ\\能";
    const std::wstring wideText = L"\u8868\u793A\u30BD\u30D5\u30C8 \uFF76\uFF80\uFF76\uFF85 C:\\\u30BD\\\u80FD";
    REQUIRE(WideFromShiftJis(text) == wideText);
    {
        RegistryAccess registry(HKEY_CURRENT_USER, unjournaled);
        REQUIRE(registry.OpenKey(path, true));
        registry.WriteString("名前", text);
        registry.WriteExpandString("展開", "%TEMP%\\表");
        registry.WriteInteger("数", 7);
    }
    // What the system holds, asked for in UTF-16 by the value's own name.
    RegKey key;
    REQUIRE(RegOpenKeyExW(HKEY_CURRENT_USER, WideFromShiftJis(path).c_str(), 0, KEY_READ | KEY_WRITE,
                          key.Receive()) == ERROR_SUCCESS);
    wchar_t stored[128] = {};
    DWORD type = 0;
    DWORD size = sizeof stored;
    REQUIRE(RegQueryValueExW(key.Get(), L"\u540D\u524D", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size) ==
            ERROR_SUCCESS);
    CHECK(type == REG_SZ);
    CHECK(size == (wideText.size() + 1) * sizeof(wchar_t));
    CHECK(std::wstring(stored) == wideText);
    size = sizeof stored;
    REQUIRE(RegQueryValueExW(key.Get(), L"\u5C55\u958B", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size) ==
            ERROR_SUCCESS);
    CHECK(type == REG_EXPAND_SZ);
    CHECK(std::wstring(stored) == L"%TEMP%\\\u8868");

    CHECK(ReadRegString(key.Get(), "名前") == text);
    CHECK(ReadRegString(key.Get(), "展開") == "%TEMP%\\表");
    CHECK(ReadRegDword(key.Get(), "数") == 7u);
    CHECK(ReadRegString(key.Get(), "数").empty());
    // A string the program could not write back as it is reads as none.
    REQUIRE(RegSetValueExW(key.Get(), L"Zoe", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Zo\u00EB"), 8) ==
            ERROR_SUCCESS);
    CHECK(ReadRegString(key.Get(), "Zoe").empty());
}

TEST_CASE("a shell folder that Shift-JIS cannot hold makes every path from it refused, shown with \"?\"")
{
    const std::string japanese = ShellFolderText(L"C:\\users\\\u8868\\Desktop");
    CHECK(japanese == "C:\\users\\表\\Desktop");
    CHECK(FaultOfPath(japanese + "\\A.lnk") == PathFault::None);

    LocationTable folders;
    folders.desktop = ShellFolderText(L"C:\\users\\Zo\u00EB\\Desktop") + "\\";
    folders.app = "C:\\APP\\";
    const std::string link = ExpandTokens("(Dsk)表示ソフト.lnk", folders);
    CHECK(FaultOfPath(link) == PathFault::Unrepresentable);
    CHECK(HoldsUnrepresentableFolder(link));
    CHECK(WithoutUnrepresentableMarks(link) == "C:\\users\\Zo?\\Desktop\\表示ソフト.lnk");
    CHECK(FaultOfPath(ExpandTokens("(App)表示ソフト.lnk", folders)) == PathFault::None);
}
