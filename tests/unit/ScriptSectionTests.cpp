// The setup script's action sections: numbered-key reading, the value syntax
// of each section and the text-to-integer conversion of registry data.
#include <doctest/doctest.h>

#include "engine/RunState.h"
#include "script/CopyFileSection.h"
#include "script/IniFileSection.h"
#include "script/IntegerText.h"
#include "script/MakeFolderSection.h"
#include "script/RegistrySection.h"
#include "script/RelateSection.h"
#include "script/ScriptAcceptance.h"
#include "script/SetupScript.h"
#include "script/ShortCutSection.h"
#include "services/RegistryKeys.h"
#include "support/KnownFolders.h"
#include "support/Scratch.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"

namespace {


// A setup script in a scratch folder.
struct Script {
    ScratchFolder folder{"script"};
    std::string path = folder / "SETUP.INI";
    explicit Script(const std::string& text) { WriteTextFile(path, text); }
};

// A setup script as the start-up parses it.
SetupScript Parsed(const std::string& text)
{
    return ParseSetupScript(text);
}

const std::string SourceFolder = "D:\\SRC\\";

}  // namespace

TEST_CASE("TextToInteger converts as the ordinary conversion does and refuses overflow")
{
    CHECK(TextToInteger("12") == 12);
    CHECK(TextToInteger("   -7") == -7);
    CHECK(TextToInteger("+5") == 5);
    CHECK(TextToInteger("$10") == 16);
    CHECK(TextToInteger("$fF") == 255);
    CHECK(TextToInteger("-$10") == -16);
    CHECK(TextToInteger("$FFFFFFFF") == -1);
    CHECK(TextToInteger("$000000010") == 16);
    CHECK(TextToInteger("2147483647") == 2147483647);
    CHECK(TextToInteger("-2147483648") == INT32_MIN);
    for (const char* bad : {"", " ", "-", "$", "abc", "12x", "12 ", "0x10", "$-5", "1.5", "\t3", "$100000000",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        CAPTURE(bad);
        CHECK_FALSE(TextToInteger(bad).has_value());
    }
}

TEST_CASE("numbered lists end at the first empty or missing key")
{
    const SetupScript script = Parsed("[CopyFile]\r\nFile1=(App)\\A.EXE\r\nFile2=(App)\\B.EXE\r\nFile4=(App)\\D.EXE\r\n"
                                      "[MakeFolder]\r\nFolder1=(App)\\X\r\nFolder2=\r\nFolder3=(App)\\Z\r\n"
                                      "[IniFile]\r\nData1=a,b,c,d\r\n"
                                      "[DeleteRegistry]\r\nKey1=(Local)SOFTWARE\\A\r\nKey2=(App)\r\n"
                                      "[AddDeleteFile]\r\nFile1=(App)\\*.LOG\r\n");
    CHECK(script.copyFiles == std::vector<std::string>{"(App)\\A.EXE", "(App)\\B.EXE"});
    CHECK(script.makeFolders == std::vector<std::string>{"(App)\\X"});
    CHECK(script.iniFiles.size() == 1);
    CHECK(script.deleteRegistry == std::vector<std::string>{"(Local)SOFTWARE\\A", "(App)"});
    CHECK(script.addDeleteFiles == std::vector<std::string>{"(App)\\*.LOG"});
    CHECK(Parsed("").copyFiles.empty());
}

TEST_CASE("ReadNumberedList reads a section once as ReadProfile reads each key")
{
    // The plain way: one ReadProfile per key.
    const auto keyByKey = [](const std::string& section, const std::string& prefix, const std::string& file) {
        std::vector<std::string> list;
        for (int n = 1;; ++n) {
            std::string value = ReadProfile(section, prefix + std::to_string(n), "", file);
            if (value.empty()) return list;
            list.push_back(std::move(value));
        }
    };
    std::string longList = "[Long]\r\n";
    for (int n = 1; n <= 400; ++n)
        longList += "File" + std::to_string(n) + "=C:\\表\\ソ" + std::to_string(n) + ".DLL,/S\r\n";
    Script script("[Odd]\r\n; a comment\r\nfile1=lower\r\nFILE1=second of the name\r\n  File2 =  \"quoted\"  \r\n"
                  "File3='one'\r\nFile4=\"\r\nFile5=a=b\r\nFile6=表ポ\\\r\nFile7\r\nFile8=after a key without value\r\n"
                  "[Odd]\r\nFile7=in the second section of the name\r\n"
                  "[Blank]\r\nFile1=x\r\nFile2=\"\"\r\nFile3=y\r\n"
                  "[Gap]\r\nFile1=x\r\nFile02=y\r\nFile3=z\r\n" +
                  longList);
    for (const char* section : {"Odd", "Blank", "Gap", "Long", "Missing"}) {
        CAPTURE(section);
        CHECK(ReadNumberedList(section, "File", script.path) == keyByKey(section, "File", script.path));
    }
    CHECK(ReadNumberedList("Odd", "File", script.path).size() == 6);
    CHECK(ReadNumberedList("Long", "File", script.path).size() == 400);
    CHECK(ReadNumberedList("Odd", "File", script.folder / "NONE.INI").empty());
}

TEST_CASE("CopyFile entries: disk change, rename, compressed names and switches")
{
    KnownFolders folders;

    SUBCASE("a compressed source installed under another name, always written")
    {
        const CopyEntry entry = ParseCopyEntry("(App)\\SUB\\B.EX_|B.EXE,/W", SourceFolder, LocationsOf(folders.run));
        CHECK_FALSE(entry.diskChange);
        CHECK(entry.source == "D:\\SRC\\B.EX_");
        CHECK(entry.compressed);
        CHECK(entry.destination == "C:\\APP\\SUB\\B.EXE");
        CHECK(entry.switches == ",/W");
        CHECK(entry.AlwaysWrite());
        CHECK_FALSE(entry.Shared());
        CHECK_FALSE(entry.SelfRegistering());
        CHECK(entry.destination + entry.switches == "C:\\APP\\SUB\\B.EXE,/W");
    }
    SUBCASE("a compressed source without a name gets the placeholder")
    {
        const CopyEntry entry = ParseCopyEntry("(Sys)LIB.DL_", SourceFolder, LocationsOf(folders.run));
        CHECK(entry.compressed);
        CHECK(entry.source == "D:\\SRC\\LIB.DL_");
        CHECK(entry.destination == "C:\\WINDOWS\\SYSTEM\\AUTO.EXT");
        CHECK(entry.switches.empty());
    }
    SUBCASE("(Dch) is an exact test on the first five characters")
    {
        const CopyEntry marked = ParseCopyEntry("(Dch)(App)\\A.EXE", SourceFolder, LocationsOf(folders.run));
        CHECK(marked.diskChange);
        CHECK(marked.destination == "C:\\APP\\A.EXE");
        const CopyEntry lower = ParseCopyEntry("(dch)(App)\\A.EXE", SourceFolder, LocationsOf(folders.run));
        CHECK_FALSE(lower.diskChange);
        CHECK(lower.destination == "(dch)C:\\APP\\A.EXE");
        CHECK(lower.source == "D:\\SRC\\A.EXE");
        CHECK_FALSE(ParseCopyEntry("(App)\\(Dch)A.EXE", SourceFolder, LocationsOf(folders.run)).diskChange);
    }
    SUBCASE("switches are contains-tests in any order and letter case")
    {
        const CopyEntry entry = ParseCopyEntry("(Sys)X.OCX,/r/s", SourceFolder, LocationsOf(folders.run));
        CHECK(entry.Shared());
        CHECK(entry.SelfRegistering());
        CHECK_FALSE(entry.AlwaysWrite());
        CHECK(entry.switches == ",/r/s");
        CHECK(entry.destination == "C:\\WINDOWS\\SYSTEM\\X.OCX");
        // Only the first comma cuts; the switch text keeps the rest whole.
        CHECK(ParseCopyEntry("(App)\\A.EXE, /W ,x", SourceFolder, LocationsOf(folders.run)).switches == ", /W ,x");
        CHECK(ParseCopyEntry("(App)\\A.EXE, /W ,x", SourceFolder, LocationsOf(folders.run)).AlwaysWrite());
    }
    SUBCASE("trail bytes equal to \"|\", \"\\\" and \"_\" are no separators")
    {
        // ポ ends in 0x7C, 表 in 0x5C, ダ in 0x5F.
        const CopyEntry entry = ParseCopyEntry("(App)\\表\\ポ.TX_|ダ\\ポ表,/S", SourceFolder, LocationsOf(folders.run));
        CHECK(entry.source == "D:\\SRC\\ポ.TX_");
        CHECK(entry.destination == "C:\\APP\\表\\ダ\\ポ表");
        CHECK(entry.Shared());
        const CopyEntry plain = ParseCopyEntry("(App)\\表ダ", SourceFolder, LocationsOf(folders.run));
        CHECK_FALSE(plain.compressed);
        CHECK(plain.destination == "C:\\APP\\表ダ");
        CHECK(plain.source == "D:\\SRC\\表ダ");
    }
}

TEST_CASE("the measuring phase names the source without expansion or disk test")
{
    CHECK(MeasuredSourceName("(Dch)(App)\\SUB\\B.EX_|B.EXE,/W") == "B.EX_");
    CHECK(MeasuredSourceName("(App)\\A.EXE") == "A.EXE");
    CHECK(MeasuredSourceName("C:A.EXE,/S") == "A.EXE");
    CHECK(MeasuredSourceName("(App)\\ポ表.EXE|N.EXE") == "ポ表.EXE");
    CHECK(MeasuredSourceName("(App)\\A|B\\C.EXE") == "A");
}

TEST_CASE("Relate: twenty pairs read, counted pairs numbered without gaps")
{
    std::string text = "[Relate]\r\nName3=smp\r\nFile3=open,(App)\\VIEW.EXE,%1,0\r\n"
                       "Name5=abc\r\nFile6=open,x,0\r\nName7=\r\nFile7=open,y,0\r\n"
                       "Name20=last,Last one\r\nFile20=print,(App)\\P.EXE,1\r\nName21=no\r\nFile21=open,z,0\r\n";
    const std::vector<RelateRow> rows = Parsed(text).relate;
    REQUIRE(rows.size() == 2);
    CHECK(rows[0].name == "smp");
    CHECK(rows[0].file == "open,(App)\\VIEW.EXE,%1,0");  // expanded only when used
    CHECK(rows[1].name == "last,Last one");

    std::string full = "[Relate]\r\n";
    for (int n = 1; n <= 21; ++n)
        full += "Name" + std::to_string(n) + "=e" + std::to_string(n) + "\r\nFile" + std::to_string(n) + "=o,p,0\r\n";
    const std::vector<RelateRow> all = Parsed(full).relate;
    CHECK(all.size() == 20);
    CHECK(all.back().name == "e20");
}

TEST_CASE("Relate values: extension, description, command and icon")
{
    KnownFolders folders;
    CHECK(ParseRelateName("smp").extension == "smp");
    CHECK(ParseRelateName("smp").description == "smp File");
    CHECK(ParseRelateName("smp,Sample, data").extension == "smp");
    CHECK(ParseRelateName("smp,Sample, data").description == "Sample, data");

    const RelateFile view = ParseRelateFile("open,(App)\\VIEW.EXE,%1,0", LocationsOf(folders.run));
    CHECK(view.verb == "open");
    CHECK(view.program == "C:\\APP\\VIEW.EXE");
    CHECK(view.arguments == std::vector<std::string>{"%1"});
    CHECK(view.iconIndex == "0");
    CHECK(view.command == "C:\\APP\\VIEW.EXE %1");
    CHECK(view.defaultIcon == "C:\\APP\\VIEW.EXE,0");

    // A blank quotes the program; empty middle fields are dropped; arguments
    // are never quoted.
    folders.run.appFolder = "C:\\My App\\表\\";
    const RelateFile spaced = ParseRelateFile("edit,(App)VIEW.EXE,,/e,,\"%1\",2", LocationsOf(folders.run));
    CHECK(spaced.program == "C:\\My App\\表\\VIEW.EXE");
    CHECK(spaced.arguments == std::vector<std::string>{"/e", "\"%1\""});
    CHECK(spaced.command == "\"C:\\My App\\表\\VIEW.EXE\" /e \"%1\"");
    CHECK(spaced.defaultIcon == "C:\\My App\\表\\VIEW.EXE,2");

    // Fewer than two commas: no program, and the command is empty.
    const RelateFile shortValue = ParseRelateFile("open,VIEW.EXE", LocationsOf(folders.run));
    CHECK(shortValue.verb == "open");
    CHECK(shortValue.program.empty());
    CHECK(shortValue.command.empty());
    CHECK(shortValue.iconIndex == "VIEW.EXE");
    CHECK(ParseRelateFile("open,(App)\\V.EXE,", LocationsOf(folders.run)).iconIndex.empty());
}

TEST_CASE("MakeFolder adds the trailing backslash before expanding")
{
    KnownFolders folders;
    CHECK(ParseMakeFolder("(App)\\DATA", LocationsOf(folders.run)) == "C:\\APP\\DATA\\");
    CHECK(ParseMakeFolder("(App)DATA\\", LocationsOf(folders.run)) == "C:\\APP\\DATA\\");
    CHECK(ParseMakeFolder("(App)", LocationsOf(folders.run)) == "C:\\APP\\");
    // The 0x5C that ends 表 is no delimiter.
    CHECK(ParseMakeFolder("(App)表", LocationsOf(folders.run)) == "C:\\APP\\表\\");
}

TEST_CASE("ShortCut: the governing check box is the first matching contains-test")
{
    CHECK(GoverningBox("(Dsk)App") == ShortcutBox::Desktop);
    CHECK(GoverningBox("(C_Dsk)App") == ShortcutBox::Desktop);
    CHECK(GoverningBox("(dsk)App") == ShortcutBox::Desktop);
    CHECK(GoverningBox("(Dsk)(Sta)App") == ShortcutBox::Desktop);
    CHECK(GoverningBox("(Sta)Tools\\Viewer") == ShortcutBox::StartMenu);
    CHECK(GoverningBox("(C_Sta)Viewer") == ShortcutBox::StartMenu);
    CHECK(GoverningBox("Default") == ShortcutBox::StartMenu);
    CHECK(GoverningBox("default") == ShortcutBox::None);
    CHECK(GoverningBox("(Sup)x(Sen)y") == ShortcutBox::StartUp);
    CHECK(GoverningBox("(C_Sup)x") == ShortcutBox::StartUp);
    CHECK(GoverningBox("(Sen)x") == ShortcutBox::SendTo);
    CHECK(GoverningBox("(Smn)Viewer") == ShortcutBox::None);
    CHECK(GoverningBox("Viewer") == ShortcutBox::None);

    const ShortcutBoxes none;
    CHECK(ShortcutWanted({"(App)\\V.EXE", "(Smn)Viewer"}, none));
    CHECK_FALSE(ShortcutWanted({"(App)\\V.EXE", "(Dsk)Viewer"}, none));
    CHECK_FALSE(ShortcutWanted({"(App)\\V.EXE", "Default"}, none));
    ShortcutBoxes desktopOnly;
    desktopOnly.desktop = true;
    CHECK(ShortcutWanted({"(App)\\V.EXE", "(C_Dsk)Viewer"}, desktopOnly));
    CHECK_FALSE(ShortcutWanted({"(App)\\V.EXE", "(Sen)Viewer"}, desktopOnly));
    CHECK_FALSE(ShortcutWanted({UserNotSelectedMarker, "(Smn)Viewer"}, none));
}

TEST_CASE("ShortCut values: target, arguments, link and working folder")
{
    KnownFolders folders;
    const std::vector<ShortcutItem> items =
        Parsed("[ShortCut]\r\nMake1=(App)\\VIEW.EXE,/a, /b\r\nMake2=(App)\\B.EXE\r\nName2=\r\n"
               "Make3=(App)\\C.EXE\r\nName3=(Dsk)C,(App)DATA\r\nMake5=(App)\\E.EXE\r\n")
            .shortcuts;
    REQUIRE(items.size() == 3);
    CHECK(items[0].name == "Default");
    CHECK(items[1].name.empty());

    const ShortcutEntry byDefault = ParseShortcut(items[0], LocationsOf(folders.run));
    CHECK(byDefault.target == "C:\\APP\\VIEW.EXE");
    CHECK(byDefault.arguments == "/a, /b");
    CHECK(byDefault.link == "C:\\SM\\Programs\\VIEW.EXE");
    CHECK(byDefault.workingFolder.empty());

    // A present but empty name is placed in the Programs folder as it is.
    CHECK(ParseShortcut(items[1], LocationsOf(folders.run)).link == "C:\\SM\\Programs\\");

    const ShortcutEntry desktop = ParseShortcut(items[2], LocationsOf(folders.run));
    CHECK(desktop.link == "C:\\Desk\\C");
    CHECK(desktop.workingFolder == "C:\\APP\\DATA");

    CHECK(ParseShortcut({"(App)\\V.EXE", "Viewer"}, LocationsOf(folders.run)).link == "C:\\SM\\Programs\\Viewer");
    CHECK(ParseShortcut({"(App)\\V.EXE", "(Smn)Viewer"}, LocationsOf(folders.run)).link == "C:\\SM\\Viewer");
    CHECK(ParseShortcut({"(App)\\V.EXE", "Tools)Viewer"}, LocationsOf(folders.run)).link == "Tools)Viewer");
}

TEST_CASE("Registry keys: root token by exact test, subkey from the eighth character")
{
    const RegistryKeyName local = ParseRegistryKey("(Local)SOFTWARE\\Maker\\Tool");
    CHECK(local.root == HKEY_LOCAL_MACHINE);
    CHECK(local.subKey == "SOFTWARE\\Maker\\Tool");
    CHECK(ParseRegistryKey("(Class)\\.smp\\").root == HKEY_CLASSES_ROOT);
    CHECK(ParseRegistryKey("(Class)\\.smp\\").subKey == ".smp");
    CHECK(ParseRegistryKey("(Users)x").root == HKEY_USERS);
    CHECK(ParseRegistryKey("(Cuser)Software\\A").root == HKEY_CURRENT_USER);

    const RegistryKeyName bare = ParseRegistryKey("Software\\Maker");
    CHECK(bare.root == HKEY_CURRENT_USER);
    CHECK(bare.subKey == "Software\\Maker");
    const RegistryKeyName capitals = ParseRegistryKey("(LOCAL)Software\\Maker");
    CHECK(capitals.root == HKEY_CURRENT_USER);
    CHECK(capitals.subKey == "Software\\Maker");
    // A "(" first or a ")" seventh is enough for a token; one that names no
    // root means HKEY_CURRENT_USER, with the subkey from the eighth character.
    // (The uninstall record's keys need both; see SplitRegistryLocation.)
    const RegistryKeyName opened = ParseRegistryKey("(Loc)Software\\Maker");
    CHECK(opened.root == HKEY_CURRENT_USER);
    CHECK(opened.subKey == "ftware\\Maker");
    CHECK(ParseRegistryKey("Softwa)Maker").subKey == "Maker");
    CHECK(ParseRegistryKey("(Local\\Soft").subKey == "Soft");
    CHECK(ParseRegistryKey("(Local").subKey.empty());
    // A trailing 0x5C that ends 表 is not a delimiter to drop.
    CHECK(ParseRegistryKey("(Local)Software\\表").subKey == "Software\\表");
    CHECK(ParseRegistryKey("(Local)Software\\表\\").subKey == "Software\\表");
}

TEST_CASE("Registry values: type tokens, path marker and conversions")
{
    using Kind = RegistryValueData::Kind;
    KnownFolders folders;

    const RegistryValueData path = ParseRegistryValue("(Pdd)(Str)(App)", LocationsOf(folders.run));
    CHECK(path.type == Kind::String);
    CHECK(path.text == "C:\\APP");
    CHECK(ParseRegistryValue("(pdd)(Str)(App)", LocationsOf(folders.run)).text == "C:\\APP");
    CHECK(ParseRegistryValue("(Str)(App)", LocationsOf(folders.run)).text == "C:\\APP\\");
    CHECK(ParseRegistryValue("(Pdd)(Str)C:\\表", LocationsOf(folders.run)).text == "C:\\表");
    CHECK(ParseRegistryValue("(Exp)%WINDIR%\\x", LocationsOf(folders.run)).type == Kind::ExpandString);
    CHECK(ParseRegistryValue("(Exp)%WINDIR%\\x", LocationsOf(folders.run)).text == "%WINDIR%\\x");

    CHECK(ParseRegistryValue("(Int)42", LocationsOf(folders.run)).type == Kind::Dword);
    CHECK(ParseRegistryValue("(Int)42", LocationsOf(folders.run)).number == 42);
    CHECK(ParseRegistryValue("(Dwd)-1", LocationsOf(folders.run)).number == 0xFFFFFFFFu);
    CHECK(ParseRegistryValue("(Dwd)$10", LocationsOf(folders.run)).number == 16);
    CHECK(ParseRegistryValue("(Int)abc", LocationsOf(folders.run)).type == Kind::Dword);
    CHECK(ParseRegistryValue("(Int)abc", LocationsOf(folders.run)).number == 0);
    CHECK(ParseRegistryValue("(Dwd)12x", LocationsOf(folders.run)).number == 0);
    CHECK(ParseRegistryValue("(Int)4294967295", LocationsOf(folders.run)).number == 0);

    CHECK(ParseRegistryValue("(Bin)zz", LocationsOf(folders.run)).type == Kind::Nothing);
    CHECK(ParseRegistryValue("(Bin)", LocationsOf(folders.run)).type == Kind::Nothing);
    CHECK(ParseRegistryValue("(Bin)100000000", LocationsOf(folders.run)).type == Kind::Nothing);
    const RegistryValueData sixteen = ParseRegistryValue("(Bin)10", LocationsOf(folders.run));
    CHECK(sixteen.type == Kind::Binary);
    CHECK(sixteen.number == 0x10);
    CHECK(ParseRegistryValue("(Bin)1234ABCD", LocationsOf(folders.run)).number == 0x1234ABCDu);
    CHECK(ParseRegistryValue("(Bin)ffffffff", LocationsOf(folders.run)).number == 0xFFFFFFFFu);

    // An empty value writes nothing; another token stores the whole value.
    CHECK(ParseRegistryValue("", LocationsOf(folders.run)).type == Kind::Nothing);
    CHECK(ParseRegistryValue("(Pdd)", LocationsOf(folders.run)).type == Kind::Nothing);
    CHECK(ParseRegistryValue("(str)x", LocationsOf(folders.run)).type == Kind::String);
    CHECK(ParseRegistryValue("(str)x", LocationsOf(folders.run)).text == "(str)x");
    CHECK(ParseRegistryValue("(App)x", LocationsOf(folders.run)).text == "C:\\APP\\x");
    CHECK(ParseRegistryValue("abc", LocationsOf(folders.run)).text == "abc");
}

TEST_CASE("IniFile values: three fields off the front, the rest is the path")
{
    KnownFolders folders;
    const IniFileEntry tool = ParseIniFileEntry("Opt,Path,(App),(Win)TOOL.INI", LocationsOf(folders.run));
    CHECK(tool.section == "Opt");
    CHECK(tool.key == "Path");
    CHECK(tool.value == "C:\\APP\\");
    CHECK(tool.file == "C:\\WINDOWS\\TOOL.INI");

    const IniFileEntry commas = ParseIniFileEntry("S,K,V,C:\\A,B\\X,Y.INI", LocationsOf(folders.run));
    CHECK(commas.value == "V");
    CHECK(commas.file == "C:\\A,B\\X,Y.INI");

    const IniFileEntry twoCommas = ParseIniFileEntry("a,b,c", LocationsOf(folders.run));
    CHECK(twoCommas.section == "a");
    CHECK(twoCommas.key == "b");
    CHECK(twoCommas.value.empty());
    CHECK(twoCommas.file == "c");

    const IniFileEntry japanese = ParseIniFileEntry("表,ポ,能,C:\\表\\ポ.INI", LocationsOf(folders.run));
    CHECK(japanese.section == "表");
    CHECK(japanese.key == "ポ");
    CHECK(japanese.file == "C:\\表\\ポ.INI");
}

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

ScriptFault FaultOf(const std::string& bytes)
{
    return AcceptScript(bytes).fault;
}

}  // namespace

TEST_CASE("a script the reader would read as something else is refused: UTF-16, a UTF-8 mark, NUL, CR alone, no sections")
{
    const std::string script = "[Title]\r\nSetup=表示\r\n[DefaultFolder]\r\nFolder=(Prg)\\表示\r\n[CopyFile]\r\nFile1=(App)\\A.EXE\r\n";
    // An accepted script comes parsed: the run works on that value.
    const AcceptedScript accepted = AcceptScript(script);
    CHECK(accepted.fault == ScriptFault::None);
    CHECK(accepted.script.header.setupTitle == "表示");
    CHECK(accepted.script.copyFiles == std::vector<std::string>{"(App)\\A.EXE"});
    CHECK(FaultOf(Replaced(script, "\r\n", "\n")) == ScriptFault::None);
    CHECK(FaultOf("[CopyFile]\r\nFile1=(App)\\A.EXE\r\n") == ScriptFault::None);

    // Each of these read through the profile reader names no [Title] (or
    // a [DefaultFolder] that ends early): the install would go on with the
    // defaults, into "(Prg)\" with an entry named "Orvane".
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("[Title]\r\nSetup=X\r\n")) utf16 += std::string(1, c) + '\0';
    const std::string utf8 = "\xEF\xBB\xBF" + script;
    const std::string withNul = Replaced(script, "Folder=(Prg)", std::string("Folder=(Prg)\0", 13));
    const std::string crOnly = Replaced(script, "\r\n", "\r");
    CHECK(ProfileText::Parse(utf8).FindSection("Title") == nullptr);
    CHECK(ProfileText::Parse(crOnly).FindSection("Title") == nullptr);
    CHECK(FaultOf(utf16) == ScriptFault::Utf16);
    CHECK(FaultOf(utf8) == ScriptFault::Utf8Mark);
    CHECK(AcceptScript(utf8).script.copyFiles.empty());
    CHECK(FaultOf(withNul) == ScriptFault::NulByte);
    CHECK(FaultOf(crOnly) == ScriptFault::NoLineFeeds);
    CHECK(FaultOf("") == ScriptFault::NoSetupSections);
    CHECK(FaultOf("[DefaultFolder]\r\nFolder=C:\\App\r\n[Registry]\r\nKey1=(Cuser)Software\\X\r\n") ==
          ScriptFault::NoSetupSections);
    CHECK(std::string(ScriptFaultReason(ScriptFault::Utf16)).find("UTF-16") != std::string::npos);
}
