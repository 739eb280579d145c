// The blocks of the failure report, as the details screen shows them.
#include <doctest/doctest.h>

#include "services/FailureReport.h"
#include "services/LocationTokens.h"

#include <windows.h>

TEST_CASE("failure blocks: tag and path, the reason, an empty line")
{
    FailureReport report;
    CHECK(report.Empty());
    report.AddReason("<File> ", "C:\\SRC\\A.EXE", "コピー元のファイルが見つかりません．");
    report.AddSystemError("<Folder> ", "C:\\APP\\DATA\\", ERROR_PATH_NOT_FOUND);
    CHECK(report.Count() == 2);
    CHECK(report.Text() == "<File> C:\\SRC\\A.EXE\r\nコピー元のファイルが見つかりません．\r\n\r\n"
                           "<Folder> C:\\APP\\DATA\\\r\n" +
                               SystemErrorText(ERROR_PATH_NOT_FOUND) + "\r\n");
    // The system's text is one line ending in CR LF, so the block ends in an
    // empty line like the others.
    CHECK(report.Text().substr(report.Text().size() - 4) == "\r\n\r\n");
}
