// The failure report's entries as the details screen and the log render them.
#include <doctest/doctest.h>

#include "services/FailureReport.h"
#include "services/SystemErrorText.h"

#include <windows.h>

TEST_CASE("a path past the system's limit is shown by its first 80 bytes, never half a character; the log keeps it whole")
{
    // "表" is a lead byte and the trail byte 0x5C: after "C:\" the 80th byte
    // is a lead byte, so the shown start takes its trail byte too.
    std::string path = "C:\\";
    while (path.size() <= 300) path += "表";
    FailureReport report;
    report.AddReason(FailureTag::File, path, FailureReason::SkippedTooLong);
    report.AddSystemError(FailureTag::Folder, "C:\\APP\\", ERROR_ACCESS_DENIED);

    const std::string shown = path.substr(0, 81) + "．．．";
    CHECK(report.Text() == "<File> " + shown + "\r\nパスが長すぎるため，処理をスキップしました．\r\n\r\n" +
                               "<Folder> C:\\APP\\\r\n" + SystemErrorText(ERROR_ACCESS_DENIED) + "\r\n");
    CHECK(report.Count() == 2);
    CHECK(EntryLine(report.Entries()[0]) == "<File> " + path + ": パスが長すぎるため，処理をスキップしました．");
    CHECK(EntryLine(report.Entries()[1]) == WithSystemError("<Folder> C:\\APP\\", ERROR_ACCESS_DENIED));
}
