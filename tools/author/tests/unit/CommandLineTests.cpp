// The program as an author runs it on Linux: names, time stamps, exit
// statuses and readable output. (The Windows form's commands share all of
// this code but the console output.)
#ifndef _WIN32

#include <doctest/doctest.h>

#include "support/Expander.h"
#include "support/Scratch.h"

#include <string>

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run Orvauthor(const Scratch& scratch, const std::string& arguments)
{
    const auto out = scratch / "stdout.txt";
    const auto err = scratch / "stderr.txt";
    const int status = RunShell(ShellQuoted(ORVAUTHOR_PROGRAM) + " " + arguments + " >" + ShellQuoted(out) + " 2>" +
                                ShellQuoted(err));
    const auto text = [](const std::filesystem::path& file) {
        const auto bytes = ReadBytes(file);
        return std::string(bytes.begin(), bytes.end());
    };
    return {status, text(out), text(err)};
}

}  // namespace

TEST_CASE("compress names the output, keeps the time stamp and refuses what it cannot name")
{
    Scratch scratch("cli-compress");
    const auto file = scratch / "README.TXT";
    WriteText(file, "read me, read me, read me");
    const auto stamp = std::filesystem::last_write_time(file) - std::chrono::hours(50);
    std::filesystem::last_write_time(file, stamp);
    WriteText(scratch / "DATA_", "x");
    std::filesystem::create_directories(scratch / "out");

    Run run = Orvauthor(scratch, "compress " + ShellQuoted(file));
    CHECK(run.status == 0);
    CHECK(std::filesystem::last_write_time(scratch / "README.TX_") == stamp);
    CHECK(ExpandIndependently(scratch / "README.TX_") == BytesOf("read me, read me, read me"));

    run = Orvauthor(scratch, "compress -d " + ShellQuoted(scratch / "out") + " " + ShellQuoted(file) + " " +
                                 ShellQuoted(scratch / "DATA_"));
    CHECK(run.status == 1);
    CHECK(std::filesystem::exists(scratch / "out" / "README.TX_"));
    CHECK(run.err.find("DATA_: the name already ends in \"_\"") != std::string::npos);
}

TEST_CASE("check exits 0 when clean, 1 with findings in readable UTF-8, 2 on an unreadable script")
{
    Scratch scratch("cli-check");
    WriteText(scratch / "SETUP.INI", "[Title]\r\nSetup=\x83\x65\x83\x58\x83\x67\r\n[Product]\r\nVersion=1.0\r\n");
    Run run = Orvauthor(scratch, "check " + ShellQuoted(scratch.Path()));
    CHECK(run.status == 0);
    CHECK(run.out.empty());

    WriteText(scratch / "SETUP.INI", "[CopyFile]\r\nFile1=(App)\\\x95\x5C\x8E\xA6.EXE\r\n[Product]\r\nVersion=1.0\r\n");
    run = Orvauthor(scratch, "check " + ShellQuoted(scratch / "SETUP.INI"));
    CHECK(run.status == 1);
    // 表示 in UTF-8.
    CHECK(run.out == "[CopyFile] File1: source file \"\xE8\xA1\xA8\xE7\xA4\xBA.EXE\" is not in the distribution "
                     "folder: the installer reports it missing and installs nothing for this entry\n");

    run = Orvauthor(scratch, "check " + ShellQuoted(scratch / "NONE.INI"));
    CHECK(run.status == 2);
    CHECK(run.err.find("cannot read") != std::string::npos);

    // What SETUP.EXE refuses to install from, check refuses as it does.
    WriteText(scratch / "SETUP.INI", "[DefaultFolder]\r\nFolder=(Prg)\\App\r\n[Registry]\r\nKey1=(Cuser)Software\\A\r\n");
    run = Orvauthor(scratch, "check " + ShellQuoted(scratch / "SETUP.INI"));
    CHECK(run.status == 2);
    CHECK(run.err.find("neither a [Title] nor a [CopyFile] section") != std::string::npos);
}

TEST_CASE("layout writes a distribution that check finds clean, and nothing when a source is missing")
{
    Scratch scratch("cli-layout");
    std::filesystem::create_directories(scratch / "src");
    WriteText(scratch / "src" / "SETUP.INI",
              "[CopyFile]\r\nFile1=(App)\\VIEW.EXE\r\nFile2=(Dch)(App)\\DATA.BI_\r\n[Product]\r\nVersion=1.0\r\n");
    WriteText(scratch / "src" / "VIEW.EXE", "program");
    WriteText(scratch / "src" / "DATA.BIN", "data data data data");
    WriteText(scratch / "SETUP.EXE", "MZ");
    const std::string setup = "--setup-exe " + ShellQuoted(scratch / "SETUP.EXE");

    Run run = Orvauthor(scratch, "layout " + setup + " " + ShellQuoted(scratch / "src") + " " +
                                     ShellQuoted(scratch / "dist"));
    CHECK(run.status == 0);
    CHECK(run.out == "DISK1\\SETUP.INI\nDISK1\\SETUP.EXE\nDISK2\\SETUP.EXE\nDISK1\\VIEW.EXE\nDISK2\\DATA.BI_\n");
    CHECK(ExpandIndependently(scratch / "dist" / "DISK2" / "DATA.BI_") == BytesOf("data data data data"));
    CHECK(Orvauthor(scratch, "check " + ShellQuoted(scratch / "dist")).status == 0);

    std::filesystem::remove(scratch / "src" / "VIEW.EXE");
    run = Orvauthor(scratch, "layout " + setup + " " + ShellQuoted(scratch / "src") + " " +
                                 ShellQuoted(scratch / "dist2"));
    CHECK(run.status == 1);
    CHECK(run.err.find("\"VIEW.EXE\" is not a file in the source folder") != std::string::npos);
    CHECK_FALSE(std::filesystem::exists(scratch / "dist2"));
}

TEST_CASE("help names the three commands; a wrong command or missing arguments exit 2")
{
    Scratch scratch("cli-help");
    const Run help = Orvauthor(scratch, "--help");
    CHECK(help.status == 0);
    for (const char* command : {"compress", "check", "layout"}) CHECK(help.out.find(command) != std::string::npos);
    CHECK(Orvauthor(scratch, "check --help").out.find("Exit status: 0 nothing found") != std::string::npos);
    CHECK(Orvauthor(scratch, "unpack x").status == 2);
    CHECK(Orvauthor(scratch, "check").status == 2);
    CHECK(Orvauthor(scratch, "").status == 2);
}

#endif
