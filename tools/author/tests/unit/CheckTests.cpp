// The check of a setup script and its distribution folder: one script per
// kind of finding, a clean script that reports nothing, and Shift-JIS
// values whose trail bytes are "\" and "|".
#include <doctest/doctest.h>

#include "LzCompressor.h"
#include "ScriptCheck.h"
#include "script/SetupScript.h"
#include "SystemText.h"
#include "support/Scratch.h"

#include <algorithm>

namespace {

// A distribution folder made for one test.
class TestDistribution {
public:
    TestDistribution() : scratch_("check") {}

    // A file (Shift-JIS name) in the folder, or in a disk folder.
    void Add(const std::string& name, const std::string& disk = "")
    {
        const auto folder = disk.empty() ? scratch_.Path() : scratch_ / disk;
        std::filesystem::create_directories(folder);
        WriteText(Named(folder, name), "contents of " + name);
    }

    void AddCompressed(const std::string& name, unsigned char stored)
    {
        WriteBytes(Named(scratch_.Path(), name), CompressLz(BytesOf("compressed"), stored));
    }

    std::vector<Finding> Check(const std::string& script, const std::string& disk = "")
    {
        const auto folder = disk.empty() ? scratch_.Path() : scratch_ / disk;
        std::filesystem::create_directories(folder);
        WriteText(folder / "SETUP.INI", script);
        // The rules on their own: a fragment of a script is checked as if
        // it were whole (the loading refuses one without [Title] and
        // [CopyFile]). One without [Product] is given a version, so that
        // it shows the findings of the sections it is about; the missing
        // version has a test of its own.
        const std::string whole = script.find("[Product]") == std::string::npos
                                      ? script + "[Product]\r\nVersion=1.0\r\n"
                                      : script;
        return CheckScript(ParseSetupScript(whole), Distribution::OfScript(folder / "SETUP.INI"));
    }

private:
    Scratch scratch_;
};

// "[Section] Key" of each finding, in order.
std::vector<std::string> Places(const std::vector<Finding>& findings)
{
    std::vector<std::string> places;
    for (const auto& finding : findings) places.push_back("[" + finding.section + "] " + finding.key);
    return places;
}

bool Says(const std::vector<Finding>& findings, const std::string& words)
{
    return std::any_of(findings.begin(), findings.end(),
                       [&](const Finding& f) { return f.explanation.find(words) != std::string::npos; });
}

const std::string kCleanScript =
    "[Title]\r\nSetup=\x83\x65\x83\x58\x83\x67\r\n"
    "[DefaultFolder]\r\nFolder=(Prg)\\Orvane Test\\\r\nReferRegistry=(Local)SOFTWARE\\Orvane\\Test,Path\r\n"
    "[Extend]\r\nSetupSpeed=100\r\n"
    "[Readme]\r\nFile=\\README.TXT\r\nTitle=Read me\r\n"
    "[CopyFile]\r\nFile1=(App)\\VIEW.EXE,/W\r\nFile2=(App)\\README.TX_\r\nFile3=(Sys)\\SHARED.DLL,/S/R\r\n"
    "File4=(App)\\DATA\\DATA.BIN|TABLE.BIN\r\n"
    "[MakeFolder]\r\nFolder1=(App)\\DATA\r\n"
    "[ShortCut]\r\nMake1=(App)\\VIEW.EXE,%1\r\nName1=(Sta)Orvane\\Viewer\r\nMake2=(App)\\VIEW.EXE\r\n"
    "Name2=(C_Dsk)Viewer\r\nMake3=(App)\\VIEW.EXE\r\nName3=Default\r\n"
    "[Registry]\r\nKey1=(Local)SOFTWARE\\Orvane\\Test\r\nName1=Path\r\nValue1=(Pdd)(Str)(App)\r\n"
    "Key2=Software\\Orvane\r\nName2=Count\r\nValue2=(Dwd)5\r\n"
    "[IniFile]\r\nData1=Opt,Path,(App),(Win)TOOL.INI\r\n"
    "[DeleteRegistry]\r\nKey1=(Local)SOFTWARE\\Orvane\r\n"
    "[AddDeleteFile]\r\nFile1=(App)\\*.LOG\r\n"
    "[Relate]\r\nName1=ovt,Orvane file\r\nFile1=open,(App)\\VIEW.EXE,%1,0\r\n"
    "[ExecuteFile]\r\nFile=WINDOWS_REBOOT\r\n"
    "[Product]\r\nVersion=2.10.0.7\r\nPublisher=Orvane\r\nURL=https://example.jp/\r\nIcon=(App)\\VIEW.EXE,-1\r\n"
    "License=MIT\r\nDescription=表示\x81\x5Cソフト\r\n";

void AddCleanFiles(TestDistribution& distribution)
{
    distribution.Add("VIEW.EXE");
    distribution.Add("README.TXT");
    distribution.AddCompressed("README.TX_", 'T');
    distribution.Add("shared.dll");
    distribution.Add("DATA.BIN");
}

}  // namespace

TEST_CASE("A script that says what its author means gives no finding")
{
    TestDistribution distribution;
    AddCleanFiles(distribution);
    CHECK(Places(distribution.Check(kCleanScript)).empty());
}

TEST_CASE("Numbered lists: entries after a gap, numbers with leading zeros, duplicates")
{
    TestDistribution distribution;
    const auto findings = distribution.Check(
        "[MakeFolder]\r\nFolder1=(App)\\A\r\nFolder9=(App)\\LATE\r\n"
        "[AddDeleteFile]\r\nFile1=(App)\\*.LOG\r\nFile3=(App)\\*.TMP\r\nFile01=(App)\\*.BAK\r\nFile2=\r\n"
        "[makefolder]\r\nFolder2=(App)\\B\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[makefolder] ", "[MakeFolder] Folder9",
                                                       "[AddDeleteFile] File3", "[AddDeleteFile] File01"});
    CHECK(Says(findings, "a second [makefolder] section (line 9) is never read"));
    CHECK(Says(findings, "never read: the list stops at Folder2, which is missing"));
    CHECK(Says(findings, "never read: the list stops at File2, which is empty"));
    CHECK(Says(findings, "leading zeros"));

    const auto gap = distribution.Check("[Registry]\r\nKey1=(Cuser)A\r\nValue1=(Str)x\r\nKey3=(Cuser)B\r\n"
                                        "Value3=(Str)y\r\nKey1=(Cuser)C\r\n");
    CHECK(Places(gap) == std::vector<std::string>{"[Registry] Key1", "[Registry] Key3"});
    CHECK(Says(gap, "written again on line 6"));
    CHECK(Says(gap, "the list stops at Key2, which is missing"));
}

TEST_CASE("[CopyFile] sources missing from the folder or from their disk folder")
{
    TestDistribution distribution;
    distribution.Add("A.EXE", "DISK1");
    distribution.Add("B.EXE", "DISK2");
    distribution.Add("C.EXE", "DISK1");
    const auto findings = distribution.Check(
        "[CopyFile]\r\nFile1=(App)\\a.exe\r\nFile2=(Dch)(App)\\B.EXE\r\nFile3=(App)\\C.EXE\r\nFile4=(App)\\D.EXE\r\n"
        "File5=(App)\\SUB\\\r\n",
        "DISK1");
    CHECK(Places(findings) == std::vector<std::string>{"[CopyFile] File3", "[CopyFile] File4", "[CopyFile] File5"});
    CHECK(Says(findings, "\"C.EXE\" is not in DISK2, the disk it is read from (it is in DISK1)"));
    CHECK(Says(findings, "\"D.EXE\" is not in DISK2"));
    CHECK(Says(findings, "names no source file"));

    TestDistribution flat;
    flat.Add("A.EXE");
    flat.Add("X", "DATA");
    const auto flatFindings = flat.Check(
        "[CopyFile]\r\nFile1=(App)\\A.EXE\r\nFile2=(Dch)(App)\\B.EXE|X.EXE,/W\r\nFile3=(App)\\DATA\r\n");
    CHECK(Places(flatFindings) == std::vector<std::string>{"[CopyFile] File2", "[CopyFile] File3"});
    CHECK(Says(flatFindings, "\"B.EXE\" is not in the distribution folder"));
    CHECK(Says(flatFindings, "\"DATA\" is a folder, not a file"));
}

TEST_CASE("[CopyFile] \"_\" files that are not compressed, or whose name the expander cannot give back")
{
    TestDistribution distribution;
    distribution.Add("PLAIN.TX_");
    distribution.AddCompressed("NOEXT_", 'T');
    distribution.AddCompressed("OK.TX_", 'T');
    const auto findings = distribution.Check(
        "[CopyFile]\r\nFile1=(App)\\PLAIN.TX_\r\nFile2=(App)\\NOEXT_\r\nFile3=(App)\\NOEXT_|NOEXT\r\nFile4=(App)\\OK.TX_\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[CopyFile] File1", "[CopyFile] File2"});
    CHECK(Says(findings, "is not compressed: the installer copies it unchanged, under the name \"PLAIN.TX_\""));
    CHECK(Says(findings, "it is installed as \"NOEXT_\""));
}

TEST_CASE("A disk-change mark in the wrong letter case")
{
    TestDistribution distribution;
    distribution.Add("A.EXE");
    const auto findings = distribution.Check("[CopyFile]\r\nFile1=(dch)(App)\\A.EXE\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[CopyFile] File1"});
    CHECK(Says(findings, "begins with \"(dch)\", not \"(Dch)\": no disk change"));
}

TEST_CASE("Registry root and type tokens in the wrong letter case, unknown, or missing")
{
    TestDistribution distribution;
    const auto findings = distribution.Check(
        "[Registry]\r\nKey1=(local)SOFTWARE\\A\r\nValue1=(str)text\r\nKey2=(HKLM)SOFTWARE\\B\r\nValue2=(Str)x\r\n"
        "Key3=(cuser)Software\\C\r\nValue3=C:\\plain\r\nKey4=(Cuser)D\r\nValue4=(pdd)(Exp)%PATH%\r\n"
        "[DeleteRegistry]\r\nKey1=(CLASS).ovt\r\n"
        "[DefaultFolder]\r\nReferRegistry=(users)S-1\\Path,Folder\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[Registry] Key1", "[Registry] Value1", "[Registry] Key2",
                                                       "[Registry] Value3", "[DeleteRegistry] Key1",
                                                       "[DefaultFolder] ReferRegistry"});
    CHECK(Says(findings, "root token \"(local)\" is not \"(Local)\": the key goes under HKEY_CURRENT_USER"));
    CHECK(Says(findings, "type token \"(str)\" is not \"(Str)\""));
    CHECK(Says(findings, "\"(HKLM)S\" is taken as a root token"));
    CHECK(Says(findings, "as \"OFTWARE\\B\""));
    CHECK(Says(findings, "\"C:\\plain\" has no type token"));
    CHECK(Says(findings, "root token \"(users)\" is not \"(Users)\""));
}

TEST_CASE("Parenthesised words that are no location token")
{
    TestDistribution distribution;
    distribution.Add("(Dch)A.EXE");
    const auto findings = distribution.Check(
        "[CopyFile]\r\nFile1=(App)\\(Dch)A.EXE\r\n"
        "[MakeFolder]\r\nFolder1=(Prog)\\Tool\r\nFolder2=(win)\\Tool\r\nFolder3=(Prg)\\Tool (x86)\r\n"
        "[Registry]\r\nKey1=(Local)A\r\nValue1=(Pdd)(Str)(Appl)\r\n"
        "[ExecuteFile]\r\nFile=(Apps)\\A.EXE\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[CopyFile] File1", "[MakeFolder] Folder1",
                                                       "[Registry] Value1", "[ExecuteFile] File"});
    CHECK(Says(findings, "\"(Dch)\" marks a disk change only at the very start"));
    CHECK(Says(findings, "\"(Prog)\" is not a location token"));
    CHECK(Says(findings, "\"(Appl)\" is not a location token"));
}

TEST_CASE("[Relate] pairs with one side empty")
{
    TestDistribution distribution;
    const auto findings = distribution.Check(
        "[Relate]\r\nName1=aaa\r\nFile1=open,(App)\\A.EXE,%1,0\r\nName3=ccc\r\nFile5=open,(App)\\E.EXE,0\r\n"
        "Name6=fff\r\nFile6=\r\nName21=uuu\r\nFile21=open,(App)\\U.EXE,0\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[Relate] Name21", "[Relate] File21", "[Relate] Name3",
                                                       "[Relate] File5", "[Relate] Name6"});
    CHECK(Says(findings, "File3 is missing or empty: the pair is skipped"));
    CHECK(Says(findings, "only the pairs Name1/File1 to Name20/File20"));
}

TEST_CASE("[ShortCut] names that no check box governs")
{
    TestDistribution distribution;
    const auto findings = distribution.Check(
        "[ShortCut]\r\nMake1=(App)\\A.EXE\r\nName1=(Dsk)A\r\nMake2=(App)\\B.EXE\r\nName2=(Smn)B\r\n"
        "Make3=(App)\\C.EXE\r\nName3=Viewer\r\nMake4=(App)\\D.EXE\r\nName4=default\r\nMake5=(App)\\E.EXE\r\n"
        "Name5=\r\nMake6=(App)\\F.EXE\r\nMake7=(App)\\G.EXE\r\nName7=(Sen)G\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[ShortCut] Name2", "[ShortCut] Name3", "[ShortCut] Name4",
                                                       "[ShortCut] Name5", "[ShortCut] Name6"});
    CHECK(Says(findings, "no check box governs \"(Smn)B\": the shortcut is always made"));
    CHECK(Says(findings, "only \"Default\", written exactly so"));
    CHECK(Says(findings, "is empty: no check box governs it"));
    CHECK(Says(findings, "is missing: the installer names the shortcut \"Default\""));
}

TEST_CASE("WINDOWS_REBOOT in the wrong case, a SetupSpeed that is no number, a readme that is not there")
{
    TestDistribution distribution;
    auto findings = distribution.Check("[ExecuteFile]\r\nFile=Windows_Reboot\r\n[Extend]\r\nSetupSpeed=fast\r\n"
                                       "[Readme]\r\nFile=README.TXT\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[ExecuteFile] File", "[Extend] SetupSpeed", "[Readme] File"});
    CHECK(Says(findings, "no restart is offered"));
    CHECK(Says(findings, "\"fast\" is not a whole number"));
    CHECK(Says(findings, "\"README.TXT\" is not in the distribution folder"));

    findings = distribution.Check("[Extend]\r\nSetupSpeed=\r\n[Readme]\r\nFile=C:\\DOCS\\README.TXT\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[Extend] SetupSpeed", "[Readme] File"});
    CHECK(Says(findings, "is a full path"));

    distribution.Add("README.TXT");
    CHECK(distribution.Check("[Extend]\r\nSetupSpeed=-5\r\n[Readme]\r\nFile=\\readme.txt\r\n").empty());
    CHECK(Places(distribution.Check("[Extend]\r\nSetupSpeed=99999999999\r\n")) ==
          std::vector<std::string>{"[Extend] SetupSpeed"});
}

TEST_CASE("[Product]: a version that is no dotted number, a web address without its scheme, an icon number that is none")
{
    TestDistribution distribution;
    auto findings =
        distribution.Check("[Product]\r\nVersion=2.1 beta\r\nURL=www.example.jp\r\nIcon=(App)\\VIEW.EXE,first\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[Product] Version", "[Product] URL", "[Product] Icon"});
    CHECK(Says(findings, "\"2.1 beta\" is not up to four numbers"));
    CHECK(Says(findings, "does not start with http:// or https://"));
    CHECK(Says(findings, "which is no icon number"));
    for (const char* version : {"1.2.3.4.5", "1..2", ".1", "1."}) {
        CAPTURE(version);
        CHECK(Places(distribution.Check(std::string("[Product]\r\nVersion=") + version + "\r\n")) ==
              std::vector<std::string>{"[Product] Version"});
    }
    CHECK(distribution.Check("[Product]\r\nVersion=7\r\nIcon=(App)\\VIEW.EXE\r\nURL=HTTPS://EXAMPLE.JP\r\n").empty());
}

TEST_CASE("[Product]: a license or description winget refuses, and a key nothing reads")
{
    TestDistribution distribution;
    const std::string longDescription(257, 'x');
    auto findings = distribution.Check("[Product]\r\nLicense=\r\nDescription=" + longDescription +
                                       "\r\nLicence=MIT\r\n; the product\r\n");
    CHECK(Places(findings) ==
          std::vector<std::string>{"[Product] Version", "[Product] License", "[Product] Description", "[Product] Licence"});
    CHECK(Says(findings, "is empty, where winget needs 3 to 512"));
    CHECK(Says(findings, "has 257 characters, where winget needs 3 to 256"));
    CHECK(Says(findings, "is no key of [Product]"));
    // Characters, not bytes: three two-byte characters are enough.
    CHECK(distribution.Check("[Product]\r\nVersion=1\r\nLicense=表示字\r\nDescription=表示字\r\n").empty());
    CHECK(Places(distribution.Check("[Product]\r\nVersion=1\r\nLicense=表示\r\n")) ==
          std::vector<std::string>{"[Product] License"});
}

TEST_CASE("[Product]: without a version no install can tell an upgrade from a downgrade; a setup-only script needs none")
{
    TestDistribution distribution;
    const auto findings = distribution.Check("[Title]\r\nSetup=Viewer\r\n[Product]\r\nPublisher=Orvane\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[Product] Version"});
    CHECK(Says(findings, "is missing: SETUP.EXE cannot tell an upgrade from a downgrade"));
    CHECK(distribution.Check("[Title]\r\nUnSetup=Viewer, Setup Only.\r\n[Product]\r\nPublisher=Orvane\r\n").empty());
}

TEST_CASE("[Product] Scope: a value that is none of the three, and a user install that needs the machine")
{
    TestDistribution distribution;
    auto findings = distribution.Check("[Product]\r\nVersion=1.0\r\nScope=Everyone\r\n");
    CHECK(Places(findings) == std::vector<std::string>{"[Product] Scope"});
    CHECK(Says(findings, "\"Everyone\" is none of Machine, User and Either"));
    const std::string needsMachine = "[CopyFile]\r\nFile1=(App)\\A.EXE\r\nFile2=(App)\\B.DLL,/S\r\n"
                                     "[Registry]\r\nKey1=(Local)SYSTEM\\X\r\nValue1=(Str)1\r\n";
    distribution.Add("A.EXE");
    distribution.Add("B.DLL");
    CHECK(distribution.Check(needsMachine).empty());  // machine install: everything allowed
    findings = distribution.Check("[Product]\r\nVersion=1.0\r\nScope=either\r\n" + needsMachine);
    CHECK(Places(findings) == std::vector<std::string>{"[Product] Scope"});
    CHECK(Says(findings, "cannot carry out [CopyFile] File2=(App)\\B.DLL,/S"));
    CHECK(Says(distribution.Check("[Product]\r\nVersion=1.0\r\nScope=User\r\n[Registry]\r\nKey1=(Local)SYSTEM\\X\r\n"
                                  "Value1=(Str)1\r\n"),
               "cannot carry out [Registry] Key1=(Local)SYSTEM\\X"));
    CHECK(distribution.Check("[Product]\r\nVersion=1.0\r\nScope=User\r\n[Registry]\r\nKey1=(Local)SOFTWARE\\X\r\n"
                             "Value1=(Str)1\r\n").empty());
}

TEST_CASE("Shift-JIS values whose trail bytes are \"\\\" and \"|\" are taken apart at the real separators")
{
    // ソ (0x83 0x5C) and 表 (0x95 0x5C) end in a backslash, ポ (0x83 0x7C) in a bar.
    const std::string software = "\x83\x5C\x83\x74\x83\x67";
    const std::string display = "\x95\x5C\x8E\xA6";
    const std::string port = "\x83\x7C\x81\x5B\x83\x67";
    TestDistribution distribution;
    distribution.Add(display + ".EXE");
    distribution.Add(port + ".DAT");
    distribution.Add(software + "\x95\x5C.TXT");
    const std::string script = "[CopyFile]\r\nFile1=(App)\\" + software + "\\" + display + ".EXE\r\n"
                               "File2=(App)\\" + port + ".DAT|" + port + "\\" + display + ".DAT,/W\r\n"
                               "File3=(App)\\" + software + "\x95\x5C.TXT\r\n"
                               "File4=(App)\\" + port + "\\" + display + "\\MISSING" + software + ".DLL\r\n"
                               "[ShortCut]\r\nMake1=(App)\\" + software + "\\" + display + ".EXE\r\n"
                               "Name1=(Dsk)" + display + software + "\r\n"
                               "[Registry]\r\nKey1=(Local)SOFTWARE\\" + software + "\r\nValue1=(Str)" + display + "\r\n";
    const auto findings = distribution.Check(script);
    REQUIRE(Places(findings) == std::vector<std::string>{"[CopyFile] File4"});
    // The finding names the missing file readably.
    const std::string line = Utf8FromCp932(FormatFinding(findings[0]));
    // ソフト in UTF-8.
    CHECK(line.starts_with("[CopyFile] File4: source file \"MISSING\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88.DLL\" is "
                           "not in the distribution folder"));
}
