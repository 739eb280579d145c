// The run log: what an administrator reads after an unattended run.
#include <doctest/doctest.h>

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
