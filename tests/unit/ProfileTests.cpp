// Profile files read and written by the program's own reader and writer,
// compared with the system's profile functions on code page 932.
#include <doctest/doctest.h>

#include "script/ProfileText.h"
#include "script/TextCase.h"
#include "support/Scratch.h"
#include "text/IniFile.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

TEST_CASE("ReadProfile returns long values whole")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "LONG.INI";
    const std::string value255(255, 'x');
    const std::string value300 = std::string(150, 'y') + std::string(150, 'z');
    const std::string value511(511, 'w');
    WriteTextFile(file, "[S]\r\nA=" + value255 + "\r\nB=" + value300 + "\r\nC=" + value511 + "\r\n");
    CHECK(ReadProfile("S", "A", "", file) == value255);
    CHECK(ReadProfile("S", "B", "", file) == value300);
    CHECK(ReadProfile("S", "C", "", file) == value511);
}

TEST_CASE("ReadProfile trims blanks and one pair of quotes and falls back to the default")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "QUOTE.INI";
    WriteTextFile(file,
                  "[Sec]\r\nPlain =   value with blanks   \r\nDouble=\"  quoted  \"\r\nSingle='one'\r\n"
                  "Odd=\"half\r\nJapanese=表示ソ\\\r\nEmpty=\r\n");
    CHECK(ReadProfile("Sec", "Plain", "", file) == "value with blanks");
    CHECK(ReadProfile("sec", "PLAIN", "", file) == "value with blanks");
    CHECK(ReadProfile("Sec", "Double", "", file) == "  quoted  ");
    CHECK(ReadProfile("Sec", "Single", "", file) == "one");
    CHECK(ReadProfile("Sec", "Odd", "", file) == "\"half");
    CHECK(ReadProfile("Sec", "Japanese", "", file) == "表示ソ\\");
    CHECK(ReadProfile("Sec", "Empty", "dflt", file).empty());
    CHECK(ReadProfile("Sec", "Missing", "dflt", file) == "dflt");
    CHECK(ReadProfile("Sec", "Missing", "", file).empty());
    CHECK(ReadProfile("Other", "Plain", "d", file) == "d");
    CHECK(ReadProfile("Sec", "Plain", "", folder / "NONE.INI").empty());
    CHECK(ReadProfile("Sec", "Plain", "400", folder / "NONE.INI") == "400");
}

TEST_CASE("texts beyond what the system's profile functions took: long fallbacks and values come back whole")
{
    // A setup title of 100 KB is the fallback of the uninstall title; the
    // system's functions took at most 32766 bytes and, given more, read an
    // undefined default (or crashed) and, writing, deleted the key and said
    // it wrote. The own reader and writer have no such limit.
    ScratchFolder folder("ini");
    const std::string file = folder / "HUGE.INI";
    const std::string huge(100 * 1024, 'A');
    WriteTextFile(file, "[Title]\r\nSetup=" + huge + "\r\nUnSetup=Removal\r\nEmpty=\r\n");
    CHECK((ReadProfile("Title", "Setup", "", file) == huge));
    CHECK(ReadProfile("Title", "UnSetup", huge, file) == "Removal");
    CHECK(ReadProfile("title", "EMPTY", huge, file).empty());
    CHECK((ReadProfile("Title", "Missing", huge, file) == huge));
    CHECK((ReadProfile("Other", "Setup", huge, file) == huge));
    CHECK((ReadProfile("Title", "Setup", huge, folder / "NONE.INI") == huge));

    const std::string longer(40000, 'y');
    CHECK(WriteProfile("Title", "UnSetup", longer, file));
    CHECK((ReadProfile("Title", "UnSetup", "", file) == longer));
    CHECK((ReadProfile("Title", "Setup", "", file) == huge));
}

TEST_CASE("a device name or a path beyond the system's limit is no profile file: a read falls back, a write fails")
{
    // "AUX" opened the serial device, whose read waited for ever; a name of
    // 60 KB was cut short by the file system and written all the same (both
    // from [IniFile] entries of damaged scripts).
    ScratchFolder folder("ini");
    const std::string overLong = folder / std::string(300, 'b') + ".INI";
    for (const std::string& file : {std::string("AUX"), folder / "COM1.INI", std::string("NUL"), overLong,
                                    "(App)" + std::string(300, 'b')}) {
        CAPTURE(file);
        CHECK(ReadProfile("Sec", "Key", "fallback", file) == "fallback");
        CHECK_FALSE(WriteProfile("Sec", "Key", "value", file));
    }
    CHECK(ProfileFileLocation(overLong).empty());
    CHECK(ProfileFileLocation("NAME.INI").size() > std::string("NAME.INI").size());
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA((folder.Path() + "b*").c_str(), &data);
    CHECK(find == INVALID_HANDLE_VALUE);  // nothing made under a shortened name
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_CASE("WriteProfile creates, replaces in place and sees a file changed behind its back")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "NEW.INI";
    CHECK(WriteProfile("A", "K1", "one", file));
    CHECK(WriteProfile("A", "K2", "two", file));
    CHECK(WriteProfile("A", "K1", "uno", file));
    CHECK(WriteProfile("A", "Blank", "", file));
    CHECK(ReadProfile("A", "K1", "", file) == "uno");
    CHECK(ReadProfile("A", "K2", "", file) == "two");
    const std::string text = ReadTextFile(file);
    CHECK(text.find("K1=uno") < text.find("K2=two"));
    CHECK(text.find("Blank=") != std::string::npos);

    // The file is replaced by other means between two writes: each write
    // reads the file afresh.
    WriteTextFile(file, "[B]\r\nX=1\r\n");
    CHECK(WriteProfile("B", "Y", "2", file));
    CHECK(ReadProfile("B", "X", "", file) == "1");
    CHECK(ReadProfile("A", "K1", "", file).empty());
}

TEST_CASE("FindNumberedKey finds the entry of the same path or the first free number")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "UNSETUP.INI";
    WriteTextFile(file,
                  "[DeleteFile]\r\nFile1=c:\\app\\a.dll\r\nFile2=C:\\APP\\B.DLL\r\n"
                  "[Gap]\r\nFile1=x\r\nFile3=C:\\APP\\A.DLL\r\n"
                  "[Comma]\r\nFile1=x\r\nFile2=,/S\r\nFile3=y\r\n"
                  "[Japanese]\r\nFile1=C:\\表\\ａ.DLL,/S\r\n");
    CHECK(FindNumberedKey("C:\\APP\\A.DLL,/S", "DeleteFile", "File", file) == 1);
    CHECK(FindNumberedKey("C:\\APP\\B.DLL", "DeleteFile", "File", file) == 2);
    CHECK(FindNumberedKey("C:\\APP\\C.DLL", "DeleteFile", "File", file) == 3);
    CHECK(FindNumberedKey("C:\\APP\\A.DLL", "Gap", "File", file) == 2);
    CHECK(FindNumberedKey("y", "Comma", "File", file) == 2);
    CHECK(FindNumberedKey("C:\\表\\Ａ.dll", "Japanese", "File", file) == 1);
    CHECK(FindNumberedKey("anything", "Missing", "File", file) == 1);
    CHECK(FindNumberedKey("anything", "DeleteFile", "File", folder / "NONE.INI") == 1);
}

namespace {

// Read back by the system's own profile functions, for comparison.
std::string SystemRead(const std::string& section, const std::string& key, const std::string& file)
{
    std::vector<char> buffer(65536, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<default>", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), length);
}

std::vector<std::string> SystemSection(const std::string& section, const std::string& file)
{
    std::vector<char> buffer(65536, '\0');
    const DWORD length =
        GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> lines;
    for (size_t start = 0; start < length;) {
        const std::string line(buffer.data() + start);
        lines.push_back(line);
        start += line.size() + 1;
    }
    return lines;
}

// A section's lines in one text, so that a failure shows them.
std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line.substr(0, 80) + "|";
    return text;
}

void SystemFlush(const std::string& file)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

// Profile files that hold what trips up a reader: trail bytes 0x5C and 0x7C
// in names and values (表, ソ, ポ), half-width katakana, quotes, blanks and
// Ctrl-Z, duplicate sections and keys, lines without "=", text after "]",
// a line feed without carriage return, long values, no final line end.
const std::string LongValue = std::string(150, 'a') + "表示ソ" + std::string(144, 'z');
const std::string HugeValue = [] {
    std::string value;
    while (value.size() < 6000) value += "ソフト表\\ポ|ｶﾅ-";
    return value;
}();

const std::string UntidyProfile =
    "; first line\r\nLoose=before any section\r\n\r\n"
    "[表示]\r\nソフト=表\\\r\nポ|=ポ|表\r\n  Spaced Key  =  spaced value \t\x1a\r\nQuoted=\" in quotes \"\r\n"
    "Single='x'\r\nHalf=\"x'\r\nNoEquals\r\n;Semi=colon\r\nEq=a=b\r\nｶﾀｶﾅ=ﾊﾝｶｸ ｶﾅ\r\n\r\n"
    "[Dup]\r\nA=first\r\na=second\r\nEmpty=\r\nEmpty=later\r\n"
    "[dup]\r\nA=third\r\nB=in the second [dup]\r\n"
    "[Long]\r\nV300=" + LongValue + "\r\nVHuge=" + HugeValue + "\r\n\r\n"
    "[Trail] text after\r\nX=trail\r\n"
    "[Unix]\nK=lf\nL=lf too\n"
    "[Last]\r\nEnd=no line end";

// The same kinds of content laid out as the system writes a file.
const std::string TidyProfile =
    "[表示]\r\nソフト=表\\\r\nポ|=ポ|表\r\nQuoted=\" in quotes \"\r\nNoEquals\r\nｶﾀｶﾅ=ﾊﾝｶｸ ｶﾅ\r\n"
    "[Dup]\r\nA=first\r\na=second\r\n[dup]\r\nB=2\r\n"
    "[Long]\r\nV300=" + LongValue + "\r\nVHuge=" + HugeValue + "\r\n"
    "[Last]\r\nEnd=last\r\n";

// Every name in the file as written, and changed in case, and some missing.
std::vector<std::pair<std::string, std::string>> QueriesFor(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> queries{{"Missing", "A"}, {"表示", "Missing"}};
    const ProfileText profile = ProfileText::Parse(text);
    for (const ProfileSection& section : profile.Sections()) {
        for (const ProfileKey& key : section.keys) {
            queries.emplace_back(section.name, key.name);
            queries.emplace_back(AsciiUpper(section.name), AsciiUpper(key.name));
            queries.emplace_back(" " + section.name + " ", " " + key.name + "\t");
        }
    }
    return queries;
}

// One change, made by the system and by our writer.
struct Change {
    std::string what;
    std::function<bool(const std::string&)> system;
    std::function<bool(const std::string&)> ours;
};

Change SetValue(const std::string& section, const std::string& key, const std::string& value)
{
    return {"set value " + section + " " + key,
            [=](const std::string& file) {
                return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
            },
            [=](const std::string& file) { return WriteProfile(section, key, value, file); }};
}

Change DeleteKey(const std::string& section, const std::string& key)
{
    return {"delete key " + section + " " + key,
            [=](const std::string& file) {
                return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != 0;
            },
            [=](const std::string& file) { return DeleteProfileKey(section, key, file) == 0; }};
}

Change DeleteSection(const std::string& section)
{
    return {"delete section " + section,
            [=](const std::string& file) {
                return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != 0;
            },
            [=](const std::string& file) { return DeleteProfileSection(section, file) == 0; }};
}

Change SetSection(const std::string& section, const std::vector<std::string>& lines)
{
    return {"set section " + section,
            [=](const std::string& file) {
                std::string block;
                for (const std::string& line : lines) block += line + '\0';
                block += '\0';
                return WritePrivateProfileSectionA(section.c_str(), block.data(), file.c_str()) != 0;
            },
            [=](const std::string& file) { return ReplaceProfileSection(section, lines, file) == 0; }};
}

std::vector<Change> Changes()
{
    return {SetValue("表示", "ソフト", "新しい値ソ"), SetValue("DUP", "a", "changed"), SetValue("Dup", "C", "added"),
            SetValue("Long", "V300", HugeValue), SetValue("Last", "End", "end"), SetValue("Last", "Next", "next"),
            SetValue("表示", "NoEquals", "now with a value"), SetValue("新しいｾｸｼｮﾝ", "ポ|", "ソ"),
            SetValue("Long", "Empty", ""), DeleteKey("表示", "ポ|"), DeleteKey("dup", "A"),
            DeleteKey("Dup", "Missing"), DeleteSection("dup"), DeleteSection("Long"), DeleteSection("Last"),
            DeleteSection("Missing"), SetSection("表示", {"File1=表\\", "File2=ポ|"}), SetSection("New", {"Key1=1"}),
            SetSection("Last", {})};
}

// A file as the system lays it out after any change: the system rewrites
// the whole file at every write.
std::string TidiedBySystem(const std::string& text, const std::string& file)
{
    WriteTextFile(file, text);
    SystemFlush(file);
    WritePrivateProfileStringA("~tidy", "k", "v", file.c_str());
    WritePrivateProfileStringA("~tidy", nullptr, nullptr, file.c_str());
    SystemFlush(file);
    return ReadTextFile(file);
}

// The first line in which two texts differ, with its number; empty when
// they are the same (the texts are long to print whole).
std::string FirstDifference(const std::string& a, const std::string& b)
{
    if (a == b) return "";
    size_t line = 1;
    size_t start = 0;
    for (size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i) {
        if (a[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    const auto lineAt = [start](const std::string& text) { return text.substr(start, text.find('\n', start) - start); };
    return "line " + std::to_string(line) + ": [" + lineAt(a) + "] / [" + lineAt(b) + "]";
}

}  // namespace

TEST_CASE("Our reader reads what GetPrivateProfileStringA and GetPrivateProfileSectionA read")
{
    ScratchFolder folder("ini");
    for (const std::string& text : {UntidyProfile, TidyProfile}) {
        const std::string file = folder / "READ.INI";
        WriteTextFile(file, text);
        SystemFlush(file);
        for (const auto& [section, key] : QueriesFor(text)) {
            CAPTURE(section);
            CAPTURE(key);
            CHECK(ReadProfile(section, key, "<default>", file) == SystemRead(section, key, file));
            CHECK(Joined(ReadProfileSection(section, file)) == Joined(SystemSection(section, file)));
        }
    }
    CHECK(ReadProfile("Long", "VHuge", "", folder / "READ.INI") == HugeValue);
    CHECK(ReadProfile("表示", "ポ|", "", folder / "READ.INI") == "ポ|表");
}

TEST_CASE("Our writer changes a file as WritePrivateProfileStringA and SectionA do")
{
    ScratchFolder folder("ini");
    const std::string systemFile = folder / "SYSTEM.INI";
    const std::string ourFile = folder / "OURS.INI";
    const std::string tidyFile = folder / "TIDY.INI";
    for (const Change& change : Changes()) {
        CAPTURE(change.what);
        // A file in the system's layout comes out byte for byte as the
        // system writes it; so does a file that does not exist yet.
        for (const std::string& text : {TidyProfile, std::string()}) {
            if (text.empty()) {
                DeleteFileA(systemFile.c_str());
                DeleteFileA(ourFile.c_str());
            } else {
                WriteTextFile(systemFile, text);
                WriteTextFile(ourFile, text);
            }
            SystemFlush(systemFile);
            CHECK(change.system(systemFile) == change.ours(ourFile));
            SystemFlush(systemFile);
            CHECK(PathExists(ourFile) == PathExists(systemFile));
            if (PathExists(systemFile) && PathExists(ourFile))
                CHECK(FirstDifference(ReadTextFile(ourFile), ReadTextFile(systemFile)) == "");
        }
        // The system rewrites an untidy file in its own layout; ours keeps
        // the lines it does not change, and means the same line for line.
        WriteTextFile(systemFile, UntidyProfile);
        WriteTextFile(ourFile, UntidyProfile);
        SystemFlush(systemFile);
        CHECK(change.system(systemFile) == change.ours(ourFile));
        SystemFlush(systemFile);
        CHECK(FirstDifference(TidiedBySystem(ReadTextFile(ourFile), tidyFile),
                              TidiedBySystem(ReadTextFile(systemFile), tidyFile)) == "");
    }

    // Nothing but the changed line differs.
    WriteTextFile(ourFile, UntidyProfile);
    REQUIRE(WriteProfile("表示", "Quoted", "new", ourFile));
    std::string expected = UntidyProfile;
    expected.replace(expected.find("Quoted="), std::string("Quoted=\" in quotes \"").size(), "Quoted=new");
    CHECK(FirstDifference(ReadTextFile(ourFile), expected) == "");
}

TEST_CASE("A write that cannot replace the file reports it and leaves the file whole")
{
    ScratchFolder folder("ini");
    const std::string file = folder / "HELD.INI";
    WriteTextFile(file, TidyProfile);
    {
        // Readable, but not to be replaced while it is open.
        HeldOpen held(file, FILE_SHARE_READ);
        CHECK_FALSE(WriteProfile("表示", "ソフト", "x", file));
        CHECK(ReplaceProfileSection("New", {"K=v"}, file) != 0);
        CHECK(ReadProfile("表示", "ソフト", "", file) == "表\\");
    }
    {
        HeldOpen held(file);
        CHECK_FALSE(WriteProfile("表示", "ソフト", "x", file));
        CHECK(DeleteProfileSection("Long", file) != 0);
    }
    CHECK(ReadTextFile(file) == TidyProfile);
    // No temporary file is left behind.
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder / "*.tmp").c_str(), &found));
    CHECK_FALSE(search.Valid());
    // A folder that does not exist fails as well.
    CHECK_FALSE(WriteProfile("S", "K", "v", folder / "NONE\\NEW.INI"));
}
