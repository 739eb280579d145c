// The run log: what an administrator reads after an unattended run.
#include <doctest/doctest.h>

#include "app/CommandLine.h"
#include "app/LogOpening.h"
#include "services/RunLog.h"
#include "support/Scratch.h"

#include <string>
#include <vector>

namespace {

// The log's lines, each checked for its time stamp and returned without it.
std::vector<std::string> Entries(const std::string& path)
{
    std::vector<std::string> entries;
    const std::string text = ReadTextFile(path);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        REQUIRE(end != std::string::npos);  // every line ends in CR LF
        const std::string line = text.substr(start, end - start);
        REQUIRE(line.size() >= 24);
        CHECK(line[4] == '-');
        CHECK(line[10] == ' ');
        CHECK(line[19] == '.');
        CHECK(line[23] == ' ');
        entries.push_back(line.substr(24));
        start = end + 2;
    }
    return entries;
}

}  // namespace

TEST_CASE("the log: one stamped UTF-8 line per line of text, appended run after run")
{
    ScratchFolder folder("runlog");
    const std::string path = folder / "setup.log";

    RunLog closed;
    closed.Line("nothing is written while the log is not open");
    CHECK_FALSE(closed.IsOpen());

    {
        RunLog log;
        REQUIRE(log.Open(path) == 0);
        log.Line("Copied: C:\\表示\\ソフト.TXT (41 bytes)");
        // A failure report's block: CR LF, CR and LF all end a line, and an
        // empty line keeps its stamp.
        log.Line("<File> C:\\A.DAT\r\nアクセスが拒否されました．\r\n\rlast\nend");
        // A control character shows as what it is; a NUL stays no raw byte.
        log.Line(std::string("Setup folder: C:\\A\0B\tC\\", 23));
    }
    {
        RunLog again;
        REQUIRE(again.Open(path) == 0);
        again.Line("Exit code: 0");
    }
    const std::vector<std::string> expected = {
        "Copied: C:\\\xE8\xA1\xA8\xE7\xA4\xBA\\\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88.TXT (41 bytes)",
        "<File> C:\\A.DAT",
        "\xE3\x82\xA2\xE3\x82\xAF\xE3\x82\xBB\xE3\x82\xB9\xE3\x81\x8C\xE6\x8B\x92\xE5\x90\xA6\xE3\x81\x95\xE3\x82\x8C"
        "\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xEF\xBC\x8E",
        "",
        "last",
        "end",
        "Setup folder: C:\\A<U+0000>B<U+0009>C\\",
        "Exit code: 0",
    };
    CHECK(Entries(path) == expected);

    // A log that cannot be opened says why.
    RunLog nowhere;
    CHECK(nowhere.Open(folder / "missing\\setup.log") != 0);
    CHECK_FALSE(nowhere.IsOpen());
}

TEST_CASE("a log without a name takes the first free number of the day in the folder")
{
    ScratchFolder folder("lognames");
    CHECK(FreshLogPath(folder.Path(), "2026-12-07") == folder / "Orvane Setup Log 2026-12-07 #001.txt");
    WriteTextFile(folder / "Orvane Setup Log 2026-12-07 #001.txt", "");
    WriteTextFile(folder / "Orvane Setup Log 2026-12-07 #003.txt", "");
    CHECK(FreshLogPath(folder.Path(), "2026-12-07") == folder / "Orvane Setup Log 2026-12-07 #002.txt");
    CHECK(FreshLogPath(folder.Path(), "2026-12-08") == folder / "Orvane Setup Log 2026-12-08 #001.txt");
}

TEST_CASE("/LOG= appends only to a log of this program; any other file is left whole and the log goes beside it")
{
    ScratchFolder folder("logbeside");
    const std::string system = folder / "win.ini";
    const std::string settings = "[windows]\r\nload=\r\n";
    WriteTextFile(system, settings);
    auto run = [](const std::string& file) {
        RunState state;
        OpenRunLog(state, ParseCommandLine("SETUP.EXE /S /LOG=\"" + file + "\""), "SETUP.EXE /S");
        state.log.Line("Exit code: 0");
        return state.log.Path();
    };
    const std::string beside = folder / "win #001.ini";
    CHECK(run(system) == beside);
    CHECK(ReadTextFile(system) == settings);
    const std::vector<std::string> lines = Entries(beside);
    REQUIRE(lines.size() >= 2);
    CHECK(lines[0].rfind("Orvane Setup ", 0) == 0);
    CHECK(lines[lines.size() - 2] == "The log is written here: " + system + " is no log of this program and was left as it was");
    // That log is this program's: the next run named it appends to it.
    CHECK(run(beside) == beside);
    CHECK(Entries(beside).size() > lines.size());
    CHECK(run(system) == folder / "win #002.ini");
    // A folder is no log either: the log cannot be opened, as before.
    CHECK(run(folder.Path()).empty());
    // A new file and an empty one take the log as named.
    CHECK(run(folder / "new.log") == folder / "new.log");
    WriteTextFile(folder / "empty.log", "");
    CHECK(run(folder / "empty.log") == folder / "empty.log");
}
