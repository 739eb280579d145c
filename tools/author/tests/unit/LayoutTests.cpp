// Laying out a distribution: compressed and copied sources, disk folders,
// SETUP.EXE on the first and the last disk, and what stops a layout.
#include <doctest/doctest.h>

#include "Distribution.h"
#include "FileData.h"
#include "Layout.h"
#include "LzCompressor.h"
#include "ScriptCheck.h"
#include "ScriptFile.h"
#include "support/Expander.h"
#include "support/Scratch.h"

#include <algorithm>

namespace {

class LayoutFixture {
public:
    LayoutFixture() : scratch_("layout")
    {
        std::filesystem::create_directories(Source());
        request_.sourceFolder = Source();
        request_.script = Source() / "SETUP.INI";
        request_.setupExe = scratch_ / "SETUP.EXE";
        request_.destination = scratch_ / "dist";
        WriteText(request_.setupExe, "MZ setup program");
    }

    std::filesystem::path Source() const { return scratch_ / "source"; }
    std::filesystem::path Destination() const { return request_.destination; }
    LayoutRequest& Request() { return request_; }

    void Add(const std::string& name, const std::string& contents = "")
    {
        WriteText(Named(Source(), name), contents.empty() ? "contents of " + name : contents);
    }

    LayoutPlan Plan(const std::string& script)
    {
        WriteText(request_.script, script);
        std::string error;
        const auto profile = LoadScript(request_.script, error);
        REQUIRE(profile.has_value());
        return PlanLayout(*profile, request_);
    }

    // Plans and carries out; the files made, as the layout lists them.
    std::vector<std::string> LayOut(const std::string& script)
    {
        const LayoutPlan plan = Plan(script);
        REQUIRE(plan.problems.empty());
        std::vector<std::string> made;
        std::string error;
        REQUIRE_MESSAGE(CarryOutLayout(plan, Destination(), made, error), error);
        std::sort(made.begin(), made.end());
        return made;
    }

    std::vector<Finding> CheckResult()
    {
        const Distribution distribution = Distribution::At(Destination());
        std::string error;
        const auto profile = LoadScript(distribution.DiskFolder(1) / "SETUP.INI", error);
        REQUIRE(profile.has_value());
        return CheckScript(*profile, distribution);
    }

private:
    Scratch scratch_;
    LayoutRequest request_;
};

std::vector<uint8_t> Expanded(const std::filesystem::path& file)
{
    return ExpandIndependently(file).value_or(std::vector<uint8_t>{});
}

}  // namespace

TEST_CASE("A flat layout compresses marked sources from their originals and copies the rest")
{
    LayoutFixture fixture;
    fixture.Add("README.TXT");
    fixture.Add("VIEW.EXE");
    fixture.Add("help.txt", "help text, help text, help text");
    fixture.Add("LIB.DLL");
    fixture.Add("TOOL.C");
    fixture.Add("NOTES");
    WriteBytes(fixture.Source() / "READY.BI_", CompressLz(BytesOf("made earlier"), 'N'));
    const auto old = std::filesystem::last_write_time(fixture.Source() / "help.txt") - std::chrono::hours(24 * 400);
    std::filesystem::last_write_time(fixture.Source() / "help.txt", old);

    const auto made = fixture.LayOut(
        "[Readme]\r\nFile=README.TXT\r\n[CopyFile]\r\nFile1=(App)\\VIEW.EXE\r\nFile2=(App)\\HELP.TX_\r\n"
        "File3=(App)\\LIB.DL_|LIB.DLL\r\nFile4=(App)\\TOOL.C_\r\nFile5=(App)\\NOTES._\r\nFile6=(App)\\READY.BI_\r\n"
        "File7=(App)\\view.exe,/W\r\n[Product]\r\nVersion=1.0\r\n");
    CHECK(made == std::vector<std::string>{"HELP.TX_", "LIB.DL_", "NOTES._", "README.TXT", "READY.BI_", "SETUP.EXE",
                                           "SETUP.INI", "TOOL.C_", "VIEW.EXE"});
    const auto dist = fixture.Destination();
    CHECK(Expanded(dist / "HELP.TX_") == BytesOf("help text, help text, help text"));
    CHECK(StoredLastChar(dist / "HELP.TX_") == 't');
    CHECK(std::filesystem::last_write_time(dist / "HELP.TX_") == old);
    CHECK(Expanded(dist / "LIB.DL_") == BytesOf("contents of LIB.DLL"));
    CHECK(StoredLastChar(dist / "TOOL.C_") == 0);
    CHECK(StoredLastChar(dist / "NOTES._") == 0);
    CHECK(Expanded(dist / "READY.BI_") == BytesOf("made earlier"));
    CHECK(ReadBytes(dist / "SETUP.EXE") == BytesOf("MZ setup program"));
    CHECK(ReadBytes(dist / "VIEW.EXE") == BytesOf("contents of VIEW.EXE"));
    CHECK_FALSE(std::filesystem::exists(dist / "DISK1"));
    CHECK(fixture.CheckResult().empty());
}

TEST_CASE("Disk changes lay out DISK1, DISK2, ... with SETUP.EXE also on the last disk")
{
    LayoutFixture fixture;
    fixture.Add("A.EXE");
    fixture.Add("B.DAT");
    fixture.Add("C.EXE");
    fixture.Add("D.EXE");
    const auto made = fixture.LayOut(
        "[CopyFile]\r\nFile1=(App)\\A.EXE\r\nFile2=(Dch)(App)\\B.DA_\r\nFile3=(App)\\C.EXE\r\n"
        "File4=(Dch)(App)\\D.EXE\r\nFile5=(App)\\A.EXE\r\n[Product]\r\nVersion=1.0\r\n");
    CHECK(made == std::vector<std::string>{"DISK1\\A.EXE", "DISK1\\SETUP.EXE", "DISK1\\SETUP.INI", "DISK2\\B.DA_",
                                           "DISK2\\C.EXE", "DISK3\\A.EXE", "DISK3\\D.EXE", "DISK3\\SETUP.EXE"});
    CHECK(Expanded(fixture.Destination() / "DISK2" / "B.DA_") == BytesOf("contents of B.DAT"));
    CHECK(fixture.CheckResult().empty());
}

TEST_CASE("A token right before the name: laid out under the name the copy reads, and check says what the measuring does")
{
    // Every token's folder ends in "\\": (Sys)ACCSHR.DLL installs ACCSHR.DLL,
    // though the measuring step looks for "(Sys)ACCSHR.DLL" as written.
    LayoutFixture fixture;
    fixture.Add("ACCSHR.DLL");
    fixture.Add("DATA.BIN");
    fixture.Add("PLAIN.TXT");
    const std::string script = "[CopyFile]\r\nFile1=(Sys)ACCSHR.DLL,/S\r\nFile2=(app)DATA.BI_|TABLE.BIN\r\n"
                               "File3=(App)\\PLAIN.TXT\r\n[Product]\r\nVersion=1.0\r\n";
    const LayoutPlan plan = fixture.Plan(script);
    CHECK(plan.problems.empty());
    REQUIRE(plan.warnings.size() == 2);
    CHECK(plan.warnings[0].find("\"(Sys)ACCSHR.DLL\"") != std::string::npos);
    CHECK(plan.warnings[1].find("\"(app)DATA.BI_\"") != std::string::npos);
    CHECK(fixture.LayOut(script) ==
          std::vector<std::string>{"ACCSHR.DLL", "DATA.BI_", "PLAIN.TXT", "SETUP.EXE", "SETUP.INI"});
    CHECK(Expanded(fixture.Destination() / "DATA.BI_") == BytesOf("contents of DATA.BIN"));

    // The copy finds its files; check says what the install will do
    // instead of calling them missing.
    const auto findings = fixture.CheckResult();
    REQUIRE(findings.size() == 2);
    CHECK(findings[0].key == "File1");
    CHECK(findings[1].key == "File2");
    for (const Finding& finding : findings) {
        CHECK(finding.explanation.find("counts entries instead of bytes") != std::string::npos);
        CHECK(finding.explanation.find("not in the distribution folder") == std::string::npos);
    }
}

TEST_CASE("Shift-JIS names are found, compressed and written as the script spells them")
{
    LayoutFixture fixture;
    const std::string display = "\x95\x5C\x8E\xA6";  // 表示, trail byte "\"
    fixture.Add(display + ".TXT");
    fixture.Add("\x83\x7C\x81\x5B\x83\x67.EXE");  // ポート, trail byte "|"
    const auto made = fixture.LayOut("[CopyFile]\r\nFile1=(App)\\" + display + ".TX_\r\n"
                                     "File2=(App)\\\x83\x7C\x81\x5B\x83\x67.EXE|X.EXE\r\n");
    CHECK(std::count(made.begin(), made.end(), display + ".TX_") == 1);
    CHECK(Expanded(Named(fixture.Destination(), display + ".TX_")) == BytesOf("contents of " + display + ".TXT"));
    CHECK(std::filesystem::exists(Named(fixture.Destination(), "\x83\x7C\x81\x5B\x83\x67.EXE")));
}

TEST_CASE("A layout with missing or doubtful sources is refused as a whole")
{
    LayoutFixture fixture;
    fixture.Add("X.TXT");
    fixture.Add("X.TXA");
    fixture.Add("PLAIN.BI_");
    std::filesystem::create_directories(fixture.Source() / "FOLDER.EXE");
    std::filesystem::create_directories(fixture.Destination());
    WriteText(fixture.Destination() / "OLD.TXT", "left from before");
    fixture.Request().setupExe = fixture.Source() / "NO-SETUP.EXE";

    const LayoutPlan plan = fixture.Plan("[Readme]\r\nFile=README.TXT\r\n[CopyFile]\r\nFile1=(App)\\MISSING.EXE\r\n"
                                         "File2=(App)\\X.TX_\r\nFile3=(App)\\PLAIN.BI_\r\nFile4=(App)\\NONE.DA_\r\n"
                                         "File5=(App)\\SUB\\\r\nFile6=(App)\\FOLDER.EXE\r\n");
    const auto mentions = [&](const std::string& words) {
        return std::any_of(plan.problems.begin(), plan.problems.end(),
                           [&](const std::string& p) { return p.find(words) != std::string::npos; });
    };
    CHECK(plan.problems.size() == 9);
    CHECK(mentions("exists and is not an empty folder"));
    CHECK(mentions("SETUP.EXE not found"));
    CHECK(mentions("[Readme] File: \"README.TXT\" is not a file in the source folder"));
    CHECK(mentions("File1: \"MISSING.EXE\" is not a file in the source folder"));
    CHECK(mentions("File6: \"FOLDER.EXE\" is not a file in the source folder"));
    CHECK(mentions("File2: more than one original for \"X.TX_\""));
    CHECK(mentions("File3: no original for \"PLAIN.BI_\""));
    CHECK(mentions("and the file of that name is not compressed"));
    CHECK(mentions("File4: no original for \"NONE.DA_\""));
    CHECK(mentions("File5: \"(App)\\SUB\\\" names no source file"));
}
